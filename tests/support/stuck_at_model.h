// The fault model the collapsing tests start from.
#pragma once

// The pure stuck-at model: every other model flag clear, no fault list file
// read, and the class counters at 0.
void select_pure_stuck_at_model();
