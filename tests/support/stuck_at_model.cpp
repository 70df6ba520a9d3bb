#include "support/stuck_at_model.h"

#include "app/run.h"
#include "faults/collapsing.h"
#include "preproc/preprocessing.h"

void select_pure_stuck_at_model() {
  only_stuck_at_test_b = true;
  only_iddq_test_b = stuck_at_test_without_branches_b = path_delay_test_b = transition_test_b =
      stuck_open_test_b = iddq_stuck_on_test_b = bridging_iddq_b = bridging_b = false;
  flt_read_b = 0;
  aequivalenzen_zahl_i = aborted_klassen_zahl_i = redundanz_klassen_zahl_i = 0;
}
