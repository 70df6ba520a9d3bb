#include "model/circuit.h"

circuit_C::circuit_C(int line_room, int gate_room) : line_room_i(line_room), gate_room_i(gate_room) {
  for (line_liste_C* list :
       {&lines_C, &input_lines_C, &output_lines_C, &pseudo_inputs_C, &pseudo_outputs_C}) {
    list->init(0);
  }
  gates_C.init(0);
}

circuit_C::~circuit_C() {
  quarn_release_tree(line_tree_root_p);
  quarn_release_tree(gate_tree_root_p);
}

line_C* circuit_C::new_line(const std::string& name, int n) {
  return line_records_.make(name, n, next_serial_i++);
}

gate_C* circuit_C::new_gate(const std::string& name) {
  return gate_records_.make(name, next_serial_i++);
}

void circuit_C::add_line(line_C* line) {
  append_within_room(lines_C, line, line_room_i);
  quarn_add_to_line_tree(line_tree_root_p, line);
}

void circuit_C::add_gate(gate_C* gate) {
  append_within_room(gates_C, gate, gate_room_i);
  quarn_add_to_gate_tree(gate_tree_root_p, gate);
}

void circuit_C::add_input(line_C* line) {
  append_within_room(input_lines_C, line, line_room_i);
}

void circuit_C::add_output(line_C* line) {
  append_within_room(output_lines_C, line, line_room_i);
}

line_C* circuit_C::search_line(const std::string& name) const {
  return search_line_in_tree(line_tree_root_p, name.c_str());
}

gate_C* circuit_C::search_gate(const std::string& name) const {
  return search_gate_in_tree(gate_tree_root_p, name.c_str());
}

void circuit_C::forget_line(line_C* line) {
  quarn_forget_line(line_tree_root_p, line);
}

void circuit_C::forget_gate(gate_C* gate) {
  quarn_forget_gate(gate_tree_root_p, gate);
}

namespace {

template <class L>
void print_records(std::ostream& out, const L& list) {
  const int stored = std::min(list.anzahl_i, static_cast<int>(list.elemente_p.size()));
  for (int i = 0; i < stored; i++) {
    if (list[i] != nullptr) list[i]->print_all(out);
  }
}

}  // namespace

void circuit_C::print_all(std::ostream& out) const {
  out << "******************** Gatter ***********************\n";
  print_records(out, gates_C);
  out << "******************** Signale ***********************\n";
  print_records(out, lines_C);
  out << "******************** Eingaenge ***********************\n";
  print_records(out, input_lines_C);
  out << "******************** Ausgaenge ***********************\n";
  print_records(out, output_lines_C);
}
