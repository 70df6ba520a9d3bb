// Lists that own their records: (signal, value) pairs, signal pairs and
// objectives. A removed record is parked behind the last one and reused.
#pragma once

#include <memory>
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

struct line_line_t {
  line_C* line_a_p = nullptr;
  line_C* line_b_p = nullptr;
  char pair_state_c = 0;
};

class line_line_liste_C : public liste_C {
 public:
  std::vector<std::unique_ptr<line_line_t>> elemente_p;

  line_line_t* operator[](int i) const { return elemente_p[i].get(); }

  void init(int n);
  void fuege_ein(line_C* a, line_C* b);
};

struct objective_type_u {
  line_C* objective_line_p = nullptr;
  int n0_i = 0;
  int n1_i = 0;
};

// The fanout objectives stay in ascending order of level and number.
enum class objective_rolle_t { plain, by_level };

class objective_liste_C : public liste_C {
 public:
  std::vector<std::unique_ptr<objective_type_u>> elemente_p;

  explicit objective_liste_C(objective_rolle_t rolle = objective_rolle_t::plain) : rolle_c(rolle) {}

  objective_type_u* operator[](int i) const { return elemente_p[i].get(); }

  void init(int n);
  void fuege_ein(line_C* line, int n0, int n1);
  objective_type_u* pop();
  void fuege_aus(line_C* line);
  char element_in_liste(line_C* line, char remove);
  void loesche_liste() { anzahl_i = 0; }

 private:
  objective_rolle_t rolle_c;
  int index_of(line_C* line) const;
};
