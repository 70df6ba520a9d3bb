#include "app/run.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

#include "app/driver.h"
#include "app/pattern_simulation.h"
#include "faults/zento.h"
#include "input/check.h"
#include "input/parser.h"
#include "input/transform.h"
#include "model/gate.h"
#include "model/line.h"

void print_usage() {
  std::cout
      << "\n\nCalling Syntax of QUARN:\n"
      << "Please use quarn <circuit_name> <number_of_backtracks> <fault_model> <2phases or fault_simu>\n"
      << "Only the last parameter is optional, the first three parameters are required\n\n"
      << "A circuit name must end with:\n\t.cir: when it is described on gate-level\n\t"
      << ".net: if it is a spice netlist\n\nFor the number of backtracks you can use any"
      << " integer value\n10 is recommended\n\nThe following fault models are supported:\n\t"
      << "IDDQ: Stuck-at fault model, overcurrent measurement\n\tSTUCK_AT: Simple stuck-at fault model"
      << "\n\tSTUCK_AT_WITHOUT_BRANCHES: Stuck-at without generating tests for fanout branches"
      << "\n\tSTUCK_ON: Stuck_on fault model with overcurrent detection\n\t"
      << "TRANSITION: Switching and observing a simple transition at every signal of the circuit\n\t"
      << "STUCK_OPEN: The Stuck-open fault model switching single input transistions at primitive gates\n\t"
      << "BRIDGING_IDDQ: Bridging faults with overcurrent detection\n\t"
      << "BRIDGING: Bridging fault detection with propagation\n\t"
      << "PATH_DELAY: Path delay fault model switching single paths\n"
      << "\nIf the last parameter is '2phases' the third phase of test generation will not be executed\n"
      << "If the last parameter is 'fault_simu', only fault simulation is performed with the pattern file\n"
      << "\t\t\t<circuit_name>.pat\n"
      << "\nFor further information look into README and the manual\n\n\n"
      << "HAPPY TEST GENERATION USING QUARN\n\n"
      << std::flush;
}

namespace {

void print_banner() {
  std::cout << "Automatic Test Pattern Generation with QUARN (QUick Atpg with Redundancy ideNtification)\n\n"
            << "\t\tQUARN Version 2.2 May 1994"
            << "\n\t\t  Written by the QUARN developers"
            << "\n\t\t  Please report problems to the QUARN developers"
            << "\n\t\tQUARN includes:" << std::flush;
}

// A call without the required arguments is a failed invocation.
[[noreturn]] void quarn_syntax() {
  print_usage();
  throw run_ended_t{usage_exit_status};
}

bool keyword(const char* arg, const char* word, size_t length) {
  return strncasecmp(arg, word, length) == 0;
}

void select_fault_model(run_C& run, const char* arg) {
  fault_model_t model;
  if (keyword(arg, "IDDQ", 4)) {
    model = fault_model_t::iddq;
  } else if (keyword(arg, "STUCK_AT", 8)) {
    model = keyword(arg, "STUCK_AT_WITHOUT_BRANCHES", 25) ? fault_model_t::stuck_at_without_branches
                                                          : fault_model_t::stuck_at;
  } else if (keyword(arg, "PATH_DELAY", 10)) {
    model = fault_model_t::path_delay;
  } else if (keyword(arg, "TRANSITION", 10)) {
    model = fault_model_t::transition;
  } else if (keyword(arg, "STUCK_OPEN", 10)) {
    model = fault_model_t::stuck_open;
  } else if (keyword(arg, "STUCK_ON", 8)) {
    model = fault_model_t::stuck_on;
  } else if (keyword(arg, "BRIDGING_IDDQ", 13)) {
    model = fault_model_t::bridging_iddq;
  } else if (keyword(arg, "BRIDGING", 10)) {  // over 10 characters: only the exact word
    model = fault_model_t::bridging;
  } else {
    run.settings.select_fault_model(fault_model_t::transition);
    run.messages.warning(string_C("Fault Model set to Multiple-input-Transition"));
    return;
  }
  run.settings.select_fault_model(model);
}

// Fills the settings from the arguments.
void examine_arguments(run_C& run, int argc, char* argv[]) {
  settings_C& settings = run.settings;
  if (argc <= 1) quarn_syntax();
  if (std::strlen(argv[1]) >= circuit_name_size) {
    std::cout << "\nERROR!!!\nThe circuit file name has " << std::strlen(argv[1]) << " characters; at most "
              << circuit_name_size - 1 << " are allowed\n"
              << std::flush;
    throw run_ended_t{usage_exit_status};
  }
  settings.schaltungsname_s = argv[1];
  if (argc <= 2) quarn_syntax();
  settings.max_number_backtracks_i = std::atoi(argv[2]);
  if (argc <= 3) quarn_syntax();
  select_fault_model(run, argv[3]);
  if (argc <= 4) return;
  const char* mode = argv[4];
  if (keyword(mode, "2PHASES", 7)) {
    settings.use_3_phases_b = false;
  } else if (keyword(mode, "3PHASES", 7)) {
    settings.use_3_phases_b = true;
  } else if (keyword(mode, "SAT", 3)) {
    settings.use_sat_b = true;
  } else if (keyword(mode, "FAU", 3) || keyword(mode, "ONL", 3)) {
    settings.fault_simulation_only_b = true;
  } else {
    quarn_syntax();
  }
}

// The title of the run, by the first fault-model flag that is set.
const char* circuit_title(const settings_C& s) {
  if (s.only_iddq_test_b) return "Circuit for IDDQ-measurement\n";
  if (s.only_stuck_at_test_b && s.stuck_at_test_without_branches_b) {
    return "Circuit for Stuck-at Faults without testing Fanout Branches\n";
  }
  if (s.only_stuck_at_test_b) return "Circuit for Stuck-at Faults\n";
  if (s.path_delay_test_b) return "Circuit for Path Delay faults\n";
  if (s.transition_test_b) return "Circuit for Transition faults without robustness checks\n";
  if (s.stuck_open_test_b) return "Circuit for Stuck-open faults\n";
  if (s.iddq_stuck_on_test_b) return "Circuit for Stuck-on faults with IDDQ\n";
  if (s.bridging_iddq_b) return "Circuit for Bridging faults with IDDQ\n";
  return "Circuit for Bridging faults with Voltage based detection\n";
}

// The run up to its last phase; fatal errors and early ends leave it as
// exceptions.
int run_sequence(run_C& run, int argc, char* argv[]) {
  const settings_C& settings = run.settings;
  print_banner();
  init_zento();
  examine_arguments(run, argc, argv);
  const bool simulate = settings.fault_simulation_only_b;
  read_circuit(run.circuit, run.settings);
  transform_circuit(run.circuit);
  run.cpu.set_time();
  run.listen_init();
  std::cout << "Check_Circuit\n" << std::flush;
  proof(run.circuit);
  std::cout << "Preprocessing\n" << std::flush;
  run.preprocessing.praeprocessing(simulate ? 1 : 0);
  run.cpu.cpu_prae_l = run.cpu.add_time(run.cpu.cpu_prae_l);
  std::cout << (simulate ? "Simulate " : "Test ") << circuit_title(settings) << std::flush;
  if (simulate && settings.path_delay_test_b) {
    // The simulation knows stuck-at, transition and bridging faults; its
    // report of paths would divide nothing by nothing.
    std::cout
        << "\nPattern-file simulation does not cover path delay faults; there are no figures to report\n"
        << std::flush;
    return 1;
  }
  if (simulate) {
    simulate_circuit(run);
  } else {
    test_circuit(run);
  }
  return 0;
}

}  // namespace

