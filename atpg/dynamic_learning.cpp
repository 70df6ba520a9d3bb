#include "atpg/dynamic_learning.h"

#include <cstdint>
#include <vector>

#include "base/messages.h"
#include "implication/implication.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/key_set.h"
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
bool trial(implication_C& imp, line_C* l, char t, bool& learned) {
  imp.protocol_C.push(decision_entry(l, t));
  l->good_value_c = t;
  bool conflict = false;
  if (!l->primary_output_b) conflict = imp.forward_implication(l->successor()) == STEP_CONFLICT;
  if (!conflict && !l->primary_input_b) conflict = imp.backward_implication(l->driver(), 1) == STEP_CONFLICT;
  for (;;) {
    protocol_item_t* e = imp.protocol_C.pop();
    if (e == nullptr) error(string_C("dyn_learning: something is wrong"));
    if (e->neuer_gut_wert_c != UNDEFINED && e->line_p != nullptr) {
      if (dyn_learn(imp, e->line_p, l) == STEP_ASSIGNED) learned = true;
      e->line_p->learn_mark_b = 0;
    }
    const bool own_entry = e->optionale_zuweisung_b;
    imp.undo_journal_entry(e);
    if (own_entry) break;
  }
  return conflict;
}

}  // namespace

char dyn_learn(implication_C& imp, line_C* line, line_C* l) {
  const char v = line->good_value_c;
  const char t = l->good_value_c;
  if (line->primary_input_b || line == l || v == X || !line->learn_mark_b) return STEP_NOTHING_NEW;
  // Implications a single input forces are found by implication anyway.
  const gate_C* g = line->driver();
  switch (g->gate_type_c) {
    case INVERTER_GATE:
    case DRIVER_GATE:
    case FANOUT_GATE:
      return STEP_NOTHING_NEW;
    case AND_GATE:
    case NAND_GATE:
    case OR_GATE:
    case NOR_GATE:
      // The output value a controlling input forces is no news.
      if (v == g->semantics().forced_output()) return STEP_NOTHING_NEW;
      break;
    case EXOR_GATE:
      if (g->no_inputs_i == 1) return STEP_NOTHING_NEW;
      break;
    default:
      error(string_C("learn: Unknown gate type found"));
  }
  const int index = v == ONE ? 0 : 1;  // the list of this line holding the complement of v
  const char consequence = mynot(t);
  const uint64_t key = implication_key(line, index, l, consequence);
  if (imp.dynamically_learned.contains(key) || imp.statically_learned.contains(key)) {
    return STEP_NOTHING_NEW;
  }
  if (line->dyn_learned_C[index].is_empty()) imp.lines_with_dynamic_implications.push_back(line);
  line->dyn_learned_C[index].fuege_ein(l, consequence, 0);
  imp.dynamically_learned.insert(key);
  return STEP_ASSIGNED;
}

char dyn_try_learning(implication_C& imp, line_C* line) {
  bool learned = false;
  const bool zero_conflicts = trial(imp, line, ZERO, learned);
  const bool one_conflicts = trial(imp, line, ONE, learned);
  line->good_value_c = X;
  if (zero_conflicts && one_conflicts) return STEP_CONFLICT;
  if (zero_conflicts || one_conflicts) {
    imp.assign_good_value(line, zero_conflicts ? ONE : ZERO);
    imp.implication_line_C.fuege_ein(line);
    return STEP_ASSIGNED;
  }
  return learned ? STEP_ASSIGNED : STEP_NOTHING_NEW;
}

namespace {

// The lines whose values can still matter to the search: everything in
// front of an unjustified bound line, of the D-frontier, and of the gates
// the fault effect may still pass on its way to an output. A trial anywhere
// else could only learn about logic the search never looks at.
std::vector<char> relevant_lines(implication_C& imp) {
  std::vector<char> relevant(imp.circuit.lines_C.anzahl_i + 2, 0);
  std::vector<line_C*> work;
  auto reach = [&](line_C* l) {
    if (relevant[l->nummer_i]) return;
    relevant[l->nummer_i] = 1;
    work.push_back(l);
  };
  for (int i = 0; i < imp.unjustified_bound_line_C.anzahl_i; i++) reach(imp.unjustified_bound_line_C[i]);
  std::vector<gate_C*> gates;
  for (int i = 0; i < imp.d_front_C.anzahl_i; i++) {
    line_C* l = imp.d_front_C[i];
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

char dyn_learning(implication_C& imp) {
  const line_liste_C& lines_C = imp.circuit.lines_C;
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->learn_mark_b = 0;
  const std::vector<char> relevant = relevant_lines(imp);
  char result = STEP_NOTHING_NEW;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    if (!relevant[l->nummer_i] || !learning_candidate(l)) continue;
    const char r = dyn_try_learning(imp, l);
    if (r == STEP_CONFLICT) return STEP_CONFLICT;
    if (r == STEP_ASSIGNED) result = STEP_ASSIGNED;
  }
  return result;
}
