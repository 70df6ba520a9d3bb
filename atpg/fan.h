// The search for one test: implication, unique sensitisation, learning and
// multiple backtrace, with chronological backtracking through the journal.
#pragma once

#include "atpg/backtrace.h"
#include "atpg/dynamic_learning.h"
#include "atpg/unique_sensitisation.h"
#include "model/liste.h"
#include "model/values.h"

class implication_C;
class line_C;
class messages_C;
struct settings_C;

class fan_C {
 public:
  fan_C(implication_C& imp, const settings_C& settings, messages_C& messages);

  backtrace_C backtrace;
  dynamic_learning_C learning;
  off_path_search_C off_path_search;

  // Sizes the search's own lists for a circuit of the given number of lines.
  void init(int lines);

  // Generates a test for the fault that the test value names at the target
  // line; the pattern is left on the primary inputs.
  fan_result_t fan_alg(line_C* target, char test_value);

  char exist_untried_combination_of_values();
  void set_untried_combination_of_values();
  void justify_free_lines();

 private:
  implication_C& imp_;
  const settings_C& settings_;
  messages_C& messages_;

  bool backtrack(fan_result_t& result);
  void seed_unjustified_lines(line_C* target, char test_value);
};

// The number of gates fed by the D-frontier whose outputs are still open,
// collected in the engine's gate list; the count stops once it exceeds
// up_to (the callers ask for none, or for exactly one).
int number_of_gates_in_d_front(implication_C& imp, int up_to);
