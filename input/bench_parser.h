// Reading a circuit in the .bench netlist format: INPUT(x), OUTPUT(y) and
// gate statements "y = KIND(a, b, ...)" with KIND one of AND, NAND, OR,
// NOR, XOR, XNOR, NOT, BUF, BUFF, DFF (any letter case, any number of
// inputs), "#" comments. The circuit goes into the same records as a .cir
// file, built in the order a .cir translation of the netlist declares them,
// so that both files give the same run.
#pragma once

#include <string>

class circuit_C;
struct settings_C;

// Whether the circuit file name asks for this reader.
bool is_bench_file(const std::string& file_name);

// Reads the netlist text into the circuit. The circuit name becomes the file
// name without ".bench". A malformed netlist is fatal, with a message that
// names the file's line.
void read_bench_circuit(circuit_C& circuit, settings_C& settings, const std::string& text);
