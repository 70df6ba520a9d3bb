#include "preproc/levels.h"

#include <algorithm>
#include <iostream>

#include "app/messages.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// The next topological number to give.
int line_counter_i = 1;

// Larger than any output depth a circuit of max_lines signals can have.
constexpr int no_depth_yet = 400000;

}  // namespace

void line_C::calculate_planes() {
  if (plane_i != 0) return;
  if (primary_input_b) {
    plane_i = 1;
  } else {
    // Only the last input of the driver to receive its level gets through.
    const gate_C* g = driver();
    int highest = 0;
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
      if (g->inputs_C[i]->plane_i == 0) return;
      highest = std::max(highest, g->inputs_C[i]->plane_i);
    }
    plane_i = highest + 1;
  }
  nummer_i = line_counter_i++;
  if (!primary_output_b) successor()->calculate_planes();
}

void gate_C::calculate_planes() {
  if (outputs_C.anzahl_i == 0) {
    std::cout << name_s;
    error(string_C("gate_C::calculate_planes: no output detected"));
  }
  for (int i = 0; i < outputs_C.anzahl_i; i++) outputs_C[i]->calculate_planes();
}

void line_C::calculate_depth_to_output() {
  if (output_depth_i != 0) return;
  if (primary_output_b) {
    output_depth_i = 1;
  } else {
    // Only the last output behind the signal to receive its depth gets through.
    int nearest = no_depth_yet;
    for (int k = 0; k < nachfolger_C.anzahl_i; k++) {
      const gate_C* g = nachfolger_C[k];
      for (int i = 0; i < g->outputs_C.anzahl_i; i++) {
        if (g->outputs_C[i]->output_depth_i == 0) return;
        nearest = std::min(nearest, g->outputs_C[i]->output_depth_i);
      }
    }
    output_depth_i = nearest + 1;
  }
  if (!primary_input_b) {
    const gate_C* g = driver();
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) g->inputs_C[i]->calculate_depth_to_output();
  }
}

void calculate_planes() {
  line_counter_i = 1;
  for (int i = 0; i < input_lines_C.anzahl_i; i++) input_lines_C[i]->calculate_planes();
  for (int i = 0; i < output_lines_C.anzahl_i; i++) output_lines_C[i]->calculate_depth_to_output();
  bool missing = false;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    const line_C* l = lines_C[i];
    if (l->plane_i == 0) {
      std::cout << l->name_s;
      warning(string_C("calculate_planes: not all line planes are discovered"));
      missing = true;
    }
    if (l->output_depth_i == 0) {
      std::cout << l->name_s;
      warning(string_C("calculate_planes: not all output depths are discovered"));
      missing = true;
    }
  }
  // Signals on a feedback loop are never ready; nothing later can work
  // without their levels.
  if (missing) error(string_C(" "));
}
