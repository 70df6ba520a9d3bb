// The structural check of the transformed circuit.
#pragma once

class circuit_C;

// Every signal has one driver or is a primary input and one successor or is
// a primary output; every gate has inputs and outputs. A finding is fatal.
void proof(const circuit_C& circuit);
