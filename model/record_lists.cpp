#include "model/record_lists.h"

#include <algorithm>
#include <string>

#include "base/messages.h"
#include "model/line.h"
#include "model/values.h"

namespace {

// Takes out element i of the first `count` records: the records behind it
// move down by one and it is parked just behind them. Both moves are block
// moves: std::rotate swaps record by record where the record type has
// member initialisers, and the sorted target list shifts long runs.
template <class V>
void park(V& records, int i, int count) {
  const auto taken = records[i];
  std::move(records.begin() + i + 1, records.begin() + count, records.begin() + i);
  records[count - 1] = taken;
}

// Moves the record at position `from` down to position `to`.
template <class V>
void move_down(V& records, int from, int to) {
  const auto moved = records[from];
  std::move_backward(records.begin() + to, records.begin() + from, records.begin() + from + 1);
  records[to] = moved;
}

void capacity_exceeded(const char* list, int capacity) {
  error(string_C(std::string(list) + ": more than " + std::to_string(capacity) + " records"));
}

}  // namespace

// ------------------------------------------------------- (signal, value) lists

void line_value_liste_C::init(int n) {
  elemente_p.clear();
  anzahl_i = 0;
  groesse_i = 0;
  grow(n);
}

void line_value_liste_C::grow(int extra) {
  elemente_p.resize(groesse_i + extra, line_value_t{nullptr, static_cast<char>(UNDEFINED)});
  groesse_i += extra;
}

int line_value_liste_C::index_of(line_C* line, char value) const {
  auto matches = [&](int i) { return elemente_p[i].line_p == line && elemente_p[i].value_c == value; };
  if (anzahl_i > 0 && matches(anzahl_i - 1)) return anzahl_i - 1;
  for (int i = 0; i < anzahl_i; i++) {
    if (matches(i)) return i;
  }
  return -1;
}

void line_value_liste_C::fuege_ein(line_C* line, char value, char sorted) {
  if (rolle_c == line_value_rolle_t::hilf && anzahl_i > groesse_i / 2 && index_of(line, value) >= 0) return;
  liste_C::fuege_ein();
  if (anzahl_i > groesse_i) {
    if (anzahl_i > max_records_i) {
      anzahl_i--;
      error(with_limit("line_value_liste_C::fuege_ein: Listen overflow", groesse_i));
    }
    grow(50);
  }
  line_value_t* record = &elemente_p[anzahl_i - 1];
  record->line_p = line;
  record->value_c = value;
  if (rolle_c == line_value_rolle_t::zielfehler && sorted == 1) insert_sorted();
}

