// Feedback loops and reconvergent paths, found by a depth-first search from
// every primary input.
#pragma once

class circuit_C;

// Marks the gates where paths reconverge, the signals and gates of feedback
// loops, and sets the feedback flag of the circuit statistics.
void feedback_analyse(circuit_C& circuit);
