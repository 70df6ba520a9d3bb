// The settings of a run, from its command line.
#pragma once

#include <string>

enum class fault_model_t {
  stuck_at,
  stuck_at_without_branches,
  iddq,
  stuck_on,
  transition,
  stuck_open,
  bridging,
  bridging_iddq,
  path_delay,
};

struct settings_C {
  // The circuit file as given, and after the file's Circuit statement its
  // stem. Every output file is this name plus an extension.
  std::string schaltungsname_s;
  // Backtracks allowed per search in the present phase; the command line
  // gives the limit of the later phases.
  int max_number_backtracks_i = 0;
  fault_model_t fault_model = fault_model_t::stuck_at;
  bool use_3_phases_b = true;
  // Faults the second phase gave up on go to a SAT solver, not to a third phase.
  bool use_sat_b = false;
  bool fault_simulation_only_b = false;  // simulate an existing pattern file

  // The flags the algorithms ask, one per model; STUCK_AT_WITHOUT_BRANCHES
  // sets both stuck-at flags.
  bool only_iddq_test_b = false;
  bool only_stuck_at_test_b = false;
  bool stuck_at_test_without_branches_b = false;
  bool path_delay_test_b = false;
  bool transition_test_b = false;
  bool stuck_open_test_b = false;
  bool iddq_stuck_on_test_b = false;
  bool bridging_iddq_b = false;
  bool bridging_b = false;

  // Selects the model and sets its flags, clearing the others.
  void select_fault_model(fault_model_t model);
  // Faults observed by current, so the fault effect need not propagate.
  bool current_detection() const { return only_iddq_test_b || iddq_stuck_on_test_b; }
};
