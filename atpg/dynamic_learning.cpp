#include "atpg/dynamic_learning.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/messages.h"
#include "atpg/fan.h"
#include "atpg/implication.h"
#include "atpg/working_sets.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/key_set.h"
#include "model/line.h"
#include "model/protocol.h"
#include "preproc/learning.h"

namespace {

// Every implication learned since the last backtrack, as (line, list, trial
// line, value), so that a repeat is recognised at once: the lists grow long.
key_set_t dynamically_learned;
// The lines that hold dynamically learned implications.
std::vector<line_C*> lines_with_dynamic_implications;

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
  // Implications a single input forces are found by implication anyway.
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
  const int index = v == ONE ? 0 : 1;  // the list of this line holding the complement of v
  const char consequence = mynot(t);
  const uint64_t key = implication_key(this, index, l, consequence);
  if (dynamically_learned.contains(key) || is_statically_learned(key)) {
    return STEP_NOTHING_NEW;
  }
  if (dyn_learned_C[index].is_empty()) lines_with_dynamic_implications.push_back(this);
  dyn_learned_C[index].fuege_ein(l, consequence, 0);
  dynamically_learned.insert(key);
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

namespace {

// The lines whose values can still matter to the search: everything in
// front of an unjustified bound line, of the D-frontier, and of the gates
// the fault effect may still pass on its way to an output. A trial anywhere
// else could only learn about logic the search never looks at.
std::vector<char> relevant_lines() {
  std::vector<char> relevant(lines_C.anzahl_i + 2, 0);
  std::vector<line_C*> work;
  auto reach = [&](line_C* l) {
    if (relevant[l->nummer_i]) return;
    relevant[l->nummer_i] = 1;
    work.push_back(l);
  };
  for (int i = 0; i < unjustified_bound_line_C.anzahl_i; i++) reach(unjustified_bound_line_C[i]);
  std::vector<gate_C*> gates;
  std::vector<char> gate_seen;
  for (int i = 0; i < d_front_C.anzahl_i; i++) {
    line_C* l = d_front_C[i];
    reach(l);
    if (!l->primary_output_b) gates.push_back(l->successor());
  }
  // The gates the effect may still pass, found forward through open outputs.
  for (size_t k = 0; k < gates.size(); k++) {
    gate_C* g = gates[k];
    line_C* first = g->outputs_C[0];
    if (relevant[first->nummer_i] == 2) continue;
    for (int j = 0; j < g->inputs_C.anzahl_i; j++) reach(g->inputs_C[j]);
    for (int j = 0; j < g->outputs_C.anzahl_i; j++) {
      line_C* o = g->outputs_C[j];
      if (o->good_value_c != X && o->bad_value_c != X) continue;
      reach(o);
      relevant[o->nummer_i] = 2;
      if (!o->primary_output_b) gates.push_back(o->successor());
    }
  }
  // Everything in front of them.
  while (!work.empty()) {
    line_C* l = work.back();
    work.pop_back();
    if (l->primary_input_b) continue;
    gate_C* g = l->driver();
    for (int j = 0; j < g->inputs_C.anzahl_i; j++) reach(g->inputs_C[j]);
  }
  return relevant;
}

}  // namespace

char dyn_learning() {
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->learn_mark_b = 0;
  const std::vector<char> relevant = relevant_lines();
  char result = STEP_NOTHING_NEW;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    if (!relevant[l->nummer_i] || !learning_candidate(l)) continue;
    const char r = l->dyn_try_learning();
    if (r == STEP_CONFLICT) return STEP_CONFLICT;
    if (r == STEP_ASSIGNED) result = STEP_ASSIGNED;
  }
  return result;
}

void forget_dynamic_implications() {
  for (line_C* l : lines_with_dynamic_implications) l->reset_dyn_learning();
  lines_with_dynamic_implications.clear();
  dynamically_learned.clear();
}
