#include "preproc/constraint_analysis.h"

#include <fstream>
#include <string>

#include "app/run.h"
#include "atpg/driver.h"
#include "model/circuit.h"
#include "model/gate.h"

gate_liste_C blocks_C;
gate_liste_C tested_blocks_C;

void constraint_analysis() {
  std::ofstream file(std::string(schaltungsname_s) + ".constr_ana", std::ios::trunc);
  reset_net(TEST_FOUND);
  for (int i = 0; i < gates_C.anzahl_i; i++) {
    const gate_C* g = gates_C[i];
    // A reconvergent block would be analysed here; blocks end the run earlier.
    if (g->gate_type_c == BLOCK_GATE && g->reconvergent_b) break;
  }
  reset_net(TEST_FOUND);
}
