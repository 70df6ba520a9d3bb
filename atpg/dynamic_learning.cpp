#include "atpg/dynamic_learning.h"

#include <algorithm>
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

// Room for trial records, in bytes: the footprints of every line's two
// trials, and as much again for their list changes; past it trials are
// simply made.
constexpr size_t footprint_room = 6 << 20;
constexpr size_t record_room = 2 * footprint_room;

// A line moved to the end of a working list, packed with the list: the
// unjustified bound lines (0) or the D-frontier (1).
// A learned implication's line and list.
uint32_t lesson_code(const line_C* line, int index) {
  return 2 * static_cast<uint32_t>(line->learn_index_i) + static_cast<uint32_t>(index);
}

uint32_t moved(const line_C* l, uint32_t list) {
  return static_cast<uint32_t>(l->learn_index_i) << 1 | list;
}

}  // namespace

size_t dynamic_learning_C::trial_record_t::bytes() const {
  return footprint.capacity() * sizeof(uint64_t) + list_changes.capacity() * sizeof(uint32_t);
}

void dynamic_learning_C::trial_record_t::release() {
  search = 0;
  footprint = {};
  list_changes = {};
}

size_t dynamic_learning_C::slot_of(const line_C* l, char t) const {
  const auto i = static_cast<size_t>(l->learn_index_i);
  if (l->learn_index_i < 0 || 2 * i >= slots_.size() || line_of_index(i) != l) {
    error(string_C("dyn_learning: a line outside the circuit"));
  }
  return 2 * i + (t == ONE ? 1 : 0);
}

uint32_t dynamic_learning_C::next_mark() {
  if (++mark_serial_ == 0) {
    std::fill(mark_.begin(), mark_.end(), 0);
    mark_serial_ = 1;
  }
  return mark_serial_;
}

line_C* dynamic_learning_C::line_of_index(size_t i) const {
  return imp_.circuit.lines_C[static_cast<int>(i)];
}

void dynamic_learning_C::init() {
  sized_ = false;
  slots_.clear();
  records_.clear();
  stored_ = 0;
}

void dynamic_learning_C::new_search() {
  if (sized_) imp_.footprint.new_search();
}

// Sized when the first trial is due (many runs never get there); the lines
// are numbered by then.
void dynamic_learning_C::size_records() {
  const line_liste_C& all = imp_.circuit.lines_C;
  const auto lines = static_cast<size_t>(all.anzahl_i);
  for (int i = 0; i < all.anzahl_i; i++) all[i]->learn_index_i = i;
  int numbers = all.anzahl_i;
  for (int i = 0; i < all.anzahl_i; i++) numbers = std::max(numbers, all[i]->nummer_i + 1);
  // A gate is known by its first output's number.
  const gate_liste_C& gates = imp_.circuit.gates_C;
  for (int i = 0; i < gates.anzahl_i; i++) {
    if (gates[i]->outputs_C.anzahl_i > 0) gates[i]->nummer_i = gates[i]->outputs_C[0]->nummer_i;
  }
  slots_.assign(2 * lines, -1);
  lesson_head_.assign(2 * lines, -1);
  mark_.assign(2 * lines, 0);
  lesson_slots_.clear();
  lesson_links_.clear();
  records_.clear();
  stored_ = 0;
  imp_.footprint.init(numbers, slots_.size(), footprint_room);
}

dynamic_learning_C::trial_record_t* dynamic_learning_C::record_of(line_C* l, char t) {
  // Robust passes keep a hazard memo that trials clear: every trial is made there.
  if (imp_.hazard_test_ein_b || !repeat_trials_b) return nullptr;
  const size_t k = slot_of(l, t);
  if (slots_[k] < 0) {
    if (stored_ > record_room) return nullptr;
    slots_[k] = static_cast<int>(records_.size());
    records_.emplace_back();
  }
  return &records_[static_cast<size_t>(slots_[k])];
}

