// A signal: its place in the circuit graph and every piece of per-signal
// state the system computes.
#pragma once

#include <ostream>
#include <string>

#include "model/liste.h"
#include "model/object.h"
#include "model/record_lists.h"
#include "model/values.h"

// Line classes.
enum : char { FREE_LINE = 0, BOUND_LINE = 1, HEAD_LINE = 2, UNCLASSIFIED_LINE = 3 };

class line_C : public object_C {
 public:
  // What implication, backtrace and the reset after a search read of every
  // signal they pass lies together; what the reset writes comes first, in a
  // few bytes that rarely straddle two cache lines.
  char good_value_c = X;
  char bad_value_c = X;
  char in_ausgangskegel_b = 0;
  char in_eingangskegel_b = 0;
  char init_value_c = X;
  char primary_input_b = 0;
  char primary_output_b = 0;
  char line_type_c = UNCLASSIFIED_LINE;
  char learn_mark_b = 0;
  char only_value_c = X;
  // The first driver and successor, copied out of the connection lists (see
  // relink): the lists' storage lies elsewhere in memory.
  gate_C* driver_p = nullptr;
  gate_C* successor_p = nullptr;
  // For a fanout branch its stem, else null (see relink).
  line_C* stem_p = nullptr;
  int nummer_i = 0;
  // Position in the unjustified bound lines and in the D-frontier, valid
  // while the list holds this signal there.
  int list_position_i[2] = {0, 0};
  // Dense index of dynamic learning's tables, given when they are sized.
  int learn_index_i = -1;
  int plane_i = 0;
  double contby_1_d = 0;
  double contby_0_d = 0;
  double observaby_d = 0;
  gate_liste_C vorgaenger_C{1};
  gate_liste_C nachfolger_C;
  char aequi_mark_0_b = 0;
  char aequi_mark_1_b = 0;
  int aequi_class_0_i = 0;
  int aequi_class_1_i = 0;
  int output_depth_i = 0;
  char fanout_b = 0;
  char in_feedback_b = 0;
  char hazard_b = 0;
  char rising_done_b = 0;
  char falling_done_b = 0;
  char rising_aborted_b = 0;
  char falling_aborted_b = 0;
  char rising_redundant_b = 0;
  char falling_redundant_b = 0;
  char sa0_redundant_b = 0;
  char sa1_redundant_b = 0;
  char sa0_aborted_b = 0;
  char sa1_aborted_b = 0;
  char falling_hazard_b = 0;
  char rising_hazard_b = 0;
  char test_done_b = 0;
  char stuck_at_done_b = 0;
  char sa0_done_b = 0;
  char sa1_done_b = 0;
  line_value_liste_C learned_C[2];      // consequences of this line being ZERO (0) and ONE (1)
  line_value_liste_C dyn_learned_C[2];  // the same, learned during the present search
  double contby_d = 0;
  double testaby_d = 0;

  line_C(const std::string& name, int n, int serial);

  // Records g as a successor (dir 'I') or as the driver of this signal.
  void verbinde(gate_C* g, char dir);
  // Copies the first driver and successor out of the connection lists again;
  // needed after the lists were changed other than through verbinde.
  void relink();

  void reset_value(fan_result_t r);
  void reset_non_robust();
  void reset_aborted_faults();
  void reset_testaby();
  void berechne_testaby_kehrwert();
  void reset_dyn_learning();

  void print_all(std::ostream& out) const;

  // The single driving or successor gate; after the circuit check every
  // signal has exactly one of each unless it is a primary input or output.
  gate_C* driver() const { return driver_p; }
  gate_C* successor() const { return successor_p; }
  bool is_fanout_branch() const;
};
