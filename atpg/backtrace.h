// Choosing the next decision: initial objectives from the unjustified bound
// lines and the D-frontier, carried backwards by multiple backtrace to head
// lines and to fanout stems asked for both values.
#pragma once

#include "model/record_lists.h"

class gate_C;
class implication_C;
struct settings_C;

// How multiple backtrace starts; the search always takes the next objective.
enum entry_exit_t { take_next_objective = 0 };

class backtrace_C {
 public:
  backtrace_C(implication_C& imp, const settings_C& settings);

  objective_liste_C current_objectives_C;
  objective_liste_C head_objectives_C;
  fanout_objective_liste_C fanout_objectives_C;
  objective_type_u final_objective_u;
  gate_C* d_front_gate_in_initial_objectives_p = nullptr;
  // 1: the objective sets must be rebuilt before the next backtrace.
  char backtrace_flag_b = 0;

  // Sizes the objective lists for a circuit of the given number of lines.
  void init_objective_lists(int lines);

  // The next decision (a line and request counts); its line is null when no
  // objective can be found at all.
  objective_type_u determine_final_objective();
  void assign_value_to_final_objective(objective_type_u& objective);
  char continuation_of_backtrace_meaningful();
  char fault_signal_at_output();

  void let_objectives_be_empty();
  void let_unjustified_lines_be_initial_objectives();
  void add_gate_in_d_front_to_initial_objectives();
  char multiple_backtrace(entry_exit_t entry);
  void add_n0_and_n1_to_fanout_objective(objective_type_u& objective);
  void determine_next_objective_and_add_them_to_current_objectives(objective_type_u& objective);
  objective_type_u take_out_fanout_objective_p_closest_to_output();
  char n0p_and_n1p_nonequal_zero(objective_type_u& objective);
  void add_objective_to_head_objectives(objective_type_u& objective);
  objective_type_u take_out_head_objective();

 private:
  implication_C& imp_;
  const settings_C& settings_;
};
