#include "measures/probabilistic.h"

#include "base/messages.h"
#include "measures/working_storage.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

class probabilistic_C : measure_storage_C {
 public:
  void prob_compute_contby(line_C* l);
  void prob_compute_contby(gate_C* g) {
    for (int i = 0; i < g->outputs_C.anzahl_i; i++) prob_compute_contby(g->outputs_C[i]);
  }
  void prob_compute_observaby(line_C* l);
  void prob_compute_observaby(gate_C* g) {
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) prob_compute_observaby(g->inputs_C[i]);
  }
};

void probabilistic_C::prob_compute_contby(line_C* line) {
  controllability_step(
      line, 0.5, "prob_compute_contby: Problems with number of gate inputs",
      [this, l = line](const gate_C* g) {
        const int n = g->inputs_C.anzahl_i;
        const gate_semantics_t sem = g->semantics();
        switch (g->gate_type_c) {
          case AND_GATE:
          case NAND_GATE:
          case OR_GATE:
          case NOR_GATE: {
            // The output leaves its controlled value only when every input
            // holds the non-controlling one.
            const unsigned char nc = mynot(sem.controlling_value_c);
            const std::vector<double>& side = nc == ONE ? one_contby_a : zero_contby_a;
            double product = 1.0;
            for (int i = 0; i < n; i++) product *= side[i];
            const bool uncontrolled_one = (nc == ONE) != sem.inverting_b;
            (uncontrolled_one ? l->contby_1_d : l->contby_0_d) = product;
            (uncontrolled_one ? l->contby_0_d : l->contby_1_d) = 1 - product;
            break;
          }
          case EXOR_GATE:
            l->contby_0_d = zero_contby_a[0] * zero_contby_a[1] + one_contby_a[0] * one_contby_a[1];
            l->contby_1_d = 1 - l->contby_0_d;
            break;
          case INVERTER_GATE:
            l->contby_1_d = zero_contby_a[0];
            l->contby_0_d = 1 - zero_contby_a[0];
            break;
          case DRIVER_GATE:
          case FANOUT_GATE:
            l->contby_1_d = one_contby_a[0];
            l->contby_0_d = 1 - one_contby_a[0];
            break;
          default:
            error(string_C("prob_compute_contby: not implemented for sequential gates"));
        }
      },
      [this](gate_C* g) { prob_compute_contby(g); });
}

void probabilistic_C::prob_compute_observaby(line_C* line) {
  observability_step(
      line,
      [this, l = line](const gate_C* g) {
        prod_1_contby_f = 1.0;
        prod_0_contby_f = 1.0;
        for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
          const line_C* side = g->inputs_C[i];
          if (side == l) continue;
          prod_1_contby_f *= side->contby_1_d;
          prod_0_contby_f *= side->contby_0_d;
        }
        double through = 1.0;  // what the side inputs let pass
        switch (g->gate_type_c) {
          case AND_GATE:
          case NAND_GATE:
          case OR_GATE:
          case NOR_GATE:
            // The side inputs must hold the non-controlling value.
            through = g->controlling_value() == ZERO ? prod_1_contby_f : prod_0_contby_f;
            break;
          case EXOR_GATE:
          case INVERTER_GATE:
          case DRIVER_GATE:
          case FANOUT_GATE:
            break;
          default:
            error(string_C("prob_compute_observaby: not implemented for sequential gates"));
        }
        for (int j = 0; j < anzahl_outputs_i; j++) durch_a[j] = nachfolger_observaby_a[j] * through;
        l->observaby_d = durch_a[0];
        for (int j = 1; j < anzahl_outputs_i; j++) {
          if (durch_a[j] < l->observaby_d) l->observaby_d = durch_a[j];
        }
      },
      [this](gate_C* g) { prob_compute_observaby(g); });
}

}  // namespace

void prob_compute_contby(circuit_C& circuit) {
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) circuit.lines_C[i]->reset_testaby();
  probabilistic_C pass;
  for (int i = 0; i < circuit.input_lines_C.anzahl_i; i++) pass.prob_compute_contby(circuit.input_lines_C[i]);
}

void prob_compute_observaby(circuit_C& circuit) {
  probabilistic_C pass;
  for (int i = 0; i < circuit.output_lines_C.anzahl_i; i++) {
    pass.prob_compute_observaby(circuit.output_lines_C[i]);
  }
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) circuit.lines_C[i]->berechne_testaby_kehrwert();
}
