#include "faults/hazard.h"

#include "model/gate.h"
#include "model/line.h"

void clear_hazard_bits(gate_C* g) {
  if (g->hazard_state_c == 0) return;
  g->hazard_state_c = 0;
  for (int i = 0; i < g->outputs_C.anzahl_i; i++) {
    line_C* out = g->outputs_C[i];
    if (!out->primary_output_b) clear_hazard_bits(out->successor());
  }
}
