#include "app/run.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "app/cpu_time.h"
#include "app/messages.h"
#include "app/statistic.h"
#include "atpg/backtrace.h"
#include "atpg/driver.h"
#include "atpg/path_delay.h"
#include "atpg/targets.h"
#include "atpg/working_sets.h"
#include "faults/collapsing.h"
#include "faults/zento.h"
#include "input/check.h"
#include "input/parser.h"
#include "input/transform.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/protocol.h"
#include "preproc/constraint_analysis.h"
#include "preproc/line_structure.h"
#include "preproc/preprocessing.h"

char schaltungsname_s[circuit_name_size];
int max_number_backtracks_i = 0;
bool only_iddq_test_b = false;
bool only_stuck_at_test_b = false;
bool stuck_at_test_without_branches_b = false;
bool path_delay_test_b = false;
bool transition_test_b = false;
bool stuck_open_test_b = false;
bool iddq_stuck_on_test_b = false;
bool bridging_iddq_b = false;
bool bridging_b = false;
bool use_3_phases_b = true;

namespace {

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

void print_banner() {
  std::cout << "Automatic Test Pattern Generation with QUARN (QUick Atpg with Redundancy ideNtification)\n\n"
            << "\t\tQUARN Version 2.2 May 1994"
            << "\n\t\t  Written by the QUARN developers"
            << "\n\t\t  Please report problems through the QUARN issue tracker"
            << "\n\t\tQUARN includes:" << std::flush;
}

bool keyword(const char* arg, const char* word, size_t length) {
  return strncasecmp(arg, word, length) == 0;
}

void select_fault_model(const char* arg) {
  if (keyword(arg, "IDDQ", 4)) {
    only_iddq_test_b = true;
  } else if (keyword(arg, "STUCK_AT", 8)) {
    only_stuck_at_test_b = true;
    if (keyword(arg, "STUCK_AT_WITHOUT_BRANCHES", 25)) stuck_at_test_without_branches_b = true;
  } else if (keyword(arg, "PATH_DELAY", 10)) {
    path_delay_test_b = true;
  } else if (keyword(arg, "TRANSITION", 10)) {
    transition_test_b = true;
  } else if (keyword(arg, "STUCK_OPEN", 10)) {
    stuck_open_test_b = true;
  } else if (keyword(arg, "STUCK_ON", 8)) {
    iddq_stuck_on_test_b = true;
  } else if (keyword(arg, "BRIDGING_IDDQ", 13)) {
    bridging_iddq_b = true;
  } else if (keyword(arg, "BRIDGING", 10)) {  // over 10 characters: only the exact word
    bridging_b = true;
  } else {
    transition_test_b = true;
    warning(string_C("Fault Model set to Multiple-input-Transition"));
  }
}

// Returns whether the run only simulates an existing pattern file.
bool examine_arguments(int argc, char* argv[]) {
  if (argc <= 1) quarn_syntax();
  if (std::strlen(argv[1]) >= circuit_name_size) {
    std::cout << "\nERROR!!!\nThe circuit file name has " << std::strlen(argv[1]) << " characters; at most "
              << circuit_name_size - 1 << " are allowed\n"
              << std::flush;
    std::exit(usage_exit_status);
  }
  std::strcpy(schaltungsname_s, argv[1]);
  if (argc <= 2) quarn_syntax();
  max_number_backtracks_i = std::atoi(argv[2]);
  if (argc <= 3) quarn_syntax();
  select_fault_model(argv[3]);
  if (argc <= 4) return false;
  const char* mode = argv[4];
  if (keyword(mode, "2PHASES", 7)) {
    use_3_phases_b = false;
  } else if (keyword(mode, "3PHASES", 7)) {
    use_3_phases_b = true;
  } else if (keyword(mode, "FAU", 3) || keyword(mode, "ONL", 3)) {
    return true;
  } else {
    quarn_syntax();
  }
  return false;
}

// The title of the run, by the first fault-model flag that is set.
const char* circuit_title() {
  if (only_iddq_test_b) return "Circuit for IDDQ-measurement\n";
  if (only_stuck_at_test_b && stuck_at_test_without_branches_b) {
    return "Circuit for Stuck-at Faults without testing Fanout Branches\n";
  }
  if (only_stuck_at_test_b) return "Circuit for Stuck-at Faults\n";
  if (path_delay_test_b) return "Circuit for Path Delay faults\n";
  if (transition_test_b) return "Circuit for Transition faults without robustness checks\n";
  if (stuck_open_test_b) return "Circuit for Stuck-open faults\n";
  if (iddq_stuck_on_test_b) return "Circuit for Stuck-on faults with IDDQ\n";
  if (bridging_iddq_b) return "Circuit for Bridging faults with IDDQ\n";
  return "Circuit for Bridging faults with Voltage based detection\n";
}

}  // namespace

void quarn_syntax() {
  print_usage();
  std::exit(usage_exit_status);
}

int mmain(int argc, char* argv[]) {
  statistic_u = statistic_t{};
  lines_C.init(max_lines);
  input_lines_C.init(max_lines);
  output_lines_C.init(max_lines);
  gates_C.init(max_gates);
  print_banner();
  init_zento();
  bool simulate = examine_arguments(argc, argv);
  read_circuit();
  transform_circuit();
  set_time();
  listen_init();
  std::cout << "Check_Circuit\n" << std::flush;
  proof();
  std::cout << "Preprocessing\n" << std::flush;
  praeprocessing(simulate ? 1 : 0);
  cpu_prae_l = add_time(cpu_prae_l);
  std::cout << (simulate ? "Simulate " : "Test ") << circuit_title() << std::flush;
  if (simulate || !(only_stuck_at_test_b || only_iddq_test_b)) {
    // Said plainly rather than reporting figures nothing has produced.
    std::cout << "\nThis version generates tests for STUCK_AT, STUCK_AT_WITHOUT_BRANCHES and IDDQ only; "
              << (simulate ? "pattern file simulation" : "this fault model") << " is not available yet\n"
              << std::flush;
    std::exit(1);
  }
  test_circuit();
  return 0;
}

void listen_init() {
  const int lines = number_of_lines();
  lines_C.resize();
  input_lines_C.resize();
  output_lines_C.resize();
  gates_C.resize();
  protocol_C.init();
  init_objective_lists(lines);
  init_working_sets(lines, statistic_u.no_gates_i);
  if (!bridging_iddq_b && !bridging_b) {
    zielfehler_C.init(lines * ((stuck_open_test_b || transition_test_b) ? 4 : 2));
    hilf_C.init(lines * 2);
  }
  tmp_gate_liste_C.init(statistic_u.no_gates_i);
  selected_path_C.init(statistic_u.no_gates_i);
  free_lines_C.init(lines);
  red_abo_liste_C.init(lines);
  pseudo_inputs_C.init(statistic_u.no_flipflop_i + statistic_u.no_signals_i);
  pseudo_outputs_C.init(statistic_u.no_flipflop_i + statistic_u.no_signals_i);
  if (statistic_u.no_blocks_i >= 1) {
    blocks_C.init(statistic_u.no_blocks_i);
    tested_blocks_C.init(statistic_u.no_blocks_i);
    for (int i = 0; i < gates_C.anzahl_i; i++) {
      if (gates_C[i]->gate_type_c == BLOCK_GATE) blocks_C.fuege_ein(gates_C[i]);
    }
  }
}
