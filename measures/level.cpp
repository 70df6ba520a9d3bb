#include "measures/level.h"

#include "app/messages.h"
#include "measures/working_storage.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// The effort that stands for "very hard"; larger than any count of gates.
constexpr double hard = 350000.0;

}  // namespace

void line_C::level_compute_contby() {
  controllability_step(
      this, 1.0, "level_compute_contby: problems with number of gate inputs",
      [l = this](const gate_C* g) {
        const int n = g->inputs_C.anzahl_i;
        double scan = 0.0;
        switch (g->gate_type_c) {
          case INVERTER_GATE:
            l->contby_1_d = zero_contby_a[0];
            l->contby_0_d = one_contby_a[0];
            break;
          case DRIVER_GATE:
          case FANOUT_GATE:
            l->contby_1_d = one_contby_a[0];
            l->contby_0_d = zero_contby_a[0];
            break;
          case AND_GATE:
            scan = 1.0;
            for (int i = 0; i < n; i++) {
              if (one_contby_a[i] > scan) scan = one_contby_a[i];
            }
            l->contby_1_d = scan + 1.0;
            l->contby_0_d = hard + 1.0;
            break;
          case OR_GATE:
            scan = hard;
            for (int i = 0; i < n; i++) {
              if (one_contby_a[i] < scan) scan = one_contby_a[i];
            }
            l->contby_1_d = scan + 1.0;
            l->contby_0_d = 1.0 + 1.0;
            break;
          case NAND_GATE:
            scan = 1.0;
            for (int i = 0; i < n; i++) {
              if (one_contby_a[i] > scan) scan = one_contby_a[i];
            }
            l->contby_1_d = hard + 1.0;
            l->contby_0_d = scan + 1.0;
            break;
          case NOR_GATE:
            scan = hard;
            for (int i = 0; i < n; i++) {
              if (one_contby_a[i] < scan) scan = one_contby_a[i];
            }
            l->contby_1_d = 1.0 + 1.0;
            l->contby_0_d = scan + 1.0;
            break;
          case EXOR_GATE: {
            double equal_zero = zero_contby_a[0] + zero_contby_a[1];
            double equal_one = one_contby_a[0] + one_contby_a[1];
            l->contby_0_d = (equal_zero < equal_one ? equal_zero : equal_one) + 1.0;
            double first = one_contby_a[0] + zero_contby_a[1];
            double second = zero_contby_a[0] + one_contby_a[1];
            l->contby_1_d = first <= second ? first : second + 1.0;
            break;
          }
          default:
            error(string_C("level_compute_contby: not implemented for sequential gates"));
        }
      },
      &gate_C::level_compute_contby);
}

void gate_C::level_compute_contby() {
  for (int i = 0; i < outputs_C.anzahl_i; i++) outputs_C[i]->level_compute_contby();
}

void line_C::level_compute_observaby() {
  observability_step(
      this,
      [l = this](const gate_C* g) {
        switch (g->gate_type_c) {
          case AND_GATE:
          case OR_GATE:
          case NAND_GATE:
          case NOR_GATE:
          case EXOR_GATE:
            l->observaby_d = nachfolger_observaby_a[0] + 1.0;
            break;
          case INVERTER_GATE:
          case DRIVER_GATE:
            l->observaby_d = nachfolger_observaby_a[0];
            break;
          case FANOUT_GATE:
            l->observaby_d = hard;
            for (int j = 0; j < anzahl_outputs_i; j++) {
              if (nachfolger_observaby_a[j] < l->observaby_d) l->observaby_d = nachfolger_observaby_a[j];
            }
            break;
          default:
            error(string_C("level_compute_observaby: not implemented for sequential gates"));
        }
      },
      &gate_C::level_compute_observaby);
}

void gate_C::level_compute_observaby() {
  for (int i = 0; i < inputs_C.anzahl_i; i++) inputs_C[i]->level_compute_observaby();
}

void level_compute_contby() {
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->reset_testaby();
  for (int i = 0; i < input_lines_C.anzahl_i; i++) input_lines_C[i]->level_compute_contby();
}

void level_compute_observaby() {
  for (int i = 0; i < output_lines_C.anzahl_i; i++) output_lines_C[i]->level_compute_observaby();
}
