#include "model/circuit.h"

line_liste_C lines_C;
line_liste_C input_lines_C;
line_liste_C output_lines_C;
gate_liste_C gates_C;
line_liste_C pseudo_inputs_C;
line_liste_C pseudo_outputs_C;
