// A circuit's combinational part as a structural Verilog module: the
// circuit read and transformed as quarn reads it, so that flip-flops are cut
// and the module's ports are the pattern file's inputs and outputs, in the
// header's order.
#pragma once

#include <ostream>
#include <string>

class circuit_C;

// Writes the module of a transformed circuit with gate primitives (and, or,
// nand, nor, xor, not, buf); every name is made a legal Verilog identifier.
void write_verilog_module(std::ostream& out, const circuit_C& circuit, const std::string& module_name);
