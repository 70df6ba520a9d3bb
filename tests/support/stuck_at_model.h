// The pure stuck-at model, no fault list file read, the class counters at 0.
#pragma once

class run_C;

void select_pure_stuck_at_model(run_C& run);
