#include "preproc/learning.h"

#include <algorithm>

#include "base/messages.h"
#include "faults/collapsing.h"
#include "implication/implication.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/key_set.h"
#include "model/line.h"
#include "model/protocol.h"

learning_C::learning_C(circuit_C& circuit, implication_C& imp, collapsing_C& collapsing)
    : circuit_(circuit), imp_(imp), collapsing_(collapsing) {}

void learning_C::collect_only_value_lines() {
  const line_liste_C& lines_C = circuit_.lines_C;
  imp_.only_value_lines_C.init(lines_C.anzahl_i);
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    if (lines_C[i]->only_value_c != X) imp_.only_value_lines_C.fuege_ein(lines_C[i]);
  }
}

void learning_C::start_learning() {
  imp_.statically_learned.clear();
  learned_by_trial_.clear();
  something_learned_b = 1;
  learned_implications_i = 0;
}

void learning_C::learning_implications() {
  const line_liste_C& lines_C = circuit_.lines_C;
  imp_.reset_net(TEST_FOUND);
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->learn_mark_b = 0;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    if (l->primary_input_b) {
      try_learning(l);
      continue;
    }
    const char type = l->driver()->gate_type_c;
    if (type != FANOUT_GATE && type != INVERTER_GATE && type != DRIVER_GATE) try_learning(l);
  }
  imp_.reset_net(TEST_FOUND);
}

// The key of an implication packs a line number into 20 bits: below that it
// names one implication only, and the trial lists stand for the key set.
static_assert(max_lines < (1 << 20));

void learning_C::open_trial(line_C* line, char value) {
  const size_t lines = static_cast<size_t>(circuit_.lines_C.anzahl_i) + 2;
  if (known_stamp_.size() < 2 * lines) {
    known_stamp_.assign(2 * lines, 0);
    trial_stamp_ = 0;
  }
  if (learned_by_trial_.size() < 2 * lines) learned_by_trial_.resize(2 * lines);
  const size_t trial = 2 * static_cast<size_t>(line->nummer_i) + (value == ZERO);
  if (trial >= learned_by_trial_.size()) error(string_C("learning: signal number beyond the signal count"));
  if (++trial_stamp_ == 0) {  // the stamps wrapped round: start afresh
    std::fill(known_stamp_.begin(), known_stamp_.end(), 0);
    trial_stamp_ = 1;
  }
  trial_learned_ = &learned_by_trial_[trial];
  for (uint32_t known : *trial_learned_) known_stamp_[known] = trial_stamp_;
}

bool learning_C::already_learned(const line_C* line, int index, line_C* s, char consequence) const {
  if (trial_learned_ == nullptr) {
    return imp_.statically_learned.contains(implication_key(line, index, s, consequence));
  }
  const size_t known = 2 * static_cast<size_t>(line->nummer_i) + index;
  if (known >= known_stamp_.size()) error(string_C("learning: signal number beyond the signal count"));
  return known_stamp_[known] == trial_stamp_;
}

void learning_C::try_learning(line_C* line) {
  for (char v : {ONE, ZERO}) {
    open_trial(line, v);
    line->good_value_c = v;
    imp_.protocol_C.push(good_value_entry(line, X, v));
    bool conflict = !line->primary_output_b && imp_.forward_implication(line->successor()) == STEP_CONFLICT;
    if (!conflict && !line->primary_input_b) {
      conflict = imp_.backward_implication(line->driver(), 1) == STEP_CONFLICT;
    }
    if (conflict) {
      line->only_value_c = mynot(v);
      collapsing_.mark_result(line, REDUNDANT, v == ONE ? ZERO : ONE);
    }
    imp_.unjustified_bound_line_C.anzahl_i = 0;
    imp_.implication_line_C.anzahl_i = 0;
    while (protocol_item_t* e = imp_.protocol_C.pop()) {
      line_C* t = e->line_p;
      if (t == nullptr) error(string_C("try_learning: Line Pointer is Null"));
      learn(t, line);
      t->learn_mark_b = 0;
      t->good_value_c = X;
    }
    trial_learned_ = nullptr;
  }
}

void learning_C::learn(line_C* line, line_C* s) {
  const char w = line->good_value_c;
  const char v = s->good_value_c;
  if (line->primary_input_b || line == s || w == X || !line->learn_mark_b) return;
  const int index = w == ONE ? 0 : 1;
  const char consequence = mynot(v);
  // What the gate type rules out is decided before the costlier question
  // whether the implication is known; an unknown type is fatal only for an
  // implication not known yet.
  const gate_C* g = line->driver();
  bool unknown_type = false;
  switch (g->gate_type_c) {
    case AND_GATE:
    case NAND_GATE:
    case OR_GATE:
    case NOR_GATE:
      // The output value a controlling input forces is no news.
      if (w == g->semantics().forced_output()) return;
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
      unknown_type = true;
  }
  if (already_learned(line, index, s, consequence)) return;
  if (unknown_type) error(string_C("learn: Unknown gate type found"));
  something_learned_b = 1;
  line->learned_C[index].fuege_ein(s, consequence, 0);
  imp_.statically_learned.insert(implication_key(line, index, s, consequence));
  if (trial_learned_ != nullptr) {
    const uint32_t known = 2 * static_cast<uint32_t>(line->nummer_i) + index;
    known_stamp_[known] = trial_stamp_;
    trial_learned_->push_back(known);
  }
  learned_implications_i++;
}
