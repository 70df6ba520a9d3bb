#include "preproc/cones.h"

#include "model/gate.h"
#include "model/line.h"

// A signal already marked has its cone marked too, so it is not visited
// again; clearing the marks belongs to the reset of the network.

void output_kegel(line_C* s) {
  if (s->in_ausgangskegel_b) return;
  s->in_ausgangskegel_b = 1;
  if (s->primary_output_b) return;
  const gate_C* g = s->successor();
  for (int i = 0; i < g->outputs_C.anzahl_i; i++) output_kegel(g->outputs_C[i]);
}

void input_kegel(line_C* s) {
  if (s->in_eingangskegel_b) return;
  s->in_eingangskegel_b = 1;
  if (s->primary_input_b) return;
  const gate_C* g = s->driver();
  for (int i = 0; i < g->inputs_C.anzahl_i; i++) input_kegel(g->inputs_C[i]);
}
