#include "preproc/levels.h"

#include <algorithm>
#include <iostream>

#include "base/messages.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// Larger than any output depth a circuit of max_lines signals can have.
constexpr int no_depth_yet = 400000;

class levels_C {
 public:
  void calculate_planes(line_C* l);
  void calculate_planes(gate_C* g);
  void calculate_depth_to_output(line_C* l);

 private:
  // The next topological number to give.
  int line_counter_i = 1;
};

void levels_C::calculate_planes(line_C* l) {
  if (l->plane_i != 0) return;
  if (l->primary_input_b) {
    l->plane_i = 1;
  } else {
    // Only the last input of the driver to receive its level gets through.
    const gate_C* g = l->driver();
    int highest = 0;
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
      if (g->inputs_C[i]->plane_i == 0) return;
      highest = std::max(highest, g->inputs_C[i]->plane_i);
    }
    l->plane_i = highest + 1;
  }
  l->nummer_i = line_counter_i++;
  if (!l->primary_output_b) calculate_planes(l->successor());
}

void levels_C::calculate_planes(gate_C* g) {
  if (g->outputs_C.anzahl_i == 0) {
    std::cout << g->name_s;
    error(string_C("gate_C::calculate_planes: no output detected"));
  }
  for (int i = 0; i < g->outputs_C.anzahl_i; i++) calculate_planes(g->outputs_C[i]);
}

void levels_C::calculate_depth_to_output(line_C* l) {
  if (l->output_depth_i != 0) return;
  if (l->primary_output_b) {
    l->output_depth_i = 1;
  } else {
    // Only the last output behind the signal to receive its depth gets through.
    int nearest = no_depth_yet;
    for (int k = 0; k < l->nachfolger_C.anzahl_i; k++) {
      const gate_C* g = l->nachfolger_C[k];
      for (int i = 0; i < g->outputs_C.anzahl_i; i++) {
        if (g->outputs_C[i]->output_depth_i == 0) return;
        nearest = std::min(nearest, g->outputs_C[i]->output_depth_i);
      }
    }
    l->output_depth_i = nearest + 1;
  }
  if (!l->primary_input_b) {
    const gate_C* g = l->driver();
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) calculate_depth_to_output(g->inputs_C[i]);
  }
}

}  // namespace

void calculate_planes(circuit_C& circuit, messages_C& messages) {
  levels_C levels;
  for (int i = 0; i < circuit.input_lines_C.anzahl_i; i++) levels.calculate_planes(circuit.input_lines_C[i]);
  for (int i = 0; i < circuit.output_lines_C.anzahl_i; i++) {
    levels.calculate_depth_to_output(circuit.output_lines_C[i]);
  }
  bool missing = false;
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    const line_C* l = circuit.lines_C[i];
    if (l->plane_i == 0) {
      std::cout << l->name_s;
      messages.warning(string_C("calculate_planes: not all line planes are discovered"));
      missing = true;
    }
    if (l->output_depth_i == 0) {
      std::cout << l->name_s;
      messages.warning(string_C("calculate_planes: not all output depths are discovered"));
      missing = true;
    }
  }
  // Signals on a feedback loop are never ready; nothing later can work
  // without their levels.
  if (missing) error(string_C(" "));
}
