#include "support/stuck_at_model.h"

#include "app/run.h"

void select_pure_stuck_at_model(run_C& run) {
  run.settings.select_fault_model(fault_model_t::stuck_at);
  run.target_list.flt_read_b = 0;
  run.collapsing.aequivalenzen_zahl_i = run.collapsing.aborted_klassen_zahl_i =
      run.collapsing.redundanz_klassen_zahl_i = 0;
}
