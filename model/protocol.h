// The journal of the search: every change to a value, to the unjustified
// bound lines or to the D-frontier, so that backtracking can undo it.
#pragma once

#include <cstdint>
#include <vector>

#include "model/liste.h"

class line_C;

// One journal entry: one pointer and one 32-bit word of bit fields.
struct protocol_item_t {
  line_C* line_p = nullptr;
  uint32_t optionale_zuweisung_b : 1 = 0;
  uint32_t bound_eingefuegt_b : 1 = 0;
  uint32_t bound_ausgefuegt_b : 1 = 0;
  uint32_t d_front_eingefuegt_b : 1 = 0;
  uint32_t d_front_ausgefuegt_b : 1 = 0;
  uint32_t alter_gut_wert_c : 4 = 13;
  uint32_t neuer_gut_wert_c : 4 = 13;
  uint32_t alter_schlecht_wert_c : 4 = 13;
  uint32_t neuer_schlecht_wert_c : 4 = 13;
};

class protocol_stack_C : public liste_C {
 public:
  // Capacity: ten entries per line of the circuit.
  void init();
  void push(line_C* line, char optional, char bound_in, char bound_out, char dfront_in, char dfront_out,
            char old_good, char new_good, char old_bad, char new_bad);
  // The entry stays valid until the next push overwrites it.
  protocol_item_t* pop();
  // Drops every entry without undoing anything.
  void leeren() { anzahl_i = 0; }

 private:
  std::vector<protocol_item_t> eintraege;
};

extern protocol_stack_C protocol_C;
// Set whenever a line is entered into the unjustified bound lines.
extern char ujust_bound_changed_b;
