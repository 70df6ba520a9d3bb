// Applying learned implications during implication.
#include "implication/implication.h"
#include "model/gate.h"
#include "model/line.h"

char implication_C::global_implication(line_C* line) {
  // Learned implications speak about a line that holds a value.
  if (line->good_value_c != ZERO && line->good_value_c != ONE) return STEP_ASSIGNED;
  const int index = line->good_value_c == ZERO ? 0 : 1;
  footprint.read_learned_list(line, index);
  for (line_value_liste_C* list : {&line->learned_C[index], &line->dyn_learned_C[index]}) {
    for (int i = 0; i < list->anzahl_i; i++) {
      line_C* l = (*list)[i]->line_p;
      const char u = (*list)[i]->value_c;
      if (l->good_value_c != X) {
        if (l->good_value_c != u) return STEP_CONFLICT;
        continue;
      }
      assign_good_value(l, u);
      if (!l->primary_output_b && forward_implication(l->successor()) == STEP_CONFLICT) return STEP_CONFLICT;
      if (!l->primary_input_b && backward_implication(l->driver(), 1) == STEP_CONFLICT) return STEP_CONFLICT;
    }
  }
  return STEP_ASSIGNED;
}

// Constraint cubes would only come from block gates, which never get this far.
char implication_C::try_global_imp(gate_C* /*g*/) {
  return STEP_NOTHING_NEW;
}
