#include "preproc/constraint_analysis.h"

#include <fstream>
#include <string>

#include "base/settings.h"
#include "implication/implication.h"
#include "model/circuit.h"
#include "model/gate.h"

void constraint_analysis(const settings_C& settings, implication_C& imp) {
  std::ofstream file(settings.schaltungsname_s + ".constr_ana", std::ios::trunc);
  imp.reset_net(TEST_FOUND);
  const gate_liste_C& gates_C = imp.circuit.gates_C;
  for (int i = 0; i < gates_C.anzahl_i; i++) {
    const gate_C* g = gates_C[i];
    // A reconvergent block would be analysed here; blocks end the run earlier.
    if (g->gate_type_c == BLOCK_GATE && g->reconvergent_b) break;
  }
  imp.reset_net(TEST_FOUND);
}
