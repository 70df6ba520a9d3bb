// The reconvergence analysis of block gates. No block survives
// preprocessing, so it only leaves its (empty) file behind.
#pragma once

#include "model/liste.h"

// The block gates of the circuit, and those analysed so far.
extern gate_liste_C blocks_C;
extern gate_liste_C tested_blocks_C;

void constraint_analysis();
