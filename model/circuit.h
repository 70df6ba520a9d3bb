// The circuit itself: every signal, the primary inputs and outputs and every
// gate, as plain pointers to records that live until the end of the run.
#pragma once

#include "model/liste.h"

extern line_liste_C lines_C;
extern line_liste_C input_lines_C;
extern line_liste_C output_lines_C;
extern gate_liste_C gates_C;
extern line_liste_C pseudo_inputs_C;
extern line_liste_C pseudo_outputs_C;

// Room of the global lists before the circuit is known.
constexpr int max_lines = 400000;
constexpr int max_gates = 350000;
