#include "model/protocol.h"

#include "base/messages.h"

void protocol_stack_C::init(int lines) {
  groesse_i = 10 * lines;
  eintraege.assign(groesse_i, protocol_item_t{});
  anzahl_i = low_water_i = 0;
}

void protocol_stack_C::overflow() const {
  error(with_limit("protocol_stack_C::push:  there`s not enough memory for protocol pointer", groesse_i));
}
