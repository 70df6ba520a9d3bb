// A gate: its type and its ordered input and output signals, and what each
// type means to implication, collapsing and the testability measures.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "model/liste.h"
#include "model/object.h"
#include "model/values.h"

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

// The logic of a gate type. A controlling input value decides the output
// alone: And and Nand have 0, Or and Nor 1, the other types none (X).
struct gate_semantics_t {
  unsigned char controlling_value_c = X;
  bool inverting_b = false;  // Nand, Nor, Inverter
  // The output value a controlling input forces.
  unsigned char forced_output() const {
    return inverting_b ? mynot(controlling_value_c) : controlling_value_c;
  }
  bool has_controlling_value() const { return controlling_value_c != X; }
};
// A table rather than a switch: implication asks for it at every gate, and
// the switch was compiled as a call.
inline gate_semantics_t semantics_of(char gate_type) {
  static constexpr gate_semantics_t by_type[] = {
      {ZERO, false},  // And
      {ONE, false},   // Or
      {ZERO, true},   // Nand
      {ONE, true},    // Nor
      {X, false},     // Exor
      {X, true},      // Inverter
  };
  const auto t = static_cast<unsigned char>(gate_type);
  return t < sizeof by_type / sizeof by_type[0] ? by_type[t] : gate_semantics_t{};
}

// Constraint cubes of a gate; nothing fills them in this system.
using cube_list_t = std::vector<char>;

class gate_C : public object_C {
 public:
  // What implication reads of every gate it passes lies together.
  char gate_type_c = UNDEFINED_GATE;
  char hazard_state_c = 0;
  char off_path_visited_b = 0;
  char in_feedback_b = 0;
  // The number of the first output once the lines are numbered.
  int nummer_i = -1;
  // The path search of fault simulation that last evaluated this gate.
  unsigned simulation_stamp_i = 0;
  // The first output, copied out of outputs_C (see relink).
  line_C* output_p = nullptr;
  line_liste_C inputs_C{0};
  line_liste_C outputs_C{0};
  int no_inputs_i = 0;
  int no_outputs_i = 0;
  int off_path_index_i = 0;
  std::vector<cube_list_t> constr_cubes_p;
  std::vector<cube_list_t> constr_values_p;

  gate_C(const std::string& name, int serial);

  // Sets the type and the number of inputs and outputs; a one-input And or Or
  // becomes a driver, a one-input Nand or Nor an inverter.
  void belege_gate(char type, int n_in, int n_out);
  void connect_input(line_liste_C& lines);
  void connect_output(line_liste_C& lines);
  void invert_type();
  // Copies the first output out of outputs_C again.
  void relink() { output_p = outputs_C.elemente_p.empty() ? nullptr : outputs_C.elemente_p[0]; }
  void update_no_inputs() { no_inputs_i = inputs_C.anzahl_i; }
  void update_no_outputs() { no_outputs_i = outputs_C.anzahl_i; }

  gate_semantics_t semantics() const { return semantics_of(gate_type_c); }
  unsigned char controlling_value() const { return semantics().controlling_value_c; }
  bool inverting() const { return semantics().inverting_b; }

  void print_all(std::ostream& out) const;

  line_C* output() const { return output_p; }
};
