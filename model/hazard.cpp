#include "model/hazard.h"

#include "model/line.h"

void forget_hazard_memo(gate_C* g) {
  g->hazard_state_c = 0;
  for (int i = 0; i < g->outputs_C.anzahl_i; i++) {
    line_C* out = g->outputs_C[i];
    if (!out->primary_output_b) clear_hazard_bits(out->successor());
  }
}
