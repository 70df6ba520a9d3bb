// Applying learned implications during implication.
#include "atpg/implication.h"
#include "atpg/working_sets.h"
#include "model/gate.h"
#include "model/line.h"
#include "preproc/learning.h"

char line_C::global_implication() {
  // Learned implications speak about a line that holds a value.
  if (good_value_c != ZERO && good_value_c != ONE) return STEP_ASSIGNED;
  const int index = good_value_c == ZERO ? 0 : 1;
  for (line_value_liste_C* list : {&learned_C[index], &dyn_learned_C[index]}) {
    for (int i = 0; i < list->anzahl_i; i++) {
      line_C* l = (*list)[i]->line_p;
      const char u = (*list)[i]->value_c;
      if (l->good_value_c != X) {
        if (l->good_value_c != u) return STEP_CONFLICT;
        continue;
      }
      assign_good_value(l, u);
      if (!l->primary_output_b && l->successor()->forward_implication() == STEP_CONFLICT)
        return STEP_CONFLICT;
      if (!l->primary_input_b && l->driver()->backward_implication(1) == STEP_CONFLICT) return STEP_CONFLICT;
    }
  }
  return STEP_ASSIGNED;
}

// Constraint cubes would only come from block gates, which never get this far.
char gate_C::try_global_imp() {
  return STEP_NOTHING_NEW;
}
