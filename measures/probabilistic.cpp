#include "measures/probabilistic.h"

#include "app/messages.h"
#include "measures/working_storage.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

void line_C::prob_compute_contby() {
  if (contby_1_d != 0.0) return;
  if (primary_input_b) {
    contby_1_d = contby_0_d = contby_d = 0.5;
  } else {
    const gate_C* g = driver();
    bool ready = copy_input_contby(g);
    int n = g->inputs_C.anzahl_i;
    if (n != g->no_inputs_i) error(string_C("prob_compute_contby: Problems with number of gate inputs"));
    if (!ready) return;  // reached again from the last input
    double product = 1.0;
    switch (g->gate_type_c) {
      case AND_GATE:
        for (int i = 0; i < n; i++) product *= one_contby_a[i];
        contby_1_d = product;
        contby_0_d = 1 - contby_1_d;
        break;
      case NAND_GATE:
        for (int i = 0; i < n; i++) product *= one_contby_a[i];
        contby_0_d = product;
        contby_1_d = 1 - contby_0_d;
        break;
      case OR_GATE:
        for (int i = 0; i < n; i++) product *= zero_contby_a[i];
        contby_0_d = product;
        contby_1_d = 1 - contby_0_d;
        break;
      case NOR_GATE:
        for (int i = 0; i < n; i++) product *= zero_contby_a[i];
        contby_1_d = product;
        contby_0_d = 1 - contby_1_d;
        break;
      case EXOR_GATE:
        contby_0_d = zero_contby_a[0] * zero_contby_a[1] + one_contby_a[0] * one_contby_a[1];
        contby_1_d = 1 - contby_0_d;
        break;
      case INVERTER_GATE:
        contby_1_d = zero_contby_a[0];
        contby_0_d = 1 - zero_contby_a[0];
        break;
      case DRIVER_GATE:
      case FANOUT_GATE:
        contby_1_d = one_contby_a[0];
        contby_0_d = 1 - one_contby_a[0];
        break;
      default:
        error(string_C("prob_compute_contby: not implemented for sequential gates"));
    }
    contby_d = (contby_0_d + contby_1_d) * 0.5;
  }
  for (int k = 0; k < nachfolger_C.anzahl_i; k++) nachfolger_C[k]->prob_compute_contby();
}

void gate_C::prob_compute_contby() {
  for (int i = 0; i < outputs_C.anzahl_i; i++) outputs_C[i]->prob_compute_contby();
}

void line_C::prob_compute_observaby() {
  if (observaby_d != 0.0) return;
  if (primary_output_b) {
    observaby_d = 1.0;
    testaby_d = contby_d;
  } else {
    const gate_C* g = successor();
    if (!copy_output_observaby(g)) return;  // reached again from the last output
    prod_1_contby_f = 1.0;
    prod_0_contby_f = 1.0;
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
      const line_C* side = g->inputs_C[i];
      if (side == this) continue;
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
    observaby_d = durch_a[0];
    for (int j = 1; j < anzahl_outputs_i; j++) {
      if (durch_a[j] < observaby_d) observaby_d = durch_a[j];
    }
    testaby_d = observaby_d * contby_d;
  }
  if (!primary_input_b) driver()->prob_compute_observaby();
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
