// Lists that own their records: (signal, value) pairs, signal pairs and
// objectives. A removed record is parked behind the last one and reused.
#pragma once

#include <cstdint>
#include <vector>

#include "model/liste.h"

struct line_value_t {
  line_C* line_p = nullptr;
  char value_c;
};

// What a (signal, value) list is used for; the target list keeps itself
// sorted and the list of detected faults refuses repeats once half full.
enum class line_value_rolle_t { plain, zielfehler, hilf };

// The records lie side by side: implication walks these lists constantly.
class line_value_liste_C : public liste_C {
 public:
  std::vector<line_value_t> elemente_p;

  // The most records the list may grow to (signals plus fanout branches of
  // the circuit; until that is known, the room of the circuit lists).
  int max_records_i = 400000;
  // Sorted by a key one lower for stuck-at targets, so that in the
  // two-pattern models they come before the transitions of equal key.
  bool two_pattern_keys_b = false;

  explicit line_value_liste_C(line_value_rolle_t rolle = line_value_rolle_t::plain) : rolle_c(rolle) {}

  line_value_t* operator[](int i) { return &elemente_p[i]; }
  const line_value_t* operator[](int i) const { return &elemente_p[i]; }

  void init(int n);
  void fuege_ein(line_C* line, char value, char sorted);
  void fuege_aus(line_C* line, char value);
  char element_in_liste(line_C* line, char value, char remove);
  line_value_t* find_a_aequi_class_member(int k);

 private:
  line_value_rolle_t rolle_c;
  int index_of(line_C* line, char value) const;
  void grow(int extra);
  void insert_sorted();
};

// A pair of signals that may be shorted together, and what the run found
// out about it.
enum : char { PAIR_UNTESTED = 0, PAIR_DETECTED = 1, PAIR_ABORTED = 2, PAIR_REDUNDANT = 3 };

struct line_line_t {
  line_C* line_a_p = nullptr;
  line_C* line_b_p = nullptr;
  char pair_state_c = PAIR_UNTESTED;
};

// The records lie side by side and the list grows as it fills: a circuit of
// tens of thousands of signals has hundreds of millions of pairs, so sizes
// are 64-bit and the growth stops at max_records_l.
class line_line_liste_C {
 public:
  std::vector<line_line_t> elemente_p;
  std::int64_t max_records_l = INT64_MAX;

  std::int64_t anzahl() const { return static_cast<std::int64_t>(elemente_p.size()); }
  bool is_empty() const { return elemente_p.empty(); }
  line_line_t* operator[](std::int64_t i) { return &elemente_p[i]; }
  const line_line_t* operator[](std::int64_t i) const { return &elemente_p[i]; }

  // Room for n pairs at once, when their number is known beforehand.
  void reserve(std::int64_t n);
  void fuege_ein(line_C* a, line_C* b);
};

struct objective_type_u {
  line_C* objective_line_p = nullptr;
  int n0_i = 0;
  int n1_i = 0;
};

class objective_liste_C : public liste_C {
 public:
  std::vector<objective_type_u> elemente_p;

  objective_type_u* operator[](int i) { return &elemente_p[i]; }
  const objective_type_u* operator[](int i) const { return &elemente_p[i]; }

  void init(int n);
  void fuege_ein(line_C* line, int n0, int n1);
  objective_type_u* pop();
  void fuege_aus(line_C* line);
  char element_in_liste(line_C* line, char remove);
  void loesche_liste() { anzahl_i = 0; }

 private:
  int index_of(line_C* line) const;
};

// The fanout objectives: at most one per stem, taken out highest level
// first and, within a level, highest signal number first. A heap gives that
// order, and a table by signal number finds a stem's objective; the
// backtrace of a large circuit holds thousands of them.
class fanout_objective_liste_C {
 public:
  // Room for the stems of a circuit of the given number of signals.
  void init(int lines);
  bool is_empty() const { return heap_.empty(); }
  void loesche_liste();
  // The objective of the stem, or null.
  objective_type_u* find(const line_C* stem);
  // Enters a stem that has no objective yet.
  void fuege_ein(line_C* stem, int n0, int n1);
  // Takes out the objective closest to the outputs; null when empty. It
  // stays valid until its stem is entered again.
  objective_type_u* pop();

 private:
  struct entry_t {
    std::int64_t key;  // level, then signal number
    int record;
    bool operator<(const entry_t& o) const { return key < o.key; }
  };
  // Per signal number: the stem's objective, present while stamp_ holds
  // the present generation.
  std::vector<objective_type_u> records_;
  std::vector<std::uint32_t> stamp_;
  std::vector<entry_t> heap_;
  std::uint32_t generation_ = 1;
  std::size_t slot(const line_C* stem) const;
};