bool dynamic_learning_C::trial(line_C* l, char t, bool& learned) {
  trial_record_t* record = record_of(l, t);
  if (record != nullptr && record->search == imp_.footprint.search_serial() &&
      record->generation == imp_.dynamic_generation_i &&
      imp_.protocol_C.anzahl_i + record->entries <= imp_.protocol_C.groesse_i &&
      imp_.footprint.unchanged_since(record->footprint, record->d_front_size_read, record->time)) {
    trials_repeated++;
    repeat_trial(*record);
    return record->conflict;
  }
  trials_made++;
  return make_trial(l, t, learned, record);
}

// One trial of value t on l; afterwards everything it implied is undone and
// the implications it showed are learned. Returns whether it ended in a
// conflict.
bool dynamic_learning_C::make_trial(line_C* l, char t, bool& learned, trial_record_t* record) {
  if (record != nullptr) {
    stored_ -= record->bytes();
    record->search = 0;
    record->list_changes.clear();
    record->time = imp_.footprint.now();
    imp_.footprint.start(&record->footprint);
  }
  const unsigned char earlier_flags = take_flags();
  const int base = imp_.protocol_C.anzahl_i;
  imp_.protocol_C.push(decision_entry(l, t));
  l->good_value_c = t;
  bool conflict = false;
  if (!l->primary_output_b) conflict = imp_.forward_implication(l->successor()) == STEP_CONFLICT;
  if (!conflict && !l->primary_input_b) conflict = imp_.backward_implication(l->driver(), 1) == STEP_CONFLICT;
  if (record != nullptr) {
    imp_.footprint.stop();
    record->entries = imp_.protocol_C.anzahl_i - base;
    note_moves(base, record->list_changes);
  }
  const uint32_t generation = imp_.dynamic_generation_i;
  recall_lessons(l, t);
  for (;;) {
    protocol_item_t* e = imp_.protocol_C.pop();
    if (e == nullptr) error(string_C("dyn_learning: something is wrong"));
    if (e->neuer_gut_wert_c != UNDEFINED && e->line_p != nullptr) {
      if (dyn_learn(e->line_p, l) == STEP_ASSIGNED) learned = true;
      e->line_p->learn_mark_b = 0;
    }
    const bool own_entry = e->optionale_zuweisung_b;
    imp_.undo_journal_entry(e);
    if (own_entry) break;
  }
  const unsigned char own_flags = take_flags();
  set_flags(earlier_flags | own_flags);
  if (record != nullptr) {
    record->flags = own_flags;
    record->conflict = conflict;
    record->d_front_size_read = imp_.footprint.d_front_size_read();
    record->generation = generation;
    if (!imp_.footprint.uncovered_read()) record->search = imp_.footprint.search_serial();
    if (stored_ + record->bytes() > record_room) record->release();
    stored_ += record->bytes();
  }
  return conflict;
}

// The order a trial leaves the working lists in. Undoing appends every line
// the trial took out of a list and takes out every line it put in, so a
// line that was in a list before the trial and left it ends up at the end,
// when the undoing reaches its first removal; all others keep their order.
// The moves, in the order the undoing makes them, are all a record needs.
void dynamic_learning_C::note_moves(int base, std::vector<uint32_t>& moves) {
  const uint32_t serial = next_mark();
  for (int k = base; k < imp_.protocol_C.anzahl_i; k++) {
    const protocol_item_t& e = imp_.protocol_C[k];
    for (uint32_t list = 0; list < 2; list++) {
      const bool in = list == 0 ? e.bound_eingefuegt_b : e.d_front_eingefuegt_b;
      const bool out = list == 0 ? e.bound_ausgefuegt_b : e.d_front_ausgefuegt_b;
      if (!in && !out) continue;
      const uint32_t m = moved(e.line_p, list);
      if (mark_[m] == serial) continue;  // only its first change counts
      mark_[m] = serial;
      if (out) moves.push_back(m);
    }
  }
  std::reverse(moves.begin(), moves.end());
}

// What making the trial again would do: the same moves in the working lists
// and the same flags set. Its lessons are learned already: the record counts
// only in the generation of learned implications that it was made in.
void dynamic_learning_C::repeat_trial(const trial_record_t& record) {
  for (uint32_t m : record.list_changes) {
    line_liste_C& list = (m & 1) == 0 ? imp_.unjustified_bound_line_C : imp_.d_front_C;
    line_C* line = line_of_index(m >> 1);
    list.fuege_aus(line);
    list.fuege_ein(line);
  }
  set_flags(take_flags() | record.flags);
}

