// Levels, topological numbers and output depths of the signals.
#pragma once

class circuit_C;
class messages_C;

// Gives every signal its level (longest distance from a primary input, 1 at
// the inputs), its topological number and its output depth (shortest
// distance to a primary output, 1 at the outputs). A signal left without
// level or depth is reported by name and ends the run.
void calculate_planes(circuit_C& circuit, messages_C& messages);
