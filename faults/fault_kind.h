// The stuck-at status of a line addressed by fault kind, shared by the class
// walks of the collapsing and of the class count.
#pragma once

#include "faults/collapsing.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/values.h"

inline char& aequi_mark(line_C* l, int k) {
  return k == STUCK_AT_0_KIND ? l->aequi_mark_0_b : l->aequi_mark_1_b;
}
inline int& aequi_class(line_C* l, int k) {
  return k == STUCK_AT_0_KIND ? l->aequi_class_0_i : l->aequi_class_1_i;
}
inline char& done_flag(line_C* l, int k) {
  return k == STUCK_AT_0_KIND ? l->sa0_done_b : l->sa1_done_b;
}
inline char& aborted_flag(line_C* l, int k) {
  return k == STUCK_AT_0_KIND ? l->sa0_aborted_b : l->sa1_aborted_b;
}
inline char& redundant_flag(line_C* l, int k) {
  return k == STUCK_AT_0_KIND ? l->sa0_redundant_b : l->sa1_redundant_b;
}
// The test value under which the target list carries the fault.
inline char test_value_of(int k) {
  return k == STUCK_AT_0_KIND ? ZERO : ONE;
}
// The kind of the stuck-at fault with the given stuck value.
inline int kind_of(unsigned char stuck_value) {
  return stuck_value == ZERO ? STUCK_AT_0_KIND : STUCK_AT_1_KIND;
}

// Walks through a gate unless it is a fanout gate: a stem and its branches
// never share a class.
inline bool ends_class_walk(const line_C* l) {
  return l->primary_output_b || l->successor()->gate_type_c == FANOUT_GATE;
}

// Visits, backwards from the output fault of kind r at line, every unmarked
// input fault equivalent to it (marking it first), with visit(input, kind);
// visit continues the walk from there.
template <class Visit>
void for_equivalent_inputs(line_C* line, int r, Visit visit) {
  if (r == 0 || line->primary_input_b) return;
  gate_C* g = line->driver();
  for (int k : {STUCK_AT_0_KIND, STUCK_AT_1_KIND}) {
    for (int i = 0; i < g->no_inputs_i; i++) {
      line_C* in = g->inputs_C[i];
      if (in->successor()->gate_type_c == FANOUT_GATE) continue;
      if (out_Aequivalenztyp(in, g->gate_type_c, k) != r || aequi_mark(in, k)) continue;
      aequi_mark(in, k) = 1;
      visit(in, k);
    }
  }
}

// Walks forwards from the fault of kind k at line along the chain of
// equivalent gate outputs: each output fault reached is marked and handed to
// member(output, kind); where the chain breaks at a gate, its output goes to
// broken(output) and the walk ends.
template <class Member, class Broken>
void for_equivalent_outputs(line_C* line, int k, Member member, Broken broken) {
  while (!ends_class_walk(line)) {
    gate_C* g = line->successor();
    line_C* out = g->output();
    const int r = out_Aequivalenztyp(line, g->gate_type_c, k);
    if (r == 0) {
      broken(out);
      return;
    }
    aequi_mark(out, r) = 1;
    member(out, r);
    line = out;
    k = r;
  }
}

inline void clear_aequi_marks(const circuit_C& circuit) {
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    circuit.lines_C[i]->aequi_mark_0_b = 0;
    circuit.lines_C[i]->aequi_mark_1_b = 0;
  }
}
