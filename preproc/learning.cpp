// Static learning: both values are tried on every signal, and for every
// signal the trial implied the contrapositive is kept. A trial that ends in
// a conflict proves the signal can never take that value.
#include "preproc/learning.h"

#include "app/messages.h"
#include "atpg/driver.h"
#include "atpg/working_sets.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/key_set.h"
#include "model/line.h"
#include "model/protocol.h"
#include "preproc/preprocessing.h"

line_liste_C only_value_lines_C;

namespace {

// Every implication recorded so far, so that a repeat is recognised at once.
key_set_t statically_learned;

}  // namespace

bool is_statically_learned(uint64_t key) {
  return statically_learned.contains(key);
}

void collect_only_value_lines() {
  only_value_lines_C.init(lines_C.anzahl_i);
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    if (lines_C[i]->only_value_c != X) only_value_lines_C.fuege_ein(lines_C[i]);
  }
}

void start_learning() {
  statically_learned.clear();
  something_learned_b = 1;
  learned_implications_i = 0;
}

void learning_implications() {
  reset_net(TEST_FOUND);
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->learn_mark_b = 0;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    if (l->primary_input_b) {
      l->try_learning();
      continue;
    }
    const char type = l->driver()->gate_type_c;
    if (type != FANOUT_GATE && type != INVERTER_GATE && type != DRIVER_GATE) l->try_learning();
  }
  reset_net(TEST_FOUND);
}

void line_C::try_learning() {
  for (char v : {ONE, ZERO}) {
    good_value_c = v;
    protocol_C.push(this, 0, 0, 0, 0, 0, X, v, UNDEFINED, UNDEFINED);
    bool conflict = !primary_output_b && successor()->forward_implication() == STEP_CONFLICT;
    if (!conflict && !primary_input_b) conflict = driver()->backward_implication(1) == STEP_CONFLICT;
    if (conflict) {
      only_value_c = mynot(v);
      mark_result(REDUNDANT, v == ONE ? ZERO : ONE);
    }
    unjustified_bound_line_C.anzahl_i = 0;
    implication_line_C.anzahl_i = 0;
    while (protocol_item_t* e = protocol_C.pop()) {
      line_C* t = e->line_p;
      if (t == nullptr) error(string_C("try_learning: Line Pointer is Null"));
      t->learn(this);
      t->learn_mark_b = 0;
      t->good_value_c = X;
    }
  }
}

void line_C::learn(line_C* s) {
  const char w = good_value_c;
  const char v = s->good_value_c;
  if (primary_input_b || this == s || w == X || !learn_mark_b) return;
  const int index = w == ONE ? 0 : 1;
  const char consequence = mynot(v);
  const uint64_t key = implication_key(this, index, s, consequence);
  if (statically_learned.contains(key)) return;
  const gate_C* g = driver();
  switch (g->gate_type_c) {
    case AND_GATE:
    case NOR_GATE:
      if (w == ZERO) return;
      break;
    case OR_GATE:
    case NAND_GATE:
      if (w == ONE) return;
      break;
    case EXOR_GATE:
    case BLOCK_GATE:
      if (g->no_inputs_i == 1) return;
      break;
    case INVERTER_GATE:
    case DRIVER_GATE:
    case FANOUT_GATE:
      return;
    default:
      error(string_C("learn: Unknown gate type found"));
  }
  something_learned_b = 1;
  learned_C[index].fuege_ein(s, consequence, 0);
  statically_learned.insert(key);
  learned_implications_i++;
}
