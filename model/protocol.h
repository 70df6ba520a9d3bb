// The journal of the search: every change to a value, to the unjustified
// bound lines or to the D-frontier, so that backtracking can undo it.
#pragma once

#include <cstdint>
#include <vector>

#include "model/liste.h"
#include "model/values.h"

class line_C;

// One journal entry: one pointer and one 32-bit word of bit fields. A value
// field left at UNDEFINED means the entry did not change that value.
struct protocol_item_t {
  line_C* line_p = nullptr;
  uint32_t optionale_zuweisung_b : 1 = 0;  // a decision of the search
  uint32_t bound_eingefuegt_b : 1 = 0;     // line entered the unjustified bound lines
  uint32_t bound_ausgefuegt_b : 1 = 0;     // line left them
  uint32_t d_front_eingefuegt_b : 1 = 0;
  uint32_t d_front_ausgefuegt_b : 1 = 0;
  uint32_t alter_gut_wert_c : 4 = UNDEFINED;
  uint32_t neuer_gut_wert_c : 4 = UNDEFINED;
  uint32_t alter_schlecht_wert_c : 4 = UNDEFINED;
  uint32_t neuer_schlecht_wert_c : 4 = UNDEFINED;
};

// The entries the system makes. Implication makes them constantly: they and
// push stay inline, so that an entry goes from registers into the journal
// (copied through memory, its bit fields stall the load that reads them).
inline protocol_item_t good_value_entry(line_C* line, unsigned char old_value, unsigned char new_value) {
  protocol_item_t e;
  e.line_p = line;
  e.alter_gut_wert_c = old_value & 0xF;
  e.neuer_gut_wert_c = new_value & 0xF;
  return e;
}

inline protocol_item_t bad_value_entry(line_C* line, unsigned char old_value, unsigned char new_value) {
  protocol_item_t e;
  e.line_p = line;
  e.alter_schlecht_wert_c = old_value & 0xF;
  e.neuer_schlecht_wert_c = new_value & 0xF;
  return e;
}

// A decision: the line goes from X to value, and backtracking may flip it.
inline protocol_item_t decision_entry(line_C* line, unsigned char value) {
  protocol_item_t e = good_value_entry(line, X, value);
  e.optionale_zuweisung_b = 1;
  return e;
}

enum class list_change_t { bound_in, bound_out, d_front_in, d_front_out };
inline protocol_item_t list_entry(line_C* line, list_change_t change) {
  protocol_item_t e;
  e.line_p = line;
  e.bound_eingefuegt_b = change == list_change_t::bound_in;
  e.bound_ausgefuegt_b = change == list_change_t::bound_out;
  e.d_front_eingefuegt_b = change == list_change_t::d_front_in;
  e.d_front_ausgefuegt_b = change == list_change_t::d_front_out;
  return e;
}

class protocol_stack_C : public liste_C {
 public:
  // Set whenever a line is entered into the unjustified bound lines.
  char ujust_bound_changed_b = 0;
  // The lowest number of entries since whoever follows the journal last
  // looked: the entries below it are unchanged.
  int low_water_i = 0;

  // Capacity: ten entries per line of the circuit.
  void init(int lines);
  void push(const protocol_item_t& entry) {
    if (entry.bound_eingefuegt_b) ujust_bound_changed_b = 1;
    if (anzahl_i >= groesse_i) overflow();
    eintraege[anzahl_i] = entry;
    anzahl_i++;
  }
  // The entry stays valid until the next push overwrites it.
  protocol_item_t* pop() {
    if (anzahl_i == 0) return nullptr;
    anzahl_i--;
    if (anzahl_i < low_water_i) low_water_i = anzahl_i;
    return &eintraege[anzahl_i];
  }
  // Drops every entry without undoing anything.
  void leeren() { anzahl_i = low_water_i = 0; }
  const protocol_item_t& operator[](int i) const { return eintraege[i]; }

 private:
  std::vector<protocol_item_t> eintraege;
  [[noreturn]] void overflow() const;
};
