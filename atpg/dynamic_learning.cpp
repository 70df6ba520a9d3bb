#include "atpg/dynamic_learning.h"

#include "app/messages.h"
#include "atpg/fan.h"
#include "atpg/implication.h"
#include "atpg/working_sets.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/protocol.h"

namespace {

bool learning_candidate(const line_C* l) {
  if (l->good_value_c != X) return false;
  if (l->primary_input_b) return true;
  const char type = l->driver()->gate_type_c;
  return type != FANOUT_GATE && type != INVERTER_GATE && type != DRIVER_GATE;
}

// One trial of value t on l; afterwards everything it implied is undone and
// the implications it showed are learned. Returns whether it ended in a
// conflict and whether something was learned.
bool trial(line_C* l, char t, bool& learned) {
  protocol_C.push(l, 1, 0, 0, 0, 0, X, t, UNDEFINED, UNDEFINED);
  l->good_value_c = t;
  bool conflict = false;
  if (!l->primary_output_b) conflict = l->successor()->forward_implication() == STEP_CONFLICT;
  if (!conflict && !l->primary_input_b) conflict = l->driver()->backward_implication(1) == STEP_CONFLICT;
  for (;;) {
    protocol_item_t* e = protocol_C.pop();
    if (e == nullptr) error(string_C("dyn_learning: something is wrong"));
    if (e->neuer_gut_wert_c != UNDEFINED && e->line_p != nullptr) {
      if (e->line_p->dyn_learn(l) == STEP_ASSIGNED) learned = true;
      e->line_p->learn_mark_b = 0;
    }
    const bool own_entry = e->optionale_zuweisung_b;
    undo_journal_entry(e);
    if (own_entry) break;
  }
  return conflict;
}

}  // namespace

char line_C::dyn_learn(line_C* l) {
  const char v = good_value_c;
  const char t = l->good_value_c;
  if (primary_input_b || this == l || v == X || !learn_mark_b) return STEP_NOTHING_NEW;
  const int index = v == ONE ? 0 : 1;  // the list of this line holding the complement of v
  const char consequence = mynot(t);
  if (learned_C[index].element_in_liste(l, consequence, 0) ||
      dyn_learned_C[index].element_in_liste(l, consequence, 0)) {
    return STEP_NOTHING_NEW;
  }
  const gate_C* g = driver();
  switch (g->gate_type_c) {
    case INVERTER_GATE:
    case DRIVER_GATE:
    case FANOUT_GATE:
      return STEP_NOTHING_NEW;
    case AND_GATE:
    case NOR_GATE:
      if (v == ZERO) return STEP_NOTHING_NEW;
      break;
    case OR_GATE:
    case NAND_GATE:
      if (v == ONE) return STEP_NOTHING_NEW;
      break;
    case EXOR_GATE:
      if (g->no_inputs_i == 1) return STEP_NOTHING_NEW;
      break;
    default:
      error(string_C("learn: Unknown gate type found"));
  }
  dyn_learned_C[index].fuege_ein(l, consequence, 0);
  return STEP_ASSIGNED;
}

char line_C::dyn_try_learning() {
  bool learned = false;
  const bool zero_conflicts = trial(this, ZERO, learned);
  const bool one_conflicts = trial(this, ONE, learned);
  good_value_c = X;
  if (zero_conflicts && one_conflicts) return STEP_CONFLICT;
  if (zero_conflicts || one_conflicts) {
    assign_good_value(this, zero_conflicts ? ONE : ZERO);
    implication_line_C.fuege_ein(this);
    return STEP_ASSIGNED;
  }
  return learned ? STEP_ASSIGNED : STEP_NOTHING_NEW;
}

// Only an assigned value makes the search imply again; what is merely
// learned is used from the next step on.
char dyn_learning() {
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->learn_mark_b = 0;
  char result = STEP_NOTHING_NEW;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    if (!learning_candidate(l)) continue;
    const char before = l->good_value_c;
    char r = l->dyn_try_learning();
    if (r == STEP_CONFLICT) return STEP_CONFLICT;
    if (r == STEP_ASSIGNED && l->good_value_c != before) result = STEP_ASSIGNED;
  }
  return result;
}
