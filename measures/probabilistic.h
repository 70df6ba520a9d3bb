// The probabilistic testability measure: signal probabilities under random
// inputs, turned into efforts (reciprocals) so that smaller means easier.
#pragma once

class circuit_C;

// Resets every figure and computes the controllabilities from the inputs.
void prob_compute_contby(circuit_C& circuit);
// Computes the observabilities from the outputs (the controllabilities must
// be there), then replaces every figure by its reciprocal.
void prob_compute_observaby(circuit_C& circuit);
