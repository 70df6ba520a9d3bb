#include "faults/collapsing.h"

#include <cstdlib>
#include <iostream>
#include <vector>

#include "app/run.h"
#include "app/statistic.h"
#include "atpg/targets.h"
#include "faults/fault_kind.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/record_lists.h"
#include "preproc/preprocessing.h"

int aequivalenzen_zahl_i = 0;

// ------------------------------------------------------ relations per gate

int out_Aequivalenztyp(line_C* /*line*/, char gate_type, int k) {
  const bool sa0 = k == STUCK_AT_0_KIND;
  switch (gate_type) {
    case AND_GATE:
      return sa0 ? STUCK_AT_0_KIND : 0;
    case OR_GATE:
      return sa0 ? 0 : STUCK_AT_1_KIND;
    case NAND_GATE:
      return sa0 ? STUCK_AT_1_KIND : 0;
    case NOR_GATE:
      return sa0 ? 0 : STUCK_AT_0_KIND;
    case INVERTER_GATE:
      return sa0 ? STUCK_AT_1_KIND : STUCK_AT_0_KIND;
    case DRIVER_GATE:
      return sa0 ? STUCK_AT_0_KIND : STUCK_AT_1_KIND;
    default:
      return 0;
  }
}

int out_Dominanztyp(line_C* /*line*/, char gate_type, int k) {
  const bool sa0 = k == STUCK_AT_0_KIND;
  switch (gate_type) {
    case AND_GATE:
      return sa0 ? 1 : STUCK_AT_1_KIND;
    case OR_GATE:
      return sa0 ? STUCK_AT_0_KIND : 1;
    case NAND_GATE:
      return sa0 ? 1 : STUCK_AT_0_KIND;
    case NOR_GATE:
      return sa0 ? STUCK_AT_1_KIND : 1;
    case INVERTER_GATE:
      return sa0 ? STUCK_AT_1_KIND : STUCK_AT_0_KIND;
    case DRIVER_GATE:
      return sa0 ? STUCK_AT_0_KIND : STUCK_AT_1_KIND;
    default:
      return 1;
  }
}

// ---------------------------------------------------------- class numbering

void zaehl_aequivalenzen(line_C* line) {
  if (!only_stuck_at_test_b) return;
  for (int k : {STUCK_AT_0_KIND, STUCK_AT_1_KIND}) {
    if (aequi_mark(line, k)) continue;
    aequivalenzen_zahl_i++;
    aequi_mark(line, k) = 1;
    aequi_class(line, k) = aequivalenzen_zahl_i;
    zaehl_aequivalenzen_towards_input(line, k);
    // Along the chain of equivalent gate outputs; where it breaks, the gate
    // output starts classes of its own.
    for_equivalent_outputs(
        line, k,
        [](line_C* out, int r) {
          aequi_class(out, r) = aequivalenzen_zahl_i;
          zaehl_aequivalenzen_towards_input(out, r);
        },
        [](line_C* out) { zaehl_aequivalenzen(out); });
  }
}

void zaehl_aequivalenzen_towards_input(line_C* line, int r) {
  for_equivalent_inputs(line, r, [](line_C* in, int k) {
    aequi_class(in, k) = aequivalenzen_zahl_i;
    zaehl_aequivalenzen_towards_input(in, k);
  });
}

// -------------------------------------------------------------- target list

int compare_zielfehler(const void* a, const void* b) {
  const line_value_t* first = static_cast<const line_value_t*>(a);
  const line_value_t* second = static_cast<const line_value_t*>(b);
  return second->line_p->plane_i - first->line_p->plane_i;
}

namespace {

void sort_targets() {
  std::cout << "\tSort Fault List\n" << std::flush;
  std::qsort(zielfehler_C.elemente_p.data(), zielfehler_C.anzahl_i, sizeof(line_value_t), compare_zielfehler);
}

}  // namespace

void gib_aequi_klassen_zahl() {
  const int faults = 2 * number_of_lines();
  aequivalenzen_zahl_i = 0;
  line_value_liste_C candidates;
  candidates.init(faults);
  // Indexed by class number, which runs from 1 up to the number of faults.
  std::vector<char> class_used(faults + 1, 0);

  std::cout << "\tCreate Fault-List\n" << std::flush;
  if (only_stuck_at_test_b && !stuck_at_test_without_branches_b) {
    erstelle_zielfehlerliste(candidates);
    clear_aequi_marks();
    for (int i = 0; i < candidates.anzahl_i; i++) zaehl_aequivalenzen(candidates[i]->line_p);
    clear_aequi_marks();

    for (int i = 0; i < candidates.anzahl_i; i++) {
      line_C* l = candidates[i]->line_p;
      const char v = candidates[i]->value_c;
      const int klasse = v == ZERO ? l->aequi_class_0_i : l->aequi_class_1_i;
      if (class_used[klasse]) continue;
      class_used[klasse] = 1;
      zielfehler_C.fuege_ein(l, v, 0);
    }
    sort_targets();

    // Classes no candidate stands for get a member after the sorted part.
    for (int i = 0; i < lines_C.anzahl_i; i++) {
      line_C* l = lines_C[i];
      if (!class_used[l->aequi_class_0_i]) {
        class_used[l->aequi_class_0_i] = 1;
        zielfehler_C.fuege_ein(l, ZERO, 0);
      }
      if (!class_used[l->aequi_class_1_i]) {
        class_used[l->aequi_class_1_i] = 1;
        zielfehler_C.fuege_ein(l, ONE, 0);
      }
    }
  } else if (!path_delay_test_b) {
    erstelle_zielfehlerliste(zielfehler_C);
    sort_targets();
  }
}

