#include "model/protocol.h"

#include "app/messages.h"
#include "app/statistic.h"

protocol_stack_C protocol_C;
char ujust_bound_changed_b = 0;

void protocol_stack_C::init() {
  groesse_i = 10 * (statistic_u.no_signals_i + statistic_u.no_fanout_branches_i);
  eintraege.assign(groesse_i, protocol_item_t{});
  anzahl_i = 0;
}

void protocol_stack_C::push(line_C* line, char optional, char bound_in, char bound_out, char dfront_in,
                            char dfront_out, char old_good, char new_good, char old_bad, char new_bad) {
  if (bound_in == 1) ujust_bound_changed_b = 1;
  if (anzahl_i >= groesse_i) {
    error(with_limit("protocol_stack_C::push:  there`s not enough memory for protocol pointer", groesse_i));
  }
  protocol_item_t& e = eintraege[anzahl_i];
  e.line_p = line;
  e.optionale_zuweisung_b = optional == 1;
  e.bound_eingefuegt_b = bound_in == 1;
  e.bound_ausgefuegt_b = bound_out == 1;
  e.d_front_eingefuegt_b = dfront_in == 1;
  e.d_front_ausgefuegt_b = dfront_out == 1;
  e.alter_gut_wert_c = static_cast<unsigned char>(old_good) & 0xF;
  e.neuer_gut_wert_c = static_cast<unsigned char>(new_good) & 0xF;
  e.alter_schlecht_wert_c = static_cast<unsigned char>(old_bad) & 0xF;
  e.neuer_schlecht_wert_c = static_cast<unsigned char>(new_bad) & 0xF;
  anzahl_i++;
}

protocol_item_t* protocol_stack_C::pop() {
  if (anzahl_i == 0) return nullptr;
  anzahl_i--;
  return &eintraege[anzahl_i];
}