// Ascending key order; a new record goes in front of existing equal keys.
void line_value_liste_C::insert_sorted() {
  const line_value_t* fresh = &elemente_p[anzahl_i - 1];
  const line_C* l = fresh->line_p;
  double key;
  switch (fresh->value_c) {
    case ZERO:
      key = l->contby_0_d * l->observaby_d;
      break;
    case ONE:
      key = l->contby_1_d * l->observaby_d;
      break;
    case FALLING:
      key = l->contby_0_d * l->observaby_d;
      break;
    case RISING:
      key = l->contby_1_d * l->observaby_d;
      break;
    default:
      key = l->testaby_d;
      break;
  }
  if ((fresh->value_c == ZERO || fresh->value_c == ONE) && two_pattern_keys_b) key -= 1.0;
  auto key_of = [](const line_value_t* r) {
    switch (r->value_c) {
      case ZERO:
        return r->line_p->contby_0_d * r->line_p->observaby_d;
      case ONE:
        return r->line_p->contby_1_d * r->line_p->observaby_d;
      default:
        return r->line_p->testaby_d;
    }
  };
  int lo = -1;
  int hi = anzahl_i - 1;
  while (lo < hi - 1) {
    int mid = (lo + hi) / 2;
    if (key > key_of(&elemente_p[mid])) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  move_down(elemente_p, anzahl_i - 1, hi);
}

void line_value_liste_C::fuege_aus(line_C* line, char value) {
  int i = index_of(line, value);
  if (i < 0) error(string_C("fuege_aus: element not found in list"));
  liste_C::fuege_aus();
  park(elemente_p, i, anzahl_i + 1);
}

char line_value_liste_C::element_in_liste(line_C* line, char value, char remove) {
  if (index_of(line, value) < 0) return 0;
  if (remove) fuege_aus(line, value);
  return 1;
}

line_value_t* line_value_liste_C::find_a_aequi_class_member(int k) {
  for (int i = 0; i < anzahl_i; i++) {
    line_value_t* r = &elemente_p[i];
    if ((r->line_p->aequi_class_0_i == k && r->value_c == ZERO) ||
        (r->line_p->aequi_class_1_i == k && r->value_c == ONE)) {
      return r;
    }
  }
  return nullptr;
}

// ------------------------------------------------------------- signal pairs

void line_line_liste_C::reserve(std::int64_t n) {
  if (n > max_records_l) error(with_limit("Overflow of line_line_liste_C", max_records_l));
  elemente_p.reserve(static_cast<size_t>(n));
}

void line_line_liste_C::fuege_ein(line_C* a, line_C* b) {
  if (anzahl() >= max_records_l) error(with_limit("Overflow of line_line_liste_C", max_records_l));
  elemente_p.push_back(line_line_t{a, b, PAIR_UNTESTED});
}

// --------------------------------------------------------------- objectives

void objective_liste_C::init(int n) {
  elemente_p.assign(n, objective_type_u{});
  anzahl_i = 0;
  groesse_i = n;
}

void objective_liste_C::fuege_ein(line_C* line, int n0, int n1) {
  if (anzahl_i >= groesse_i) capacity_exceeded("objective_liste_C::fuege_ein", groesse_i);
  elemente_p[anzahl_i++] = objective_type_u{line, n0, n1};
}

objective_type_u* objective_liste_C::pop() {
  if (anzahl_i == 0) return nullptr;
  anzahl_i--;
  return &elemente_p[anzahl_i];
}

int objective_liste_C::index_of(line_C* line) const {
  if (anzahl_i > 0 && elemente_p[anzahl_i - 1].objective_line_p == line) return anzahl_i - 1;
  for (int i = 0; i < anzahl_i; i++) {
    if (elemente_p[i].objective_line_p == line) return i;
  }
  return -1;
}

void objective_liste_C::fuege_aus(line_C* line) {
  int i = index_of(line);
  if (i < 0) error(string_C("fuege_aus: element not found in list"));
  anzahl_i--;
  park(elemente_p, i, anzahl_i + 1);
}

char objective_liste_C::element_in_liste(line_C* line, char remove) {
  if (index_of(line) < 0) return 0;
  if (remove) fuege_aus(line);
  return 1;
}

// ------------------------------------------------------ fanout objectives

void fanout_objective_liste_C::init(int lines) {
  records_.assign(lines, objective_type_u{});
  stamp_.assign(lines, 0);
  generation_ = 1;
  heap_.clear();
  heap_.reserve(lines);
}

void fanout_objective_liste_C::loesche_liste() {
  heap_.clear();
  if (++generation_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    generation_ = 1;
  }
}

std::size_t fanout_objective_liste_C::slot(const line_C* stem) const {
  const std::size_t n = static_cast<std::size_t>(stem->nummer_i);
  if (stem->nummer_i < 0 || n >= stamp_.size()) {
    error(string_C("fanout_objective_liste_C: signal number beyond the signal count"));
  }
  return n;
}

objective_type_u* fanout_objective_liste_C::find(const line_C* stem) {
  const std::size_t n = slot(stem);
  return stamp_[n] == generation_ ? &records_[n] : nullptr;
}

void fanout_objective_liste_C::fuege_ein(line_C* stem, int n0, int n1) {
  const std::size_t n = slot(stem);
  if (stamp_[n] == generation_) error(string_C("fanout_objective_liste_C::fuege_ein: stem entered twice"));
  stamp_[n] = generation_;
  records_[n] = objective_type_u{stem, n0, n1};
  const std::int64_t key =
      (static_cast<std::int64_t>(stem->plane_i) << 32) | static_cast<std::uint32_t>(stem->nummer_i);
  heap_.push_back(entry_t{key, static_cast<int>(n)});
  std::push_heap(heap_.begin(), heap_.end());
}

objective_type_u* fanout_objective_liste_C::pop() {
  if (heap_.empty()) return nullptr;
  std::pop_heap(heap_.begin(), heap_.end());
  const int n = heap_.back().record;
  heap_.pop_back();
  stamp_[n] = 0;
  return &records_[n];
}
