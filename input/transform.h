// Turning the circuit as read into the form test generation works on:
// explicit fanout gates, no dangling logic, no flip-flops.
#pragma once

class line_C;
class gate_C;

void transform_circuit();
void make_fanout_blocks();
void remove_unconnected_outputs();
void make_comb_circuit();
// Deletes line and, recursively, the logic that only fed it.
void destroy_unconnected(line_C* line, gate_C* driver, int& removed);

// Deletes every signal and gate of the circuit and empties its lists and
// name indexes, so that another circuit can be read into the process.
void release_circuit();
