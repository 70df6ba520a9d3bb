#include "atpg/driver.h"

#include <iostream>
#include <string>

#include "app/cpu_time.h"
#include "app/report.h"
#include "app/run.h"
#include "atpg/dynamic_learning.h"
#include "atpg/fan.h"
#include "atpg/pattern.h"
#include "atpg/targets.h"
#include "atpg/working_sets.h"
#include "faults/fault_simulation.h"
#include "faults/zento.h"
#include "measures/level.h"
#include "measures/probabilistic.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/protocol.h"
#include "preproc/cones.h"

char phase2_b = 0;
char phase3_b = 0;
char testing_phase_b = 0;
char hazard_test_ein_b = 0;
char hazard_occured_b = 0;
char init_pattern_b = 0;
char test_generated_b = 0;

int number_backtracks_i = 0;
int backtrack_counter_i = 0;

void reset_net(fan_result_t r) {
  implication_line_C.anzahl_i = 0;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    l->reset_value(r);
    l->in_eingangskegel_b = 0;
    l->in_ausgangskegel_b = 0;
  }
  // What dynamic learning found holds only for the search that found it.
  forget_dynamic_implications();
  for (int i = 0; i < gates_C.anzahl_i; i++) gates_C[i]->hazard_state_c = 0;
  number_backtracks_i = 0;
  d_front_C.anzahl_i = 0;
  protocol_C.leeren();
}

fan_result_t generate_test(line_C* target, char test_value) {
  if (!only_iddq_test_b && !iddq_stuck_on_test_b) output_kegel(target);
  return fan_alg(target, test_value);
}

int no_red_classes_i = 0;
int no_aborted_path_i = 0;
int no_redundant_path_i = 0;
int elements_to_test_i = 0;
int zento_reject_level_i = 0;

namespace {

// The count of remaining targets, rewritten in place: the backspaces bring
// the cursor back to the blank in front of the number.
void progress(int remaining, bool first) {
  std::cout << (first ? "Remaining Faults: " : " ") << remaining << "          ";
  int back = 12;
  for (int threshold : {9, 99, 999, 9999, 99999}) {
    if (remaining > threshold) back++;
  }
  std::cout << std::string(back, '\b') << std::flush;
}

void reset_line_marks() {
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    l->reset_aborted_faults();
    l->reset_testaby();
    l->reset_non_robust();
  }
}

void reset_aborted_marks() {
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->reset_aborted_faults();
}

// One walk over the single-line targets.
void single_line_targets(int sub_pass) {
  drop_hilf_from_targets();
  progress(zielfehler_C.anzahl_i, true);
  while (line_value_t* next = gen_fault()) {
    line_C* target = next->line_p;
    const char test_value = next->value_c;
    if (!only_iddq_test_b && !iddq_stuck_on_test_b) output_kegel(target);
    add_time(cpu_sons_l);
    const fan_result_t r = fan_alg(target, test_value);
    add_time(cpu_tpg_l);
    backtrack_counter_i += number_backtracks_i;
    if (r == TEST_FOUND) {
      test_generated_b = 1;
      if (only_iddq_test_b || iddq_stuck_on_test_b) {
        iddq_fault_simulation();
      } else {
        fault_simulation(target, test_value);
      }
      add_time(cpu_fs_l);
      if (!hilf_C.is_empty()) init_pattern_b = 0;
      print_testpattern(target, sub_pass);
    } else {
      if (r == REDUNDANT) no_red_classes_i++;
      test_generated_b = 0;
      target->mark_result(r, test_value);
      unjustified_bound_line_C.anzahl_i = 0;
    }
    reset_net(r);
    drop_hilf_from_targets();
    progress(zielfehler_C.anzahl_i, false);
  }
}

}  // namespace

void test_circuit() {
  const int remembered_limit = max_number_backtracks_i;
  simu_F.open(std::string(string_C(schaltungsname_s).basename()) + ".tests", std::ios::trunc);
  if (!path_delay_test_b) max_number_backtracks_i = 0;
  std::cout << "\tCompute Controllability\n" << std::flush;
  prob_compute_contby();
  std::cout << "\tCompute Observability\n" << std::flush;
  prob_compute_observaby();
  std::cout << "Compute Testpattern\n" << std::flush;
  reset_net(TEST_FOUND);
  testing_phase_b = 1;
  for (int pass = 0; pass <= 5; pass++) {
    for (int k = 0; k < 2; k++) {
      zento_reject_level_i++;
      int second = zento_reject_level_i == 2;
      set_test_reject_level(&zento_reject_level_i, &second);
      hazard_test_ein_b = !(pass == 1 || pass == 3 || pass == 5 || only_iddq_test_b || only_stuck_at_test_b ||
                            iddq_stuck_on_test_b || bridging_iddq_b || bridging_b || transition_test_b);
      if (k == 0 && pass > 0) {
        reset_line_marks();
        prob_compute_contby();
        prob_compute_observaby();
      } else if (k == 1) {
        std::cout << "\nLEVEL Patterns\n" << std::flush;
        reset_line_marks();
        level_compute_contby();
        level_compute_observaby();
      }
      if (phase3_b) k++;
      single_line_targets(k);
    }
    std::cout << "\n" << std::flush;
    if (zielfehler_C.is_empty()) break;
    no_aborted_path_i = 0;
    bool phase_change = true;
    if (hazard_test_ein_b) {
      // A robust pass is followed by a non-robust one.
      for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->reset_non_robust();
      if (phase2_b) {
        print_result();
        std::cout << "Non Robust Testpattern\n" << std::flush;
        phase_change = false;
      } else {
        pass++;
      }
    }
    if (phase_change) {
      if (!phase2_b) {
        phase2_b = 1;
        max_number_backtracks_i = remembered_limit;
        print_result();
        std::cout << "2. Phase of Test Generation\n" << std::flush;
        reset_aborted_marks();
      } else if (phase3_b || !use_3_phases_b) {
        break;
      } else {
        pass++;
        phase3_b = 1;
        print_result();
        std::cout << "3. Phase of Test Generation and Redundancy Identification\n" << std::flush;
        reset_aborted_marks();
      }
    }
  }
  simu_F.close();
  add_time(cpu_sons_l);
  print_result();
}
