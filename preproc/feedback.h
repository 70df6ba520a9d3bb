// Feedback loops and reconvergent paths, found by a depth-first search from
// every primary input.
#pragma once

#include "model/liste.h"

// Marks the gates where paths reconverge, the signals and gates of feedback
// loops, and sets the feedback flag of the circuit statistics.
void feedback_analyse();

// One step of the search: s is the next signal after the last one of path.
// path must hold only what this search put on it.
void test_feedback(line_liste_C& path, line_C* s);
