#include "measures/probabilistic.h"

#include "app/messages.h"
#include "measures/working_storage.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

void line_C::prob_compute_contby() {
  controllability_step(
      this, 0.5, "prob_compute_contby: Problems with number of gate inputs",
      [l = this](const gate_C* g) {
        const int n = g->inputs_C.anzahl_i;
        double product = 1.0;
        switch (g->gate_type_c) {
          case AND_GATE:
            for (int i = 0; i < n; i++) product *= one_contby_a[i];
            l->contby_1_d = product;
            l->contby_0_d = 1 - l->contby_1_d;
            break;
          case NAND_GATE:
            for (int i = 0; i < n; i++) product *= one_contby_a[i];
            l->contby_0_d = product;
            l->contby_1_d = 1 - l->contby_0_d;
            break;
          case OR_GATE:
            for (int i = 0; i < n; i++) product *= zero_contby_a[i];
            l->contby_0_d = product;
            l->contby_1_d = 1 - l->contby_0_d;
            break;
          case NOR_GATE:
            for (int i = 0; i < n; i++) product *= zero_contby_a[i];
            l->contby_1_d = product;
            l->contby_0_d = 1 - l->contby_1_d;
            break;
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
      &gate_C::prob_compute_contby);
}

void gate_C::prob_compute_contby() {
  for (int i = 0; i < outputs_C.anzahl_i; i++) outputs_C[i]->prob_compute_contby();
}

void line_C::prob_compute_observaby() {
  observability_step(
      this,
      [l = this](const gate_C* g) {
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
            through = prod_1_contby_f;
            break;
          case OR_GATE:
          case NOR_GATE:
            through = prod_0_contby_f;
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
      &gate_C::prob_compute_observaby);
}

void gate_C::prob_compute_observaby() {
  for (int i = 0; i < inputs_C.anzahl_i; i++) inputs_C[i]->prob_compute_observaby();
}

void prob_compute_contby() {
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->reset_testaby();
  for (int i = 0; i < input_lines_C.anzahl_i; i++) input_lines_C[i]->prob_compute_contby();
}

void prob_compute_observaby() {
  for (int i = 0; i < output_lines_C.anzahl_i; i++) output_lines_C[i]->prob_compute_observaby();
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->berechne_testaby_kehrwert();
}
