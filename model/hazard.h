// The hazard memo of the gates, kept valid while values change.
#pragma once

#include "model/gate.h"

// Forgets the memo of a gate that has one, and of everything it feeds.
void forget_hazard_memo(gate_C* g);

// Forgets the hazard memo of g and of everything it feeds. Called on every
// implication step, so the common case of no memo stays inline.
inline void clear_hazard_bits(gate_C* g) {
  if (g->hazard_state_c != 0) forget_hazard_memo(g);
}
