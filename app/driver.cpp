#include "app/driver.h"

#include <cstdint>
#include <iostream>
#include <string>

#include "app/report.h"
#include "app/run.h"
#include "faults/bridging.h"
#include "faults/zento.h"
#include "measures/level.h"
#include "measures/probabilistic.h"
#include "model/gate.h"
#include "model/line.h"
#include "preproc/cones.h"

fan_result_t generate_test(run_C& run, line_C* target, char test_value) {
  if (!run.settings.current_detection()) output_kegel(target);
  return run.fan.fan_alg(target, test_value);
}

namespace {

// The count of remaining targets, rewritten in place: the backspaces bring
// the cursor back to the blank in front of the number.
// Bridging targets are counted up to eight digits, the others up to six.
void progress(std::int64_t remaining, bool first, bool bridging = false) {
  std::cout << (first ? "Remaining Faults: " : " ") << remaining << "          ";
  int back = 12;
  std::int64_t threshold = 9;
  for (int digits = 1; digits <= (bridging ? 7 : 5); digits++, threshold = threshold * 10 + 9) {
    if (remaining > threshold) back++;
  }
  std::cout << std::string(back, '\b') << std::flush;
}

void reset_line_marks(circuit_C& circuit) {
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    line_C* l = circuit.lines_C[i];
    l->reset_aborted_faults();
    l->reset_testaby();
    l->reset_non_robust();
  }
}

void reset_aborted_marks(circuit_C& circuit) {
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) circuit.lines_C[i]->reset_aborted_faults();
}

// The search of a robust two-pattern test checks for hazards whenever an
// input of the target's successor gate, or a line in front of one, changes.
void mark_hazard_cone(const line_C* target) {
  const gate_C* g = target->successor();
  for (int i = 0; i < g->inputs_C.anzahl_i; i++) input_kegel(g->inputs_C[i]);
}

// One walk over the single-line targets, each decided by the search or, in
// the SAT phase, by the solver.
void single_line_targets(run_C& run, int sub_pass, bool sat = false) {
  implication_C& imp = run.imp;
  cpu_time_C& cpu = run.cpu;
  target_list_C& target_list = run.target_list;
  target_list.drop_hilf_from_targets();
  progress(target_list.zielfehler_C.anzahl_i, true);
  while (line_value_t* next = run.targets.gen_fault()) {
    line_C* target = next->line_p;
    const char test_value = next->value_c;
    const bool transition = test_value == RISING || test_value == FALLING;
    if (!run.settings.current_detection() && !imp.init_pattern_b) output_kegel(target);
    if (imp.hazard_test_ein_b && transition && !imp.init_pattern_b && !target->primary_output_b) {
      mark_hazard_cone(target);
    }
    cpu.add_time(cpu.cpu_sons_l);
    const fan_result_t r = sat ? run.sat.sat_alg(target, test_value) : run.fan.fan_alg(target, test_value);
    cpu.add_time(cpu.cpu_tpg_l);
    run.backtrack_counter_i += imp.number_backtracks_i;
    if (r == TEST_FOUND) {
      imp.test_generated_b = 1;
      if (run.settings.current_detection()) {
        run.simulation.iddq_fault_simulation();
      } else {
        run.simulation.fault_simulation(target, test_value);
      }
      cpu.add_time(cpu.cpu_fs_l);
      if (transition && !imp.init_pattern_b &&
          !(test_value == RISING ? target->rising_done_b : target->falling_done_b)) {
        // A test the simulation does not credit (in a robust pass: one that is
        // not robust) is given up for this pass instead of being generated
        // again and again.
        if (imp.hazard_test_ein_b) target->hazard_b = 1;
        run.collapsing.mark_result(target, ABORTED, test_value);
      }
      if (!target_list.hilf_C.is_empty()) imp.init_pattern_b = 0;
      run.patterns.print_testpattern(target, sub_pass);
    } else {
      if (r == REDUNDANT) run.no_red_classes_i++;
      imp.test_generated_b = 0;
      run.collapsing.mark_result(target, r, test_value);
      imp.unjustified_bound_line_C.anzahl_i = 0;
    }
    imp.reset_net(r);
    target_list.drop_hilf_from_targets();
    progress(target_list.zielfehler_C.anzahl_i, false);
  }
}

// Aborted bridging targets are tried again with the next measures or
// backtrack limit.
void reset_aborted_pairs(target_list_C& target_list) {
  for (line_line_t& pair : target_list.zielfehler2_C.elemente_p) {
    if (pair.pair_state_c == PAIR_ABORTED) pair.pair_state_c = PAIR_UNTESTED;
  }
}