// What a fatal error leaves behind: its message on standard output and in
// the statistics file, and the debug dump of every record.
void report_fatal_error(const run_C& run, const string_C& message) {
  const std::string& name = run.settings.schaltungsname_s;
  {
    std::ofstream file(name + ".stat", std::ios::app);
    std::cout << "\nERROR!!!\n" << message << "\n";
    file << "ERROR!!!\t\t" << message << "\n";
  }
  std::cout << "Print the hole Datastructure in .debug File\n" << std::flush;
  std::ofstream dump(name + ".debug", std::ios::trunc);
  run.circuit.print_all(dump);
  std::cout << std::flush;
}

int mmain(int argc, char* argv[]) {
  run_C run;
  try {
    return run_sequence(run, argc, argv);
  } catch (const fatal_error_C& e) {
    report_fatal_error(run, e.message());
    return 1;
  } catch (const run_ended_t& end) {
    return end.exit_status;
  }
}

void run_C::listen_init() {
  const statistic_t& statistic_u = circuit.statistic_u;
  const int lines = circuit.number_of_lines();
  circuit.lines_C.resize();
  circuit.input_lines_C.resize();
  circuit.output_lines_C.resize();
  circuit.gates_C.resize();
  imp.init_working_sets(lines, statistic_u.no_gates_i);
  fan.init(lines);
  paths.init(circuit.gates_C.anzahl_i);  // a path may pass every gate, fanout gates included
  if (!settings.bridging_iddq_b && !settings.bridging_b) {
    target_list.init(lines);
  } else {
    target_list.init_bridging();
  }
  circuit.free_lines_C.init(lines);
  collapsing.red_abo_liste_C.init(lines);
  circuit.pseudo_inputs_C.init(statistic_u.no_flipflop_i + statistic_u.no_signals_i);
  circuit.pseudo_outputs_C.init(statistic_u.no_flipflop_i + statistic_u.no_signals_i);
  // A line's learned implications may name every line once.
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    line_C* l = circuit.lines_C[i];
    for (line_value_liste_C* list :
         {&l->learned_C[0], &l->learned_C[1], &l->dyn_learned_C[0], &l->dyn_learned_C[1]}) {
      list->max_records_i = lines;
    }
  }
  if (statistic_u.no_blocks_i >= 1) {
    circuit.blocks_C.init(statistic_u.no_blocks_i);
    circuit.tested_blocks_C.init(statistic_u.no_blocks_i);
    for (int i = 0; i < circuit.gates_C.anzahl_i; i++) {
      if (circuit.gates_C[i]->gate_type_c == BLOCK_GATE) circuit.blocks_C.fuege_ein(circuit.gates_C[i]);
    }
  }
}
