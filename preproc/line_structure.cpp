#include "preproc/line_structure.h"

#include <algorithm>

#include "app/messages.h"
#include "app/statistic.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

line_liste_C free_lines_C;

void line_C::calculate_type() {
  if (primary_input_b) {
    if (primary_output_b) {
      line_type_c = FREE_LINE;
    } else {
      line_type_c = successor()->gate_type_c == FANOUT_GATE ? HEAD_LINE : FREE_LINE;
    }
    free_lines_C.fuege_ein(this);
  } else {
    // Only the last input of the driver to be classified gets through.
    const gate_C* g = driver();
    bool bound = false;
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
      char input_type = g->inputs_C[i]->line_type_c;
      if (input_type == UNCLASSIFIED_LINE) return;
      if (input_type == BOUND_LINE || input_type == HEAD_LINE) bound = true;
    }
    if (bound) {
      line_type_c = BOUND_LINE;
    } else {
      bool feeds_fanout = !primary_output_b && successor()->gate_type_c == FANOUT_GATE;
      line_type_c = feeds_fanout ? HEAD_LINE : FREE_LINE;
      free_lines_C.fuege_ein(this);
    }
  }
  if (!primary_output_b) successor()->calculate_type();
}

void gate_C::calculate_type() {
  for (int i = 0; i < outputs_C.anzahl_i; i++) outputs_C[i]->calculate_type();
}

void line_structure() {
  // The run sizes the list once the circuit is known; without that it gets
  // room for every signal here.
  int room = std::max(lines_C.anzahl_i, number_of_lines());
  if (static_cast<int>(free_lines_C.elemente_p.size()) < room) free_lines_C.init(room);
  for (int i = 0; i < input_lines_C.anzahl_i; i++) input_lines_C[i]->calculate_type();
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
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
