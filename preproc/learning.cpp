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

namespace {

// Inputs and gate outputs are tried, not the lines a fanout, an inverter or
// a driver only passes on.
bool is_tried(const line_C* l) {
  if (l->primary_input_b) return true;
  const char type = l->driver()->gate_type_c;
  return type != FANOUT_GATE && type != INVERTER_GATE && type != DRIVER_GATE;
}

// A phase that learned at most this many implications lends the lines it
// learned them for to the next phase as its watch set.
constexpr size_t watch_set_changes = 8192;
// Most implications learned since a trial's last run that are looked at
// before running it again anyway.
constexpr size_t changes_looked_at = 1024;

}  // namespace

void learning_C::start_learning() {
  imp_.statically_learned.clear();
  trials_.clear();
  trials_of_.clear();
  changes_.clear();
  watch_sets_of_.clear();
  phase_ = 0;
  phase_first_change_ = 0;
  something_learned_b = 1;
  learned_implications_i = 0;
}

void learning_C::learning_implications() {
  const line_liste_C& lines_C = circuit_.lines_C;
  imp_.reset_net(TEST_FOUND);
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->learn_mark_b = 0;
  start_phase();
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    if (is_tried(lines_C[i])) try_learning(lines_C[i]);
  }
  imp_.reset_net(TEST_FOUND);
}

// The key of an implication packs a line number into 20 bits: below that it
// names one implication only, and the trial lists stand for the key set.
static_assert(max_lines < (1 << 20));

// A trial whose lines' learned lists are all as at its last run repeats that
// run step by step: it reaches the same lines, learns nothing new and ends
// in the same conflict or none. A phase after one that learned little
// watches the lines learned for then, which are those most likely to
// change again, and each trial notes which of them it reaches.
void learning_C::start_phase() {
  const size_t signals = static_cast<size_t>(circuit_.lines_C.anzahl_i) + 2;
  if (trials_of_.size() < signals) trials_of_.resize(signals, -1);
  if (trials_.empty()) {
    size_t tried = 0;
    for (int i = 0; i < circuit_.lines_C.anzahl_i; i++) tried += is_tried(circuit_.lines_C[i]);
    trials_.reserve(2 * tried);
  }
  if (watch_sets_of_.size() < signals) watch_sets_of_.resize(signals, 0);
  if (known_stamp_.size() < 2 * signals) {
    known_stamp_.assign(2 * signals, 0);
    trial_stamp_ = 0;
  }
  phase_++;
  if (phase_ > 1 && phase_ < 32 && changes_.size() - phase_first_change_ <= watch_set_changes) {
    for (size_t c = phase_first_change_; c < changes_.size(); c++)
      watch_sets_of_[changes_[c]] |= 1u << phase_;
  }
  phase_first_change_ = changes_.size();
}

bool learning_C::unchanged_since(const trial_record_t& record) const {
  if (changes_.size() - record.learned_before > changes_looked_at) return false;
  for (size_t c = record.learned_before; c < changes_.size(); c++) {
    const uint32_t n = changes_[c];
    // A line its phase did not watch may have been reached.
    if (record.watch_phase >= 32 || (watch_sets_of_[n] >> record.watch_phase & 1) == 0) return false;
    if (std::binary_search(record.items.begin() + record.learned, record.items.end(), n)) return false;
  }
  return true;
}

learning_C::trial_record_t& learning_C::open_trial(line_C* line, char value) {
  const size_t n = static_cast<size_t>(line->nummer_i);
  if (n >= trials_of_.size()) error(string_C("learning: signal number beyond the signal count"));
  if (trials_of_[n] < 0) {
    trials_of_[n] = static_cast<int>(trials_.size());
    trials_.resize(trials_.size() + 2);
  }
  if (++trial_stamp_ == 0) {  // the stamps wrapped round: start afresh
    std::fill(known_stamp_.begin(), known_stamp_.end(), 0);
    trial_stamp_ = 1;
  }
  trial_record_t& record = trials_[static_cast<size_t>(trials_of_[n]) + (value == ZERO)];
  for (uint32_t i = 0; i < record.learned; i++) known_stamp_[record.items[i]] = trial_stamp_;
  return record;
}

bool learning_C::already_learned(const line_C* line, int index, line_C* s, char consequence) const {
  if (trial_ == nullptr)
    return imp_.statically_learned.contains(implication_key(line, index, s, consequence));
  const size_t known = 2 * static_cast<size_t>(line->nummer_i) + index;
  if (known >= known_stamp_.size()) error(string_C("learning: signal number beyond the signal count"));
  return known_stamp_[known] == trial_stamp_;
}

void learning_C::try_learning(line_C* line) {
  for (char v : {ONE, ZERO}) {
    const bool clean = imp_.protocol_C.anzahl_i == 0 && imp_.unjustified_bound_line_C.anzahl_i == 0 &&
                       imp_.implication_line_C.anzahl_i == 0 && imp_.d_front_C.anzahl_i == 0;
    trial_record_t& record = open_trial(line, v);
    if (record.ran && record.clean && clean && unchanged_since(record)) {
      if (record.conflict) {
        line->only_value_c = mynot(v);
        collapsing_.mark_result(line, REDUNDANT, v == ONE ? ZERO : ONE);
      }
      continue;
    }
    trial_ = &record;
    record.items.resize(record.learned);
    record.learned_before = static_cast<uint32_t>(changes_.size());
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
    reached_.clear();
    while (protocol_item_t* e = imp_.protocol_C.pop()) {
      line_C* t = e->line_p;
      if (t == nullptr) error(string_C("try_learning: Line Pointer is Null"));
      learn(t, line);
      t->learn_mark_b = 0;
      t->good_value_c = X;
      const uint32_t n = static_cast<uint32_t>(t->nummer_i);
      if (n >= watch_sets_of_.size()) error(string_C("learning: signal number beyond the signal count"));
      if (phase_ < 32 && (watch_sets_of_[n] >> phase_ & 1) != 0) reached_.push_back(n);
    }
    std::sort(reached_.begin(), reached_.end());
    reached_.erase(std::unique(reached_.begin(), reached_.end()), reached_.end());
    record.items.insert(record.items.end(), reached_.begin(), reached_.end());
    record.watch_phase = phase_;
    record.ran = true;
    record.clean = clean;
    record.conflict = conflict;
    trial_ = nullptr;
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
  changes_.push_back(static_cast<uint32_t>(line->nummer_i));
  if (trial_ != nullptr) {
    const uint32_t known = 2 * static_cast<uint32_t>(line->nummer_i) + index;
    known_stamp_[known] = trial_stamp_;
    trial_->items.push_back(known);
    trial_->learned++;
  }
  learned_implications_i++;
}
