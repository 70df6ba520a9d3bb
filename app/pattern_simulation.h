// Fault simulation of an existing pattern file (the fault_simu mode): every
// pattern of the circuit's ".pat" file is applied on top of the one before
// it and simulated against the target faults; the report then says what the
// file detects, and every fault it does not detect counts as aborted.
#pragma once

class run_C;

void simulate_circuit(run_C& run);
