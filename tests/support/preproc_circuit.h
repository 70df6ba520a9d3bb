// Circuits for the preprocessing and measure tests, read from .cir text
// through the real reader the way a run reads them.
#pragma once

#include <string>

class line_C;
class gate_C;

// The text of a circuit file: the signal names, the gate declarations (each
// "name : Type ;"), the inputs, the outputs and the instances (each
// "gate ( inputs ; outputs ) ;"). Outputs are strobed.
std::string cir_text(const std::string& nodes, const std::string& declarations, const std::string& inputs,
                     const std::string& outputs, const std::string& instances);

// Writes text to stem.cir and reads it as a run does up to the circuit
// check: fresh statistics, read, transform, list sizes, check.
void read_checked_circuit(const std::string& stem, const std::string& text);

// The signal or gate of that name; throws when it is absent.
line_C* line_named(const std::string& name);
gate_C* gate_named(const std::string& name);
