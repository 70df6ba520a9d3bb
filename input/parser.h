// Reading the gate-level circuit file into the circuit model.
#pragma once

class circuit_C;
struct settings_C;

// Reads the file named by the circuit name: every signal into lines_C, every
// gate into gates_C, the primary inputs and outputs into their lists, each
// gate connected, the statistics counted. The Circuit statement cuts the
// circuit name to its stem. A name ending in ".bench" is read as a .bench
// netlist (input/bench_parser.h).
void read_circuit(circuit_C& circuit, settings_C& settings);
