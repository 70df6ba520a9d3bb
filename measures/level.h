// The level testability measure: efforts counted in gates, smaller meaning
// easier, without reciprocals.
#pragma once

class circuit_C;

// Resets every figure and computes the controllabilities from the inputs.
void level_compute_contby(circuit_C& circuit);
// Computes the observabilities from the outputs; the controllabilities must
// be there.
void level_compute_observaby(circuit_C& circuit);
