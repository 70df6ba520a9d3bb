// The line classes of the FAN search: free, bound and head lines.
#pragma once

#include "model/liste.h"

// Every free and head line, in the order of classification.
extern line_liste_C free_lines_C;

// Classifies every signal: a signal reachable from a fanout branch is bound,
// any other free; a free signal that feeds a fanout gate or a gate with a
// bound output is a head line.
void line_structure();
