#include "measures/level.h"

#include <utility>

#include "base/messages.h"
#include "measures/working_storage.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// The effort that stands for "very hard"; larger than any count of gates.
constexpr double hard = 350000.0;

class level_C : measure_storage_C {
 public:
  void level_compute_contby(line_C* l);
  void level_compute_contby(gate_C* g) {
    for (int i = 0; i < g->outputs_C.anzahl_i; i++) level_compute_contby(g->outputs_C[i]);
  }
  void level_compute_observaby(line_C* l);
  void level_compute_observaby(gate_C* g) {
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) level_compute_observaby(g->inputs_C[i]);
  }
};

void level_C::level_compute_contby(line_C* line) {
  controllability_step(
      line, 1.0, "level_compute_contby: problems with number of gate inputs",
      [this, l = line](const gate_C* g) {
        const int n = g->inputs_C.anzahl_i;
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
          case NAND_GATE:
          case OR_GATE:
          case NOR_GATE: {
            // The efforts of the And or Or function before any inversion: an
            // And output 1 costs its hardest input 1, an Or output 1 its
            // easiest one; the other figure is a constant.
            double effort_1 = 0.0;
            double effort_0 = 0.0;
            if (g->controlling_value() == ZERO) {
              double scan = 1.0;
              for (int i = 0; i < n; i++) {
                if (one_contby_a[i] > scan) scan = one_contby_a[i];
              }
              effort_1 = scan + 1.0;
              effort_0 = hard + 1.0;
            } else {
              double scan = hard;
              for (int i = 0; i < n; i++) {
                if (one_contby_a[i] < scan) scan = one_contby_a[i];
              }
              effort_1 = scan + 1.0;
              effort_0 = 1.0 + 1.0;
            }
            if (g->inverting()) std::swap(effort_1, effort_0);
            l->contby_1_d = effort_1;
            l->contby_0_d = effort_0;
            break;
          }
          case EXOR_GATE: {
            double equal_zero = zero_contby_a[0] + zero_contby_a[1];
            double equal_one = one_contby_a[0] + one_contby_a[1];
            l->contby_0_d = (equal_zero < equal_one ? equal_zero : equal_one) + 1.0;
            double first = one_contby_a[0] + zero_contby_a[1];
            double second = zero_contby_a[0] + one_contby_a[1];
            // Only the second case adds 1.0: the backtrace needs comparable figures, not exact ones.
            l->contby_1_d = first <= second ? first : second + 1.0;
            break;
          }
          default:
            error(string_C("level_compute_contby: not implemented for sequential gates"));
        }
      },
      [this](gate_C* g) { level_compute_contby(g); });
}

void level_C::level_compute_observaby(line_C* line) {
  observability_step(
      line,
      [this, l = line](const gate_C* g) {
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
      [this](gate_C* g) { level_compute_observaby(g); });
}

}  // namespace

void level_compute_contby(circuit_C& circuit) {
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) circuit.lines_C[i]->reset_testaby();
  level_C pass;
  for (int i = 0; i < circuit.input_lines_C.anzahl_i; i++)
    pass.level_compute_contby(circuit.input_lines_C[i]);
}

void level_compute_observaby(circuit_C& circuit) {
  level_C pass;
  for (int i = 0; i < circuit.output_lines_C.anzahl_i; i++) {
    pass.level_compute_observaby(circuit.output_lines_C[i]);
  }
}
