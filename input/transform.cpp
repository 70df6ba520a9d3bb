#include "input/transform.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/statistic.h"
#include "input/name_index.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// Flip-flops cut out of gates_C stay alive (their signals still point to
// them) until the circuit is released.
std::vector<gate_C*> cut_flipflops;

// In a malformed circuit (a signal driven by two gates, a gate named by two
// instances) a deleted record can be tied to one that stays. The survivor
// must not keep a pointer to it; the circuit check then reports what is
// left of the fault.
void forget_driver(line_C* line, gate_C* g) {
  gate_liste_C& drivers = line->vorgaenger_C;
  auto first = drivers.elemente_p.begin();
  drivers.anzahl_i = static_cast<int>(std::remove(first, first + drivers.anzahl_i, g) - first);
}

void delete_gate(gate_C* g) {
  for (int i = 0; i < g->outputs_C.anzahl_i; i++) forget_driver(g->outputs_C[i], g);
  gates_C.fuege_aus(g);
  quarn_forget_gate(g);
  delete g;
}

}  // namespace

void transform_circuit() {
  std::cout << "Transform Circuit\n" << std::flush;
  make_fanout_blocks();
  remove_unconnected_outputs();
  make_comb_circuit();
}

void make_fanout_blocks() {
  line_liste_C stems;
  stems.init(2);
  line_liste_C branches;
  branches.init(max_lines);
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* stem = lines_C[i];
    if (stem->fanout_b) {
      statistic_u.no_fanout_gates_i++;
      stems.fuege_ein(stem);
      int k = 0;
      if (stem->primary_output_b) {
        k = 1;
        statistic_u.no_fanout_branches_i++;
        line_C* branch = new line_C((stem->name_s + "->output__1").c_str(), 1);
        lines_C.fuege_ein(branch);
        branch->primary_output_b = 1;
        stem->primary_output_b = 0;
        output_lines_C.fuege_aus(stem);
        output_lines_C.fuege_ein(branch);
        branches.fuege_ein(branch);
      }
      for (int j = 0; j < stem->nachfolger_C.anzahl_i; j++) {
        gate_C* successor = stem->nachfolger_C[j];
        k++;
        statistic_u.no_fanout_branches_i++;
        std::string name = stem->name_s + "->" + successor->outputs_C[0]->name_s + "__" + std::to_string(k);
        line_C* branch = new line_C(name.c_str(), 1);
        lines_C.fuege_ein(branch);
        successor->inputs_C.change_connection(stem, branch);
        branch->verbinde(successor, 'I');
        branches.fuege_ein(branch);
      }
      gate_C* fanout = new gate_C(string_C(stem->name_s.c_str()));
      gates_C.fuege_ein(fanout);
      fanout->belege_gate(FANOUT_GATE, 1, k);
      fanout->connect_output(branches);
      branches.anzahl_i = 0;
      stem->nachfolger_C.loesche_liste_und_pointer();
      fanout->connect_input(stems);
      stems.anzahl_i = 0;
    } else if (stem->nachfolger_C.anzahl_i > 0) {
      gate_C* only = stem->nachfolger_C[0];
      stem->nachfolger_C.loesche_liste_und_pointer();
      stem->nachfolger_C.verbinde(only);
    }
  }
}

void remove_unconnected_outputs() {
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* line = lines_C[i];
    if (line->primary_output_b || line->nachfolger_C.anzahl_i > 0) continue;
    int removed = 0;
    gate_C* driver = line->vorgaenger_C.anzahl_i > 0 ? line->vorgaenger_C[0] : nullptr;
    destroy_unconnected(line, driver, removed);
    i = std::max(i - removed, -1);
  }
}

void destroy_unconnected(line_C* line, gate_C* driver, int& removed) {
  std::cout << "WARNING: " << line->name_s << " not connected!!!      DELETING\n" << std::flush;
  if (driver != nullptr) {
    if (driver->gate_type_c != FANOUT_GATE) {
      for (int i = 0; i < driver->inputs_C.anzahl_i; i++) {
        line_C* input = driver->inputs_C[i];
        gate_C* input_driver = input->vorgaenger_C.anzahl_i > 0 ? input->vorgaenger_C[0] : nullptr;
        destroy_unconnected(input, input_driver, removed);
      }
      delete_gate(driver);
    } else {
      driver->outputs_C.fuege_aus(line, 1);
      driver->update_no_outputs();
      if (driver->outputs_C.anzahl_i == 0) {
        line_C* stem = driver->inputs_C.gib_only_line();
        gate_C* stem_driver = stem->vorgaenger_C.anzahl_i > 0 ? stem->vorgaenger_C[0] : nullptr;
        destroy_unconnected(stem, stem_driver, removed);
        delete_gate(driver);
      }
    }
  }
  for (int i = 0; i < line->vorgaenger_C.anzahl_i; i++) {
    gate_C* other = line->vorgaenger_C[i];
    if (other != driver) other->outputs_C.fuege_aus(line, 1);
  }
  lines_C.fuege_aus(line);
  if (line->primary_input_b) input_lines_C.fuege_aus(line);
  quarn_forget_line(line);
  delete line;
  removed++;
}

void make_comb_circuit() {
  for (int i = 0; i < gates_C.anzahl_i; i++) {
    gate_C* g = gates_C[i];
    if (g->gate_type_c != FLIPFLOP_GATE) continue;
    for (int j = 0; j < g->inputs_C.anzahl_i; j++) {
      g->inputs_C[j]->primary_output_b = 1;
      output_lines_C.fuege_ein(g->inputs_C[j]);
    }
    for (int j = 0; j < g->outputs_C.anzahl_i; j++) {
      g->outputs_C[j]->primary_input_b = 1;
      input_lines_C.fuege_ein(g->outputs_C[j]);
    }
    gates_C.fuege_aus(g);
    quarn_forget_gate(g);
    cut_flipflops.push_back(g);
    i--;
  }
}

void release_circuit() {
  for (int i = 0; i < gates_C.anzahl_i; i++) delete gates_C[i];
  for (gate_C* g : cut_flipflops) delete g;
  cut_flipflops.clear();
  for (int i = 0; i < lines_C.anzahl_i; i++) delete lines_C[i];
  for (auto* list : {&lines_C, &input_lines_C, &output_lines_C, &pseudo_inputs_C, &pseudo_outputs_C}) {
    list->anzahl_i = 0;
  }
  gates_C.anzahl_i = 0;
  quarn_release_name_index();
}
