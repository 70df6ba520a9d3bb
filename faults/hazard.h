// The hazard memo of the gates, kept valid while values change.
#pragma once

class gate_C;

// Forgets the hazard memo of g and of everything it feeds.
void clear_hazard_bits(gate_C* g);
