// What a target is in each fault model, the order in which targets are
// taken, how a fault is injected and how a failed search is recorded.
#pragma once

#include "model/record_lists.h"

class line_C;

// The single-line targets, and the pairs to drop from them after the
// present target.
extern line_value_liste_C zielfehler_C;
extern line_value_liste_C hilf_C;

// Appends the single-line targets of the selected model to list.
void erstelle_zielfehlerliste(line_value_liste_C& list);
// The next target (its fault injected), or null.
line_value_t* gen_fault();
// Removes every pair of hilf_C from the target list and empties hilf_C.
void drop_hilf_from_targets();
