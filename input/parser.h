// Reading the gate-level circuit file into the circuit model.
#pragma once

// The four delay values of a long-form Con header; stored, not used.
extern int rd_i, fd_i, rdt_i, fdt_i;

// Reads the file named by the circuit name: every signal into lines_C, every
// gate into gates_C, the primary inputs and outputs into their lists, each
// gate connected, the statistics counted. The Circuit statement cuts the
// circuit name to its stem.
void read_circuit();
