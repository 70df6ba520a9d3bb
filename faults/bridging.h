// Bridging faults: two signals shorted together. Where the pattern drives
// them to opposite values, the stronger driver wins and the weaker signal
// takes the other's value: a NOR output at 1 and a NAND output at 0 lose
// against any other gate. The weaker signal carries the fault effect, which
// then travels like a stuck-at effect. Signals driven by fanout, EXOR,
// sequential or block gates are not modelled.
#pragma once

class line_C;

// The values that activate a bridge and the signal that then carries its
// effect; no carrier when the pair cannot be activated that way.
struct bridge_activation_t {
  line_C* carrier = nullptr;
  char value_a = 0;
  char value_b = 0;
};

// The type of the gate that drives a signal; a primary input counts as
// driven by a driver.
char driver_type(const line_C* l);

// The activation a pair is tried with first. It does not depend on the order
// of the two signals: a pair is electrically untestable only when neither
// order can be activated.
bridge_activation_t first_activation(line_C* a, line_C* b);
// The opposite polarity, open only to two signals both driven by NAND or
// both by NOR gates.
bridge_activation_t second_activation(line_C* a, line_C* b);

// Set the pair to the values of its first (second) activation and return
// the carrier, or return null and leave the values alone.
line_C* signal_to_propagate(line_C* a, line_C* b);
line_C* signal_to_propagate_2nd(line_C* a, line_C* b);

// Under the pair's present good values, the signal that carries the effect
// of the bridge, or null when the bridge has none.
line_C* appoint_propagation_signal(line_C* a, line_C* b);
