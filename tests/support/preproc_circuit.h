// Circuits read from .cir text the way a run reads them, up to the circuit
// check, for the tests of the later phases.
#pragma once

#include <string>

#include "support/circuit_text.h"

class line_C;

// The text of a circuit file: the signal names, the gate declarations (each
// "name : Type ;"), the inputs, the outputs and the instances (each
// "gate ( inputs ; outputs ) ;"). Outputs are strobed.
std::string cir_text(const std::string& nodes, const std::string& declarations, const std::string& inputs,
                     const std::string& outputs, const std::string& instances);

// Writes text to stem.cir and reads it as a run does up to the circuit
// check: fresh statistics, read, transform, list sizes, check. A circuit
// read before is released first.
void read_checked_circuit(const std::string& stem, const std::string& text);

// The signal of that name; throws when it is absent.
line_C* line_named(const std::string& name);
