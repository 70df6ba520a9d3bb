#include "model/protocol.h"

#include "base/messages.h"

protocol_item_t good_value_entry(line_C* line, unsigned char old_value, unsigned char new_value) {
  protocol_item_t e;
  e.line_p = line;
  e.alter_gut_wert_c = old_value & 0xF;
  e.neuer_gut_wert_c = new_value & 0xF;
  return e;
}

protocol_item_t bad_value_entry(line_C* line, unsigned char old_value, unsigned char new_value) {
  protocol_item_t e;
  e.line_p = line;
  e.alter_schlecht_wert_c = old_value & 0xF;
  e.neuer_schlecht_wert_c = new_value & 0xF;
  return e;
}

protocol_item_t decision_entry(line_C* line, unsigned char value) {
  protocol_item_t e = good_value_entry(line, X, value);
  e.optionale_zuweisung_b = 1;
  return e;
}

protocol_item_t list_entry(line_C* line, list_change_t change) {
  protocol_item_t e;
  e.line_p = line;
  e.bound_eingefuegt_b = change == list_change_t::bound_in;
  e.bound_ausgefuegt_b = change == list_change_t::bound_out;
  e.d_front_eingefuegt_b = change == list_change_t::d_front_in;
  e.d_front_ausgefuegt_b = change == list_change_t::d_front_out;
  return e;
}

void protocol_stack_C::init(int lines) {
  groesse_i = 10 * lines;
  eintraege.assign(groesse_i, protocol_item_t{});
  anzahl_i = low_water_i = 0;
}

void protocol_stack_C::push(const protocol_item_t& entry) {
  if (entry.bound_eingefuegt_b) ujust_bound_changed_b = 1;
  if (anzahl_i >= groesse_i) {
    error(with_limit("protocol_stack_C::push:  there`s not enough memory for protocol pointer", groesse_i));
  }
  eintraege[anzahl_i] = entry;
  anzahl_i++;
}

protocol_item_t* protocol_stack_C::pop() {
  if (anzahl_i == 0) return nullptr;
  anzahl_i--;
  if (anzahl_i < low_water_i) low_water_i = anzahl_i;
  return &eintraege[anzahl_i];
}
