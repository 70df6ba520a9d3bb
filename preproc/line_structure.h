// The line classes of the FAN search: free, bound and head lines.
#pragma once

class circuit_C;

// Classifies every signal: a signal reachable from a fanout branch is bound,
// any other free; a free signal that feeds a fanout gate or a gate with a
// bound output is a head line. The free and head lines are collected in the
// circuit's free_lines_C, in the order of classification.
void line_structure(circuit_C& circuit);
