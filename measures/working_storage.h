// The scheme both testability measures share, and the working storage of
// one gate evaluation. The arrays grow to the widest gate met, so no gate is
// too wide for them.
#pragma once

#include <vector>

#include "base/messages.h"
#include "model/gate.h"
#include "model/line.h"

class measure_storage_C {
 public:
  // contby_0_d and contby_1_d of the driving gate's inputs, in input order.
  std::vector<double> zero_contby_a;
  std::vector<double> one_contby_a;
  // observaby_d of the successor gate's outputs, in output order, and the
  // observability reached through each of them.
  std::vector<double> nachfolger_observaby_a;
  std::vector<double> durch_a;
  // Number of outputs of the successor gate.
  int anzahl_outputs_i = 0;
  // Products of contby_1_d and contby_0_d over the side inputs of the
  // successor gate.
  double prod_1_contby_f = 1.0;
  double prod_0_contby_f = 1.0;

  // Copies the controllabilities of g's inputs into zero_contby_a and
  // one_contby_a; false when one of them is not computed yet.
  bool copy_input_contby(const gate_C* g);
  // Copies the observabilities of g's outputs into nachfolger_observaby_a and
  // sets anzahl_outputs_i; false when one of them is not computed yet.
  bool copy_output_observaby(const gate_C* g);

  // The forward pass: a line is computed once every input of its driving
  // gate is (the figure 0.0 marks what is still to do), and the pass goes on
  // into its successors with next(gate). compute(g) sets the line's two
  // controllabilities from the copied input figures.
  template <class Compute, class Next>
  void controllability_step(line_C* l, double at_input, const char* count_problem, Compute compute,
                            Next next) {
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
    for (int k = 0; k < l->nachfolger_C.anzahl_i; k++) next(l->nachfolger_C[k]);
  }

  // The backward pass: a line is computed once every output of its successor
  // gate is, and the pass goes on into the inputs of its driving gate with
  // next(gate). compute(g) sets the line's observability from the copied
  // output figures.
  template <class Compute, class Next>
  void observability_step(line_C* l, Compute compute, Next next) {
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
    if (!l->primary_input_b) next(l->driver());
  }
};