// One activation of a bridge: the pair holds the values the driver gave it,
// and the search justifies them and, with voltage detection, propagates the
// effect of the carrier. The search enters the carrier itself.
fan_result_t search_bridge(run_C& run, line_line_t* pair, line_C* carrier) {
  implication_C& imp = run.imp;
  cpu_time_C& cpu = run.cpu;
  line_C* other = carrier == pair->line_a_p ? pair->line_b_p : pair->line_a_p;
  if (other->line_type_c == BOUND_LINE) imp.unjustified_bound_line_C.fuege_ein(other);
  imp.implication_line_C.fuege_ein(other);
  if (run.settings.bridging_b) {
    output_kegel(carrier);
    carrier->bad_value_c = mynot(carrier->good_value_c);
  }
  cpu.add_time(cpu.cpu_sons_l);
  const fan_result_t r = run.fan.fan_alg(carrier, X);
  cpu.add_time(cpu.cpu_tpg_l);
  run.backtrack_counter_i += imp.number_backtracks_i;
  return r;
}

// The pair at its first activation and, where one exists, at the opposite
// polarity; the result of the last search made.
fan_result_t activate_and_search(run_C& run, line_line_t* pair, bool& aborted) {
  line_C* a = pair->line_a_p;
  line_C* b = pair->line_b_p;
  bridge_activation_t tries[2];
  if (run.settings.bridging_iddq_b) {
    tries[0] = {a, ZERO, ONE};
    tries[1] = {a, ONE, ZERO};
  } else {
    tries[0] = first_activation(a, b);
    tries[1] = second_activation(a, b);
  }
  fan_result_t r = REDUNDANT;
  aborted = false;
  for (int t = 0; t < 2 && tries[t].carrier != nullptr; t++) {
    if (t > 0) {
      run.imp.reset_net(r);
      run.imp.unjustified_bound_line_C.anzahl_i = 0;
    }
    a->good_value_c = tries[t].value_a;
    b->good_value_c = tries[t].value_b;
    r = search_bridge(run, pair, tries[t].carrier);
    if (r == TEST_FOUND) return r;
    aborted |= r == ABORTED;
  }
  return r;
}

// One walk over the bridging targets.
void bridging_targets(run_C& run, int sub_pass) {
  implication_C& imp = run.imp;
  cpu_time_C& cpu = run.cpu;
  target_list_C& target_list = run.target_list;
  progress(target_list.elements_to_test_i, true, true);
  run.targets.act_bridging_list_index_i = 0;
  while (line_line_t* pair = run.targets.gen_br_fault()) {
    bool aborted = false;
    const fan_result_t r = activate_and_search(run, pair, aborted);
    if (r == TEST_FOUND) {
      imp.test_generated_b = 1;
      if (run.settings.bridging_iddq_b) {
        run.simulation.iddq_fault_simulation();
      } else {
        run.simulation.fault_simulation(imp.ziel_line_p, 8);
      }
      cpu.add_time(cpu.cpu_fs_l);
      // The search has shown the effect at an output; the simulation, which
      // takes an open input as unknown in the faulty circuit, may not see
      // it where another input of a gate controls it.
      if (pair->pair_state_c == PAIR_UNTESTED) run.simulation.detect_pair(pair);
      run.patterns.print_testpattern(imp.ziel_line_p, sub_pass);
    } else {
      imp.test_generated_b = 0;
      // Redundant only when every activation the pair has was proven
      // impossible, and one with none at all is electrically untestable.
      if (aborted) {
        pair->pair_state_c = PAIR_ABORTED;
        run.no_aborted_path_i++;
      } else {
        pair->pair_state_c = PAIR_REDUNDANT;
        run.no_red_classes_i++;
        target_list.elements_to_test_i--;
      }
      imp.unjustified_bound_line_C.anzahl_i = 0;
    }
    imp.reset_net(r);
    progress(target_list.elements_to_test_i, false, true);
  }
}

// Every path of the circuit in turn. Each test is preceded by an
// initialisation pattern that holds the start of the path at 0, so that the
// pair launches a rising transition along the path.
void path_delay_tests(run_C& run) {
  implication_C& imp = run.imp;
  cpu_time_C& cpu = run.cpu;
  while (line_C* start = run.paths.next_path()) {
    imp.init_pattern_b = 1;
    start->good_value_c = ZERO;
    cpu.add_time(cpu.cpu_sons_l);
    fan_result_t r = run.fan.fan_alg(start, RISING);
    cpu.add_time(cpu.cpu_tpg_l);
    run.backtrack_counter_i += imp.number_backtracks_i;
    if (r == TEST_FOUND) run.patterns.print_testpattern(start, 0);
    imp.reset_net(r);
    imp.unjustified_bound_line_C.anzahl_i = 0;
    imp.init_pattern_b = 0;
    if (r == TEST_FOUND) {
      run.paths.assign_path();
      output_kegel(start);
      cpu.add_time(cpu.cpu_sons_l);
      r = run.fan.fan_alg(start, start->bad_value_c);
      cpu.add_time(cpu.cpu_tpg_l);
      run.backtrack_counter_i += imp.number_backtracks_i;
    }
    if (r == TEST_FOUND) {
      run.patterns.no_testpattern_i++;
      imp.test_generated_b = 1;
      run.patterns.print_testpattern(start, 0);
    } else {
      (r == ABORTED ? run.no_aborted_path_i : run.no_redundant_path_i)++;
      imp.test_generated_b = 0;
      imp.unjustified_bound_line_C.anzahl_i = 0;
    }
    imp.reset_net(r);
  }
}

