// Working storage of one gate evaluation of the testability measures. The
// arrays grow to the widest gate met, so no gate is too wide for them.
#pragma once

#include <vector>

#include "app/messages.h"
#include "model/gate.h"
#include "model/line.h"

// contby_0_d and contby_1_d of the driving gate's inputs, in input order.
extern std::vector<double> zero_contby_a;
extern std::vector<double> one_contby_a;
// observaby_d of the successor gate's outputs, in output order, and the
// observability reached through each of them.
extern std::vector<double> nachfolger_observaby_a;
extern std::vector<double> durch_a;
// Number of outputs of the successor gate.
extern int anzahl_outputs_i;
// Products of contby_1_d and contby_0_d over the side inputs of the
// successor gate.
extern double prod_1_contby_f;
extern double prod_0_contby_f;

// Copies the controllabilities of g's inputs into zero_contby_a and
// one_contby_a; false when one of them is not computed yet.
bool copy_input_contby(const gate_C* g);
// Copies the observabilities of g's outputs into nachfolger_observaby_a and
// sets anzahl_outputs_i; false when one of them is not computed yet.
bool copy_output_observaby(const gate_C* g);

// The forward pass shared by both measures: a line is computed once every
// input of its driving gate is (the figure 0.0 marks what is still to do),
// and the pass goes on into its successors. compute(g) sets the line's two
// controllabilities from the copied input figures.
template <class Compute>
void controllability_step(line_C* l, double at_input, const char* count_problem, Compute compute,
                          void (gate_C::*next)()) {
  if (l->contby_1_d != 0.0) return;
  if (l->primary_input_b) {
    l->contby_1_d = l->contby_0_d = l->contby_d = at_input;
  } else {
    const gate_C* g = l->driver();
    const bool ready = copy_input_contby(g);
    if (g->inputs_C.anzahl_i != g->no_inputs_i) error(string_C(count_problem));
    if (!ready) return;  // reached again from the last input
    compute(g);
    l->contby_d = (l->contby_0_d + l->contby_1_d) * 0.5;
  }
  for (int k = 0; k < l->nachfolger_C.anzahl_i; k++) (l->nachfolger_C[k]->*next)();
}

// The backward pass: a line is computed once every output of its successor
// gate is, and the pass goes on into the inputs of its driving gate.
// compute(g) sets the line's observability from the copied output figures.
template <class Compute>
void observability_step(line_C* l, Compute compute, void (gate_C::*next)()) {
  if (l->observaby_d != 0.0) return;
  if (l->primary_output_b) {
    l->observaby_d = 1.0;
    l->testaby_d = l->contby_d;
  } else {
    const gate_C* g = l->successor();
    if (!copy_output_observaby(g)) return;  // reached again from the last output
    compute(g);
    l->testaby_d = l->observaby_d * l->contby_d;
  }
  if (!l->primary_input_b) (l->driver()->*next)();
}
