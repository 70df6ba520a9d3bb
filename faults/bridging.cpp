#include "faults/bridging.h"

#include "model/gate.h"
#include "model/line.h"
#include "model/values.h"

namespace {

// Outputs that lose a fight against any other gate at the opposite value.
bool weak(char t) {
  return t == NAND_GATE || t == NOR_GATE;
}
bool strong(char t) {
  return t == AND_GATE || t == OR_GATE || t == INVERTER_GATE || t == DRIVER_GATE;
}

// The value at which a weak output loses: a NOR at 1, a NAND at 0.
char losing_value(char t) {
  return t == NOR_GATE ? ONE : ZERO;
}

// The value the stronger signal holds against it.
char winning_value(char t) {
  return t == NOR_GATE ? ZERO : ONE;
}

// The first activation with the roles of the two signals as given.
bridge_activation_t ordered_activation(line_C* a, line_C* b) {
  const char ta = driver_type(a);
  const char tb = driver_type(b);
  if (weak(ta) && ta == tb) return {a, losing_value(ta), winning_value(ta)};
  if (strong(ta) && weak(tb)) return {b, winning_value(tb), losing_value(tb)};
  return {};
}

line_C* apply(line_C* a, line_C* b, const bridge_activation_t& act) {
  if (act.carrier == nullptr) return nullptr;
  a->good_value_c = act.value_a;
  b->good_value_c = act.value_b;
  return act.carrier;
}

}  // namespace

char driver_type(const line_C* l) {
  return l->primary_input_b ? static_cast<char>(DRIVER_GATE) : l->driver()->gate_type_c;
}

bridge_activation_t first_activation(line_C* a, line_C* b) {
  bridge_activation_t act = ordered_activation(a, b);
  if (act.carrier != nullptr) return act;
  const bridge_activation_t swapped = ordered_activation(b, a);
  return {swapped.carrier, swapped.value_b, swapped.value_a};
}

bridge_activation_t second_activation(line_C* a, line_C* b) {
  const char ta = driver_type(a);
  if (!weak(ta) || driver_type(b) != ta) return {};
  return {b, winning_value(ta), losing_value(ta)};
}

line_C* signal_to_propagate(line_C* a, line_C* b) {
  return apply(a, b, first_activation(a, b));
}

line_C* signal_to_propagate_2nd(line_C* a, line_C* b) {
  return apply(a, b, second_activation(a, b));
}

line_C* appoint_propagation_signal(line_C* a, line_C* b) {
  const char ta = driver_type(a);
  const char tb = driver_type(b);
  if (!(weak(ta) || strong(ta)) || !(weak(tb) || strong(tb))) return nullptr;
  if (weak(ta)) {
    if (weak(tb) && tb != ta) return nullptr;  // a NAND against a NOR: no rule
    if (a->good_value_c == losing_value(ta)) return a;
    if (tb == ta && b->good_value_c == losing_value(tb)) return b;
    return nullptr;
  }
  if (weak(tb) && b->good_value_c == losing_value(tb)) return b;
  return nullptr;
}
