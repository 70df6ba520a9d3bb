// The report counts equivalence classes, not faults: a class with an aborted
// or a redundant member counts once however many of its faults carry it.
#include "base/settings.h"
#include "faults/collapsing.h"
#include "faults/fault_kind.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

void collapsing_C::gib_redundanz_aborted_klassen_anzahl() {
  // Every report collects afresh: the list has room for each line once, and
  // a line whose abort was retried since the last report no longer belongs.
  red_abo_liste_C.anzahl_i = 0;
  for (int i = 0; i < circuit_.lines_C.anzahl_i; i++) {
    line_C* l = circuit_.lines_C[i];
    if (l->sa0_aborted_b || l->sa1_aborted_b || l->sa0_redundant_b || l->sa1_redundant_b) {
      red_abo_liste_C.fuege_ein(l);
    }
  }
  for (test_typ_t typ : {TEST_TYP_ABORTED, TEST_TYP_REDUNDANT}) {
    clear_aequi_marks(circuit_);
    for (int i = 0; i < red_abo_liste_C.anzahl_i; i++) {
      zaehl_abort_u_redunant_klassen(red_abo_liste_C[i], typ, STUCK_AT_0_KIND);
      zaehl_abort_u_redunant_klassen(red_abo_liste_C[i], typ, STUCK_AT_1_KIND);
    }
  }
  clear_aequi_marks(circuit_);
}

void collapsing_C::zaehl_abort_u_redunant_klassen(line_C* line, test_typ_t typ, int k) {
  if (!settings_.only_stuck_at_test_b || aequi_mark(line, k)) return;
  if (typ == TEST_TYP_ABORTED && aborted_flag(line, k)) {
    aborted_klassen_zahl_i++;
  } else if (typ == TEST_TYP_REDUNDANT && redundant_flag(line, k)) {
    redundanz_klassen_zahl_i++;
  } else {
    return;
  }
  aequi_mark(line, k) = 1;
  // The rest of the class is marked so that no other member counts it again.
  zaehl_abort_u_redunant_klassen_towards_input(line, typ, k);
  for_equivalent_outputs(
      line, k, [this, typ](line_C* out, int r) { zaehl_abort_u_redunant_klassen_towards_input(out, typ, r); },
      [this, typ](line_C* out) {
        zaehl_abort_u_redunant_klassen(out, typ, STUCK_AT_0_KIND);
        zaehl_abort_u_redunant_klassen(out, typ, STUCK_AT_1_KIND);
      });
}

void collapsing_C::zaehl_abort_u_redunant_klassen_towards_input(line_C* line, test_typ_t typ, int k) {
  for_equivalent_inputs(line, k, [this, typ](line_C* in, int kind) {
    zaehl_abort_u_redunant_klassen_towards_input(in, typ, kind);
  });
}
