// The preprocessing of a checked circuit: structure analysis in a fixed
// order, between the circuit check and test generation.
#pragma once

class gate_C;

// Set by static learning; the learning phases repeat while it is 1.
extern char something_learned_b;
// Number of implications static learning found.
extern int learned_implications_i;
// 1 when the target faults were read from a fault list file.
extern char flt_read_b;

// The whole preprocessing; simulate is 1 when the run only simulates a
// pattern file.
void praeprocessing(char simulate);

// Blocks are not supported: asking for a block's cubes ends the run.
[[noreturn]] void get_block_cube(gate_C* block);
