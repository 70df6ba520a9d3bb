#include "base/settings.h"

void settings_C::select_fault_model(fault_model_t model) {
  fault_model = model;
  only_iddq_test_b = model == fault_model_t::iddq;
  only_stuck_at_test_b =
      model == fault_model_t::stuck_at || model == fault_model_t::stuck_at_without_branches;
  stuck_at_test_without_branches_b = model == fault_model_t::stuck_at_without_branches;
  path_delay_test_b = model == fault_model_t::path_delay;
  transition_test_b = model == fault_model_t::transition;
  stuck_open_test_b = model == fault_model_t::stuck_open;
  iddq_stuck_on_test_b = model == fault_model_t::stuck_on;
  bridging_iddq_b = model == fault_model_t::bridging_iddq;
  bridging_b = model == fault_model_t::bridging;
}
