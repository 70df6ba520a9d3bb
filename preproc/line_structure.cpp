#include "preproc/line_structure.h"

#include <algorithm>

#include "base/messages.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

void calculate_type(line_liste_C& free_lines_C, gate_C* g);

void calculate_type(line_liste_C& free_lines_C, line_C* l) {
  if (l->primary_input_b) {
    if (l->primary_output_b) {
      l->line_type_c = FREE_LINE;
    } else {
      l->line_type_c = l->successor()->gate_type_c == FANOUT_GATE ? HEAD_LINE : FREE_LINE;
    }
    free_lines_C.fuege_ein(l);
  } else {
    // Only the last input of the driver to be classified gets through.
    const gate_C* g = l->driver();
    bool bound = false;
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
      char input_type = g->inputs_C[i]->line_type_c;
      if (input_type == UNCLASSIFIED_LINE) return;
      if (input_type == BOUND_LINE || input_type == HEAD_LINE) bound = true;
    }
    if (bound) {
      l->line_type_c = BOUND_LINE;
    } else {
      bool feeds_fanout = !l->primary_output_b && l->successor()->gate_type_c == FANOUT_GATE;
      l->line_type_c = feeds_fanout ? HEAD_LINE : FREE_LINE;
      free_lines_C.fuege_ein(l);
    }
  }
  if (!l->primary_output_b) calculate_type(free_lines_C, l->successor());
}

void calculate_type(line_liste_C& free_lines_C, gate_C* g) {
  for (int i = 0; i < g->outputs_C.anzahl_i; i++) calculate_type(free_lines_C, g->outputs_C[i]);
}

}  // namespace

void line_structure(circuit_C& circuit) {
  line_liste_C& free_lines_C = circuit.free_lines_C;
  // The run sizes the list once the circuit is known; without that it gets
  // room for every signal here.
  int room = std::max(circuit.lines_C.anzahl_i, circuit.number_of_lines());
  if (static_cast<int>(free_lines_C.elemente_p.size()) < room) free_lines_C.init(room);
  for (int i = 0; i < circuit.input_lines_C.anzahl_i; i++)
    calculate_type(free_lines_C, circuit.input_lines_C[i]);
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    line_C* l = circuit.lines_C[i];
    if (l->line_type_c == UNCLASSIFIED_LINE) error(string_C("line_structure: not all lines are discovered"));
    if (l->line_type_c == FREE_LINE && !l->primary_output_b) {
      const gate_C* g = l->successor();
      for (int k = 0; k < g->outputs_C.anzahl_i; k++) {
        if (g->outputs_C[k]->line_type_c == BOUND_LINE) {
          l->line_type_c = HEAD_LINE;  // already in free_lines_C as a free line
          break;
        }
      }
    }
  }
}
