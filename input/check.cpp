#include "input/check.h"

#include <string>

#include "base/messages.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

void finding(const char* message, const std::string& name) {
  error(string_C(std::string(message) + name));
}

}  // namespace

void proof(const circuit_C& circuit) {
  const line_liste_C& lines_C = circuit.lines_C;
  const gate_liste_C& gates_C = circuit.gates_C;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    const line_C* l = lines_C[i];
    if (!l->primary_input_b && l->vorgaenger_C.anzahl_i == 0) {
      finding("proof: line without sender must be input:  ", l->name_s);
    }
    if (!l->primary_output_b && l->nachfolger_C.anzahl_i == 0) {
      finding("proof: not connected line must be output:  ", l->name_s);
    }
    if (l->nachfolger_C.anzahl_i > 1) finding("proof: too many output at:  ", l->name_s);
    if (l->vorgaenger_C.anzahl_i > 1) finding("proof: too many sender of:  ", l->name_s);
  }
  for (int i = 0; i < gates_C.anzahl_i; i++) {
    const gate_C* g = gates_C[i];
    if (g->outputs_C.anzahl_i > 1 && g->gate_type_c != FANOUT_GATE)
      finding("proof: too many outputs at:  ", g->name_s);
    if (g->outputs_C.anzahl_i == 0) finding("proof: too less outputs at:  ", g->name_s);
    if (g->inputs_C.anzahl_i == 0) finding("proof: too less inputs at:  ", g->name_s);
  }
}
