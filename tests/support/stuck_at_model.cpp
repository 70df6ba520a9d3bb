#include "support/stuck_at_model.h"

#include "app/run.h"
#include "faults/collapsing.h"
#include "preproc/preprocessing.h"

void select_pure_stuck_at_model() {
  only_iddq_test_b = false;
  only_stuck_at_test_b = true;
  stuck_at_test_without_branches_b = false;
  path_delay_test_b = false;
  transition_test_b = false;
  stuck_open_test_b = false;
  iddq_stuck_on_test_b = false;
  bridging_iddq_b = false;
  bridging_b = false;
  flt_read_b = 0;
  aequivalenzen_zahl_i = 0;
  aborted_klassen_zahl_i = 0;
  redundanz_klassen_zahl_i = 0;
}
