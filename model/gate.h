// A gate: its type and its ordered input and output signals.
#pragma once

#include <ostream>
#include <vector>

#include "model/liste.h"
#include "model/object.h"
#include "model/string_c.h"

// Gate type codes.
enum : char {
  AND_GATE = 0,
  OR_GATE = 1,
  NAND_GATE = 2,
  NOR_GATE = 3,
  EXOR_GATE = 4,
  INVERTER_GATE = 5,
  DRIVER_GATE = 6,
  FLIPFLOP_GATE = 7,
  SEQUENTIAL_GATE = 8,
  BLOCK_GATE = 9,
  FANOUT_GATE = 10,
  UNDEFINED_GATE = 11,
};

// Constraint cubes of a gate; nothing fills them in this system.
using cube_list_t = std::vector<char>;

class gate_C : public object_C {
 public:
  char off_path_visited_b = 0;
  int off_path_index_i = 0;
  line_liste_C inputs_C{0};
  line_liste_C outputs_C{0};
  std::vector<cube_list_t> constr_cubes_p;
  std::vector<cube_list_t> constr_values_p;
  int no_inputs_i = 0;
  int no_outputs_i = 0;
  char gate_type_c = UNDEFINED_GATE;
  char hazard_state_c = 0;
  char in_feedback_b = 0;
  // The path search of fault simulation that last evaluated this gate.
  unsigned simulation_stamp_i = 0;

  explicit gate_C(const string_C& name);

  // Sets the type and the number of inputs and outputs; a one-input And or Or
  // becomes a driver, a one-input Nand or Nor an inverter.
  void belege_gate(char type, int n_in, int n_out);
  void connect_input(line_liste_C& lines);
  void connect_output(line_liste_C& lines);
  void invert_type();
  void update_no_inputs() { no_inputs_i = inputs_C.anzahl_i; }
  void update_no_outputs() { no_outputs_i = outputs_C.anzahl_i; }

  // Levels and line classes.
  void calculate_planes();
  void calculate_type();

  // Implication.
  char forward_implication();
  char backward_implication(char global);
  char fast_forward_implication();
  char try_global_imp();

  // Testability measures.
  void prob_compute_contby();
  void prob_compute_observaby();
  void level_compute_contby();
  void level_compute_observaby();

  // Paths of the off-path search and of the path-delay model.
  char search_off_path_signals(char& found);
  char search_next_path(line_C* start, char& found);

  void mark_robust_signals();

  void print_all(std::ostream& out) const;

  line_C* output() const { return outputs_C.elemente_p[0]; }
};
