#include "input/transform.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "base/messages.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// In a malformed circuit (a signal driven by two gates, a gate named by two
// instances) a deleted record can be tied to one that stays. The survivor
// must not keep a pointer to it; the circuit check then reports what is
// left of the fault.
void forget_driver(line_C* line, gate_C* g) {
  gate_liste_C& drivers = line->vorgaenger_C;
  auto first = drivers.elemente_p.begin();
  drivers.anzahl_i = static_cast<int>(std::remove(first, first + drivers.anzahl_i, g) - first);
}

void delete_gate(circuit_C& circuit, gate_C* g) {
  for (int i = 0; i < g->outputs_C.anzahl_i; i++) forget_driver(g->outputs_C[i], g);
  circuit.gates_C.fuege_aus(g);
  circuit.forget_gate(g);
}

}  // namespace

void transform_circuit(circuit_C& circuit) {
  std::cout << "Transform Circuit\n" << std::flush;
  make_fanout_blocks(circuit);
  remove_unconnected_outputs(circuit);
  make_comb_circuit(circuit);
  // The passes above change connection lists directly.
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) circuit.lines_C[i]->relink();
  for (int i = 0; i < circuit.gates_C.anzahl_i; i++) circuit.gates_C[i]->relink();
}

void make_fanout_blocks(circuit_C& circuit) {
  statistic_t& statistic_u = circuit.statistic_u;
  line_liste_C& lines_C = circuit.lines_C;
  line_liste_C& output_lines_C = circuit.output_lines_C;
  line_liste_C stems;
  stems.init(2);
  line_liste_C branches;
  branches.init(0);
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* stem = lines_C[i];
    if (stem->fanout_b) {
      statistic_u.no_fanout_gates_i++;
      stems.fuege_ein(stem);
      int k = 0;
      if (stem->primary_output_b) {
        k = 1;
        statistic_u.no_fanout_branches_i++;
        line_C* branch = circuit.new_line(stem->name_s + "->output__1", 1);
        circuit.add_line(branch);
        branch->primary_output_b = 1;
        stem->primary_output_b = 0;
        output_lines_C.fuege_aus(stem);
        circuit.add_output(branch);
        append_within_room(branches, branch, max_lines);
      }
      for (int j = 0; j < stem->nachfolger_C.anzahl_i; j++) {
        gate_C* successor = stem->nachfolger_C[j];
        k++;
        statistic_u.no_fanout_branches_i++;
        std::string name = stem->name_s + "->" + successor->outputs_C[0]->name_s + "__" + std::to_string(k);
        line_C* branch = circuit.new_line(name, 1);
        circuit.add_line(branch);
        successor->inputs_C.change_connection(stem, branch);
        branch->verbinde(successor, 'I');
        append_within_room(branches, branch, max_lines);
      }
      gate_C* fanout = circuit.new_gate(stem->name_s);
      circuit.add_gate(fanout);
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

void remove_unconnected_outputs(circuit_C& circuit) {
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    line_C* line = circuit.lines_C[i];
    if (line->primary_output_b || line->nachfolger_C.anzahl_i > 0) continue;
    int removed = 0;
    gate_C* driver = line->vorgaenger_C.anzahl_i > 0 ? line->vorgaenger_C[0] : nullptr;
    destroy_unconnected(circuit, line, driver, removed);
    i = std::max(i - removed, -1);
  }
}

void destroy_unconnected(circuit_C& circuit, line_C* line, gate_C* driver, int& removed) {
  std::cout << "WARNING: " << line->name_s << " not connected!!!      DELETING\n" << std::flush;
  if (driver != nullptr) {
    if (driver->gate_type_c != FANOUT_GATE) {
      for (int i = 0; i < driver->inputs_C.anzahl_i; i++) {
        line_C* input = driver->inputs_C[i];
        gate_C* input_driver = input->vorgaenger_C.anzahl_i > 0 ? input->vorgaenger_C[0] : nullptr;
        destroy_unconnected(circuit, input, input_driver, removed);
      }
      delete_gate(circuit, driver);
    } else {
      driver->outputs_C.fuege_aus(line, 1);
      driver->update_no_outputs();
      if (driver->outputs_C.anzahl_i == 0) {
        line_C* stem = driver->inputs_C.gib_only_line();
        gate_C* stem_driver = stem->vorgaenger_C.anzahl_i > 0 ? stem->vorgaenger_C[0] : nullptr;
        destroy_unconnected(circuit, stem, stem_driver, removed);
        delete_gate(circuit, driver);
      }
    }
  }
  for (int i = 0; i < line->vorgaenger_C.anzahl_i; i++) {
    gate_C* other = line->vorgaenger_C[i];
    if (other != driver) other->outputs_C.fuege_aus(line, 1);
  }
  circuit.lines_C.fuege_aus(line);
  if (line->primary_input_b) circuit.input_lines_C.fuege_aus(line);
  circuit.forget_line(line);
  removed++;
}

// A cut flip-flop stays a record of the circuit: its signals still name it.
void make_comb_circuit(circuit_C& circuit) {
  for (int i = 0; i < circuit.gates_C.anzahl_i; i++) {
    gate_C* g = circuit.gates_C[i];
    if (g->gate_type_c != FLIPFLOP_GATE) continue;
    for (int j = 0; j < g->inputs_C.anzahl_i; j++) {
      g->inputs_C[j]->primary_output_b = 1;
      circuit.add_output(g->inputs_C[j]);
    }
    for (int j = 0; j < g->outputs_C.anzahl_i; j++) {
      g->outputs_C[j]->primary_input_b = 1;
      circuit.add_input(g->outputs_C[j]);
    }
    circuit.gates_C.fuege_aus(g);
    circuit.forget_gate(g);
    i--;
  }
}