// The models whose test is a single pattern for a stuck-at target: those
// the SAT phase decides.
bool sat_serves(const settings_C& settings) {
  return settings.only_stuck_at_test_b || settings.only_iddq_test_b;
}

// Instead of the third phase: every target still aborted goes to the
// solver once.
void sat_phase(run_C& run) {
  print_result(run);
  std::cout << "3. Phase of Test Generation with SAT\n" << std::flush;
  const long start = user_time_ms();
  reset_aborted_marks(run.circuit);
  single_line_targets(run, 0, true);
  std::cout << "\n" << std::flush;
  run.cpu.cpu_sat_l = user_time_ms() - start;
}

}  // namespace

void test_circuit(run_C& run) {
  settings_C& settings = run.settings;
  implication_C& imp = run.imp;
  circuit_C& circuit = run.circuit;
  const int remembered_limit = settings.max_number_backtracks_i;
  run.simulation.simu_F.open(string_C(settings.schaltungsname_s).basename() + ".tests", std::ios::trunc);
  if (!settings.path_delay_test_b) settings.max_number_backtracks_i = 0;
  std::cout << "\tCompute Controllability\n" << std::flush;
  prob_compute_contby(circuit);
  std::cout << "\tCompute Observability\n" << std::flush;
  prob_compute_observaby(circuit);
  std::cout << "Compute Testpattern\n" << std::flush;
  imp.reset_net(TEST_FOUND);
  const bool bridging = settings.bridging_b || settings.bridging_iddq_b;
  run.target_list.elements_to_test_i = run.target_list.zielfehler2_C.anzahl();
  imp.testing_phase_b = 1;
  bool first_sub_pass = true;
  for (int pass = 0; pass <= 5; pass++) {
    if (settings.path_delay_test_b) {
      imp.hazard_test_ein_b = 0;
      path_delay_tests(run);
    }
    for (int k = 0; k < 2 && !settings.path_delay_test_b; k++) {
      run.zento_reject_level_i++;
      int second = run.zento_reject_level_i == 2;
      set_test_reject_level(&run.zento_reject_level_i, &second);
      imp.hazard_test_ein_b =
          !(pass == 1 || pass == 3 || pass == 5 || settings.only_iddq_test_b ||
            settings.only_stuck_at_test_b || settings.iddq_stuck_on_test_b || settings.bridging_iddq_b ||
            settings.bridging_b || settings.transition_test_b);
      if (k == 0 && pass > 0) {
        reset_line_marks(circuit);
        prob_compute_contby(circuit);
        prob_compute_observaby(circuit);
      } else if (k == 1) {
        std::cout << "\nLEVEL Patterns\n" << std::flush;
        reset_line_marks(circuit);
        level_compute_contby(circuit);
        level_compute_observaby(circuit);
      }
      if (imp.phase3_b) k++;
      if (!bridging) {
        single_line_targets(run, k);
      } else {
        if (!first_sub_pass) reset_aborted_pairs(run.target_list);
        bridging_targets(run, k);
      }
      first_sub_pass = false;
    }
    std::cout << "\n" << std::flush;
    if (bridging ? run.target_list.elements_to_test_i == 0 : run.target_list.zielfehler_C.is_empty()) break;
    run.no_aborted_path_i = 0;
    bool phase_change = true;
    if (imp.hazard_test_ein_b) {
      // A robust pass is followed by a non-robust one.
      for (int i = 0; i < circuit.lines_C.anzahl_i; i++) circuit.lines_C[i]->reset_non_robust();
      if (imp.phase2_b) {
        print_result(run);
        std::cout << "Non Robust Testpattern\n" << std::flush;
        phase_change = false;
      } else {
        pass++;
      }
    }
    if (phase_change) {
      if (!imp.phase2_b) {
        imp.phase2_b = 1;
        settings.max_number_backtracks_i = remembered_limit;
        print_result(run);
        std::cout << "2. Phase of Test Generation\n" << std::flush;
        reset_aborted_marks(circuit);
        reset_aborted_pairs(run.target_list);
      } else if (imp.phase3_b || !settings.use_3_phases_b) {
        break;
      } else if (settings.use_sat_b && sat_serves(settings)) {
        sat_phase(run);
        break;
      } else {
        if (settings.use_sat_b) {
          run.messages.warning(string_C(
              "The SAT phase serves STUCK_AT, STUCK_AT_WITHOUT_BRANCHES and IDDQ: third phase as written"));
        }
        pass++;
        imp.phase3_b = 1;
        print_result(run);
        std::cout << "3. Phase of Test Generation and Redundancy Identification\n" << std::flush;
        reset_aborted_marks(circuit);
        reset_aborted_pairs(run.target_list);
      }
    }
  }
  run.simulation.simu_F.close();
  run.cpu.add_time(run.cpu.cpu_sons_l);
  print_result(run);
}
