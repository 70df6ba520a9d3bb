// Turning the circuit as read into the form test generation works on:
// explicit fanout gates, no dangling logic, no flip-flops.
#pragma once

class circuit_C;
class line_C;
class gate_C;

void transform_circuit(circuit_C& circuit);
void make_fanout_blocks(circuit_C& circuit);
void remove_unconnected_outputs(circuit_C& circuit);
void make_comb_circuit(circuit_C& circuit);
// Deletes line and, recursively, the logic that only fed it.
void destroy_unconnected(circuit_C& circuit, line_C* line, gate_C* driver, int& removed);