// ---------------------------------------------------------- status transfer

namespace {

// Only targets go to the detected-fault list, and each only once.
void add_detected(line_C* l, int k) {
  const char v = test_value_of(k);
  if (zielfehler_C.element_in_liste(l, v, 0) && !hilf_C.element_in_liste(l, v, 0)) hilf_C.fuege_ein(l, v, 1);
}

void mark_done(line_C* l, int k) {
  done_flag(l, k) = 1;
  aborted_flag(l, k) = 0;
  add_detected(l, k);
  if (l->sa0_done_b && l->sa1_done_b) {
    l->stuck_at_done_b = 1;
    if (only_stuck_at_test_b && (l->primary_input_b || l->driver()->gate_type_c != BLOCK_GATE)) {
      l->test_done_b = 1;
    }
  }
}

}  // namespace

void mark_all(line_C* line, int k) {
  if (!only_stuck_at_test_b || flt_read_b) return;
  line_C* cur = line;
  int kind = k;
  for (;;) {
    mark_aequivalenzen_towards_input(cur);
    if (ends_class_walk(cur)) {
      mark_aequivalenzen_towards_input(cur);
      return;
    }
    gate_C* g = cur->successor();
    line_C* out = g->output();
    const int r = out_Aequivalenztyp(cur, g->gate_type_c, kind);
    if (r != 0) {
      if (done_flag(out, r) || redundant_flag(out, r)) return;
      if (aborted_flag(cur, kind) || redundant_flag(cur, kind)) {
        aborted_flag(out, r) = aborted_flag(cur, kind);
        if (redundant_flag(cur, kind)) {
          redundant_flag(out, r) = 1;
          add_detected(out, r);
        }
      }
      if (done_flag(cur, kind)) mark_done(out, r);
      cur = out;
      kind = r;
      continue;
    }

    mark_aequivalenzen_towards_input(cur);
    const int d = out_Dominanztyp(cur, g->gate_type_c, kind);
    const bool dominated = d == STUCK_AT_0_KIND || d == STUCK_AT_1_KIND;
    if (redundant_flag(cur, kind)) {
      // A redundant fault no longer covers the one dominating it: that one
      // needs a test of its own.
      if (dominated && !zielfehler_C.element_in_liste(out, test_value_of(d), 0) && !redundant_flag(out, d) &&
          !done_flag(out, d) && !aborted_flag(out, d)) {
        zielfehler_C.fuege_ein(out, test_value_of(d), 0);
      }
      return;
    }
    if (!dominated) return;
    if (done_flag(cur, kind) && !done_flag(out, d)) mark_done(out, d);
    if (aborted_flag(cur, kind) && !done_flag(out, d) && !redundant_flag(out, d) && !aborted_flag(out, d)) {
      aborted_flag(out, d) = 1;
    }
    cur = out;
    kind = d;
  }
}

void mark_aequivalenzen_towards_input(line_C* line) {
  if (line->primary_input_b) return;
  gate_C* g = line->driver();
  for (int k : {STUCK_AT_0_KIND, STUCK_AT_1_KIND}) {
    for (int i = 0; i < g->no_inputs_i; i++) {
      line_C* in = g->inputs_C[i];
      if (in->successor()->gate_type_c == FANOUT_GATE) continue;
      const int e = out_Aequivalenztyp(in, g->gate_type_c, k);
      if (e == 0) continue;
      const bool untouched = !done_flag(in, k) && !aborted_flag(in, k) && !redundant_flag(in, k);
      const bool failed = redundant_flag(line, e) || aborted_flag(line, e);
      if ((untouched && failed) || (aborted_flag(in, k) && redundant_flag(line, e))) {
        aborted_flag(in, k) = aborted_flag(line, e);
        if (redundant_flag(line, e)) {
          redundant_flag(in, k) = 1;
          add_detected(in, k);
        }
        mark_aequivalenzen_towards_input(in);
      }
      if (!done_flag(in, k) && done_flag(line, e)) {
        mark_done(in, k);
        mark_aequivalenzen_towards_input(in);
      }
    }
  }
}
