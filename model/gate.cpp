#include "model/gate.h"

#include "base/messages.h"
#include "model/line.h"

gate_C::gate_C(const std::string& name, int serial) : object_C(name, serial) {
  object_kind_c = 0;
}

void gate_C::belege_gate(char type, int n_in, int n_out) {
  if (n_in == 1 && (type == AND_GATE || type == OR_GATE)) type = DRIVER_GATE;
  if (n_in == 1 && (type == NAND_GATE || type == NOR_GATE)) type = INVERTER_GATE;
  gate_type_c = type;
  no_inputs_i = n_in;
  no_outputs_i = n_out;
  inputs_C = line_liste_C(n_in);
  outputs_C = line_liste_C(n_out);
}

namespace {

// Both connections check the count first, so a mismatch never leaves a
// half-connected gate behind.
void check_count(const line_liste_C& lines, int declared) {
  if (lines.anzahl_i < declared) error(string_C("element has less io's than defined"));
  if (lines.anzahl_i > declared) error(string_C("element has more io's than defined"));
}

}  // namespace

void gate_C::connect_input(line_liste_C& lines) {
  check_count(lines, no_inputs_i);
  for (int i = 1; i <= lines.anzahl_i; i++) {
    lines[i - 1]->verbinde(this, 'I');
    inputs_C.verbinde(lines[i - 1], i);
  }
}

void gate_C::connect_output(line_liste_C& lines) {
  check_count(lines, no_outputs_i);
  for (int i = 1; i <= lines.anzahl_i; i++) {
    lines[i - 1]->verbinde(this, 'O');
    outputs_C.verbinde(lines[i - 1], i);
  }
  relink();
}

void gate_C::invert_type() {
  switch (gate_type_c) {
    case AND_GATE:
      gate_type_c = NAND_GATE;
      break;
    case NAND_GATE:
      gate_type_c = AND_GATE;
      break;
    case OR_GATE:
      gate_type_c = NOR_GATE;
      break;
    case NOR_GATE:
      gate_type_c = OR_GATE;
      break;
    case INVERTER_GATE:
      gate_type_c = DRIVER_GATE;
      break;
    case DRIVER_GATE:
      gate_type_c = INVERTER_GATE;
      break;
    default:
      break;
  }
}

void gate_C::print_all(std::ostream& out) const {
  out << "Adresse   " << static_cast<const void*>(this) << "\n";
  out << "Name:   " << name_s << "\n";
  out << "Inputliste:   " << static_cast<const void*>(&inputs_C) << "\n";
  out << "Outputliste:   " << static_cast<const void*>(&outputs_C) << "\n";
  out << "Number Inputs:   " << no_inputs_i << "\n";
  out << "Number Outputs:   " << no_outputs_i << "\n";
  out << "Gate Type:   " << int(gate_type_c) << "\n";
  out << "Gate in Feedback:   " << int(in_feedback_b) << "\n";
  out << "Element in Feedback:   " << int(in_feedback_b) << "\n";
  out << "Pfadrekonvergenz an Element:   " << int(reconvergent_b) << "\n";
  out << "##### Inputs\n";
  inputs_C.print_all(out);
  out << "##### Outputs\n";
  outputs_C.print_all(out);
  out << "\n\n***********\n";
}
