#include "atpg/paths.h"

#include "base/messages.h"
#include "implication/implication.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

paths_C::paths_C(circuit_C& circuit, implication_C& imp) : circuit_(circuit), imp_(imp) {}

void paths_C::init(int gates) {
  selected_path_C.init(gates);
}

line_C* paths_C::search_next_path() {
  if (next_path() != nullptr) assign_path();
  return start_;
}

line_C* paths_C::next_path() {
  selected_path_C.anzahl_i = 0;
  entries_.clear();
  const line_liste_C& inputs = circuit_.input_lines_C;
  char found = 0;
  if (present_input_i >= 0 && present_input_i < inputs.anzahl_i) {
    search_next_path(inputs[present_input_i], found);
  }
  if (!found) {
    if (++present_input_i >= inputs.anzahl_i) return start_ = nullptr;
    found = 1;
    if (!search_next_path(inputs[present_input_i], found)) {
      error(string_C("search_next_path: line_C::search_next_path is faulty"));
    }
  }
  return start_ = inputs[present_input_i];
}

void paths_C::assign_path() {
  for (int k = 0; k < selected_path_C.anzahl_i; k++) {
    const gate_C* g = selected_path_C[k];
    const unsigned char c = g->controlling_value();
    for (int i = 0; c != X && i < g->inputs_C.anzahl_i; i++) {
      line_C* side = g->inputs_C[i];
      if (side == entries_[k]) continue;
      side->good_value_c = mynot(c);
      if (side->line_type_c == BOUND_LINE) imp_.unjustified_bound_line_C.fuege_ein(side);
    }
  }
  start_->good_value_c = ONE;
  start_->bad_value_c = ZERO;
}

char paths_C::search_next_path(line_C* l, char& found) {
  if (l->primary_output_b) return 1;
  return search_next_path(l->successor(), l, found);
}

char paths_C::search_next_path(gate_C* g, line_C* from, char& found) {
  if (g->gate_type_c == FLIPFLOP_GATE || g->gate_type_c == SEQUENTIAL_GATE) {
    error(string_C("gate_C::search_next_path: not implemented for sequential gates"));
  }
  const bool fanout = g->gate_type_c == FANOUT_GATE;
  char path = search_next_path(fanout ? g->outputs_C[g->off_path_index_i] : g->output(), found);
  if (!found && fanout) {
    // The branches behind this fanout are exhausted: the next branch, or back
    // to the first one and the decision goes to the fanout before it.
    if (++g->off_path_index_i >= g->outputs_C.anzahl_i) {
      g->off_path_index_i = 0;
    } else {
      found = 1;
      path = search_next_path(g->outputs_C[g->off_path_index_i], found);
    }
  }
  if (!found) return path;
  selected_path_C.fuege_ein(g);
  entries_.push_back(from);
  return path;
}
