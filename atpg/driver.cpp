#include "atpg/driver.h"

#include "app/run.h"
#include "atpg/fan.h"
#include "atpg/working_sets.h"
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
    // What dynamic learning found holds only for the search that found it.
    l->reset_dyn_learning();
  }
  for (int i = 0; i < gates_C.anzahl_i; i++) gates_C[i]->hazard_state_c = 0;
  number_backtracks_i = 0;
  d_front_C.anzahl_i = 0;
  protocol_C.leeren();
}

fan_result_t generate_test(line_C* target, char test_value) {
  if (!only_iddq_test_b && !iddq_stuck_on_test_b) output_kegel(target);
  return fan_alg(target, test_value);
}