unsigned char dynamic_learning_C::take_flags() {
  const unsigned char flags = (imp_.input_kegel_changed_b ? 1 : 0) | (imp_.d_front_changed_b ? 2 : 0) |
                              (imp_.bound_line_in_back_implication_ausgefuegt_b ? 4 : 0) |
                              (imp_.protocol_C.ujust_bound_changed_b ? 8 : 0);
  set_flags(0);
  return flags;
}

void dynamic_learning_C::set_flags(unsigned char flags) {
  imp_.input_kegel_changed_b = (flags & 1) ? 1 : 0;
  imp_.d_front_changed_b = (flags & 2) ? 1 : 0;
  imp_.bound_line_in_back_implication_ausgefuegt_b = (flags & 4) ? 1 : 0;
  imp_.protocol_C.ujust_bound_changed_b = (flags & 8) ? 1 : 0;
}

char dynamic_learning_C::dyn_learn(line_C* line, line_C* l) {
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
  const uint32_t code = lesson_code(line, index);
  if (mark_[code] == lesson_serial_ ||
      imp_.statically_learned.contains(implication_key(line, index, l, consequence))) {
    return STEP_NOTHING_NEW;
  }
  if (line->dyn_learned_C[index].is_empty()) imp_.lines_with_dynamic_implications.push_back(line);
  line->dyn_learned_C[index].fuege_ein(l, consequence, 0);
  mark_[code] = lesson_serial_;
  lesson_links_.push_back({code, lesson_head_[lesson_slot_]});
  lesson_head_[lesson_slot_] = static_cast<int>(lesson_links_.size()) - 1;
  imp_.footprint.learned(line, index);
  return STEP_ASSIGNED;
}

// A dynamically learned implication "line = v gives l = c" can only come
// from a trial of l with the complement of c: the lessons of each trial (of
// the present generation) are a chain, and the trial in hand marks its own.
void dynamic_learning_C::recall_lessons(line_C* l, char t) {
  if (lesson_generation_ != imp_.dynamic_generation_i) {
    for (int slot : lesson_slots_) lesson_head_[static_cast<size_t>(slot)] = -1;
    lesson_slots_.clear();
    lesson_links_.clear();
    lesson_generation_ = imp_.dynamic_generation_i;
  }
  lesson_serial_ = next_mark();
  lesson_slot_ = static_cast<int>(slot_of(l, t));
  int& head = lesson_head_[static_cast<size_t>(lesson_slot_)];
  if (head < 0) {
    lesson_slots_.push_back(lesson_slot_);
    head = -2;  // a chain that is still empty
  }
  for (int r = head; r >= 0; r = lesson_links_[static_cast<size_t>(r)].next) {
    mark_[lesson_links_[static_cast<size_t>(r)].code] = lesson_serial_;
  }
}

char dynamic_learning_C::dyn_try_learning(line_C* line) {
  bool learned = false;
  const bool zero_conflicts = trial(line, ZERO, learned);
  const bool one_conflicts = trial(line, ONE, learned);
  line->good_value_c = X;
  if (zero_conflicts && one_conflicts) return STEP_CONFLICT;
  if (zero_conflicts || one_conflicts) {
    imp_.assign_good_value(line, zero_conflicts ? ONE : ZERO);
    imp_.implication_line_C.fuege_ein(line);
    imp_.footprint.follow(imp_.protocol_C);
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

char dynamic_learning_C::dyn_learning() {
  if (!sized_) size_records();
  sized_ = true;
  implication_C& imp = imp_;
  const line_liste_C& lines_C = imp.circuit.lines_C;
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->learn_mark_b = 0;
  imp.footprint.follow(imp.protocol_C);
  const std::vector<char> relevant = relevant_lines(imp);
  char result = STEP_NOTHING_NEW;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    if (!relevant[l->nummer_i] || !learning_candidate(l)) continue;
    const char r = dyn_try_learning(l);
    if (r == STEP_CONFLICT) return STEP_CONFLICT;
    if (r == STEP_ASSIGNED) result = STEP_ASSIGNED;
  }
  return result;
}
