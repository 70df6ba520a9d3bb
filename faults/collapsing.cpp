#include "faults/collapsing.h"

#include <cstdlib>
#include <iostream>
#include <vector>

#include "base/settings.h"
#include "faults/fault_kind.h"
#include "faults/target_list.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/record_lists.h"

// ------------------------------------------------------ relations per gate

// An input stuck at the controlling value is the output stuck at the value
// it forces; an inverter or driver passes each fault on, inverted or not.
int out_Aequivalenztyp(line_C* /*line*/, char gate_type, int k) {
  const gate_semantics_t sem = semantics_of(gate_type);
  const unsigned char stuck = test_value_of(k);
  if (sem.has_controlling_value()) return stuck == sem.controlling_value_c ? kind_of(sem.forced_output()) : 0;
  if (gate_type == INVERTER_GATE || gate_type == DRIVER_GATE)
    return kind_of(sem.inverting_b ? mynot(stuck) : stuck);
  return 0;
}

// An input stuck at the non-controlling value is dominated by the output
// stuck at the value all non-controlling inputs give.
int out_Dominanztyp(line_C* line, char gate_type, int k) {
  const gate_semantics_t sem = semantics_of(gate_type);
  const unsigned char stuck = test_value_of(k);
  if (sem.has_controlling_value()) {
    return stuck == mynot(sem.controlling_value_c) ? kind_of(mynot(sem.forced_output())) : 1;
  }
  if (gate_type == INVERTER_GATE || gate_type == DRIVER_GATE) return out_Aequivalenztyp(line, gate_type, k);
  return 1;
}

collapsing_C::collapsing_C(circuit_C& circuit, const settings_C& settings, implication_C& imp,
                           target_list_C& targets)
    : circuit_(circuit), settings_(settings), imp_(imp), targets_(targets) {}

// ---------------------------------------------------------- class numbering

void collapsing_C::zaehl_aequivalenzen(line_C* line) {
  if (!settings_.only_stuck_at_test_b) return;
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
        [this](line_C* out, int r) {
          aequi_class(out, r) = aequivalenzen_zahl_i;
          zaehl_aequivalenzen_towards_input(out, r);
        },
        [this](line_C* out) { zaehl_aequivalenzen(out); });
  }
}

void collapsing_C::zaehl_aequivalenzen_towards_input(line_C* line, int r) {
  for_equivalent_inputs(line, r, [this](line_C* in, int k) {
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

void sort_by_falling_level(line_value_liste_C& zielfehler_C) {
  if (zielfehler_C.anzahl_i < 2) return;  // an empty list may have no storage yet
  std::qsort(zielfehler_C.elemente_p.data(), zielfehler_C.anzahl_i, sizeof(line_value_t), compare_zielfehler);
}

void collapsing_C::sort_targets() {
  std::cout << "\tSort Fault List\n" << std::flush;
  sort_by_falling_level(targets_.zielfehler_C);
}

void collapsing_C::gib_aequi_klassen_zahl() {
  line_value_liste_C& zielfehler_C = targets_.zielfehler_C;
  const int faults = 2 * circuit_.number_of_lines();
  aequivalenzen_zahl_i = 0;
  line_value_liste_C candidates;
  candidates.init(faults);
  // Indexed by class number, which runs from 1 up to the number of faults.
  std::vector<char> class_used(faults + 1, 0);

  std::cout << "\tCreate Fault-List\n" << std::flush;
  if (settings_.only_stuck_at_test_b && !settings_.stuck_at_test_without_branches_b) {
    targets_.erstelle_zielfehlerliste(candidates);
    clear_aequi_marks(circuit_);
    for (int i = 0; i < candidates.anzahl_i; i++) zaehl_aequivalenzen(candidates[i]->line_p);
    clear_aequi_marks(circuit_);

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
    for (int i = 0; i < circuit_.lines_C.anzahl_i; i++) {
      line_C* l = circuit_.lines_C[i];
      if (!class_used[l->aequi_class_0_i]) {
        class_used[l->aequi_class_0_i] = 1;
        zielfehler_C.fuege_ein(l, ZERO, 0);
      }
      if (!class_used[l->aequi_class_1_i]) {
        class_used[l->aequi_class_1_i] = 1;
        zielfehler_C.fuege_ein(l, ONE, 0);
      }
    }
  } else if (!settings_.path_delay_test_b) {
    targets_.erstelle_zielfehlerliste(zielfehler_C);
    sort_targets();
  }
}

// ---------------------------------------------------------- status transfer

// Only targets go to the detected-fault list, and each only once.
void collapsing_C::add_detected(line_C* l, int k) {
  const char v = test_value_of(k);
  if (targets_.is_target(l, v) && !targets_.hilf_C.element_in_liste(l, v, 0)) {
    targets_.hilf_C.fuege_ein(l, v, 1);
  }
}

void collapsing_C::mark_done(line_C* l, int k) {
  done_flag(l, k) = 1;
  aborted_flag(l, k) = 0;
  add_detected(l, k);
  if (l->sa0_done_b && l->sa1_done_b) {
    l->stuck_at_done_b = 1;
    if (settings_.only_stuck_at_test_b && (l->primary_input_b || l->driver()->gate_type_c != BLOCK_GATE)) {
      l->test_done_b = 1;
    }
  }
}

void collapsing_C::mark_all(line_C* line, int k) {
  if (!settings_.only_stuck_at_test_b || targets_.flt_read_b) return;
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
      if (dominated && !targets_.is_target(out, test_value_of(d)) && !redundant_flag(out, d) &&
          !done_flag(out, d) && !aborted_flag(out, d)) {
        targets_.add_target(out, test_value_of(d));
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

void collapsing_C::mark_aequivalenzen_towards_input(line_C* line) {
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
