// The working sets of one search: the lines to imply, the D-frontier, the
// unjustified bound lines, the target and the flags implication keeps.
#pragma once

#include "model/liste.h"

class line_C;
class gate_C;

extern line_liste_C implication_line_C;
extern line_liste_C d_front_C;
extern line_liste_C unjustified_bound_line_C;
extern line_liste_C unjustified_free_line_C;
extern line_liste_C tmp_line_liste_C;
extern line_liste_C hilf_imp_line_C;
extern gate_liste_C tmp_gate_liste_C;

// The target line; its bad value is the injected fault.
extern line_C* ziel_line_p;

extern char input_kegel_changed_b;
extern char d_front_changed_b;
extern char bound_line_in_back_implication_ausgefuegt_b;
extern gate_C* inconsistent_gate_p;

// Sizes every working set for a circuit of the given number of lines and gates.
void init_working_sets(int lines, int gates);
