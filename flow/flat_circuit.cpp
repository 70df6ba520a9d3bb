#include "flow/flat_circuit.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>
#include <unordered_map>

#include "app/run.h"
#include "input/check.h"
#include "input/parser.h"
#include "input/transform.h"
#include "model/gate.h"
#include "model/line.h"
#include "preproc/feedback.h"
#include "preproc/levels.h"
#include "preproc/line_structure.h"

namespace {

// The loading phases talk on standard output; the command's own report is
// all its user should see there.
class silence_t {
 public:
  silence_t() : saved_(std::cout.rdbuf(sink_.rdbuf())) {}
  ~silence_t() { std::cout.rdbuf(saved_); }
  silence_t(const silence_t&) = delete;
  silence_t& operator=(const silence_t&) = delete;

 private:
  std::ostringstream sink_;
  std::streambuf* saved_;
};

flat_circuit_t::op_t op_of(const gate_C* g) {
  switch (g->gate_type_c) {
    case AND_GATE:
      return flat_circuit_t::op_and;
    case NAND_GATE:
      return flat_circuit_t::op_nand;
    case OR_GATE:
      return flat_circuit_t::op_or;
    case NOR_GATE:
      return flat_circuit_t::op_nor;
    case EXOR_GATE:
      return flat_circuit_t::op_xor;
    case INVERTER_GATE:
      return flat_circuit_t::op_not;
    case DRIVER_GATE:
    case FANOUT_GATE:
      return flat_circuit_t::op_buf;
    default:
      error(string_C("gate " + g->name_s + " has a type the compaction cannot simulate"));
  }
}

// Lays the transformed circuit out in level order.
flat_circuit_t flatten(const circuit_C& circuit) {
  const int count = circuit.lines_C.anzahl_i;
  std::unordered_map<const line_C*, int> index;
  index.reserve(static_cast<size_t>(count) * 2);
  for (int i = 0; i < count; i++) index.emplace(circuit.lines_C[i], i);
  auto id = [&](const line_C* l) {
    const auto it = index.find(l);
    if (it == index.end()) error(string_C("signal " + l->name_s + " is not in the circuit's signal list"));
    return it->second;
  };

  // Fanins per signal in the circuit's numbering, then levels by a
  // worklist (the circuit is acyclic once flip-flops are cut).
  std::vector<flat_circuit_t::op_t> op(count, flat_circuit_t::op_input);
  std::vector<std::vector<int>> fanins(count);
  for (int i = 0; i < count; i++) {
    const line_C* l = circuit.lines_C[i];
    if (l->primary_input_b) continue;
    if (l->vorgaenger_C.anzahl_i == 0) error(string_C("signal " + l->name_s + " has no driver"));
    const gate_C* g = l->driver();
    op[i] = op_of(g);
    if (g->gate_type_c == FANOUT_GATE) {
      fanins[i].push_back(id(g->inputs_C[0]));
    } else {
      for (int k = 0; k < g->no_inputs_i; k++) fanins[i].push_back(id(g->inputs_C[k]));
    }
    if (fanins[i].empty()) error(string_C("gate " + g->name_s + " has no inputs"));
  }
  std::vector<int> pending(count), level(count, 0), ready;
  std::vector<std::vector<int>> users(count);
  for (int i = 0; i < count; i++) {
    pending[i] = static_cast<int>(fanins[i].size());
    for (int f : fanins[i]) users[f].push_back(i);
    if (pending[i] == 0) ready.push_back(i);
  }
  std::vector<int> order;
  order.reserve(count);
  while (!ready.empty()) {
    const int n = ready.back();
    ready.pop_back();
    order.push_back(n);
    for (int u : users[n]) {
      level[u] = std::max(level[u], level[n] + 1);
      if (--pending[u] == 0) ready.push_back(u);
    }
  }
  if (static_cast<int>(order.size()) != count) error(string_C("the circuit has a combinational loop"));
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return level[a] < level[b]; });
  std::vector<int> position(count);
  for (int k = 0; k < count; k++) position[order[k]] = k;

  flat_circuit_t net;
  net.op.resize(count);
  net.level.resize(count);
  net.names.resize(count);
  net.is_output.assign(count, 0);
  net.fanin_begin.push_back(0);
  for (int k = 0; k < count; k++) {
    const int n = order[k];
    net.op[k] = op[n];
    net.level[k] = level[n];
    net.max_level = std::max(net.max_level, level[n]);
    net.names[k] = circuit.lines_C[n]->name_s;
    for (int f : fanins[n]) net.fanin.push_back(position[f]);
    net.fanin_begin.push_back(static_cast<int>(net.fanin.size()));
  }
  net.fanout_begin.push_back(0);
  for (int k = 0; k < count; k++) {
    for (int u : users[order[k]]) net.fanout.push_back(position[u]);
    net.fanout_begin.push_back(static_cast<int>(net.fanout.size()));
  }
  for (int i = 0; i < circuit.input_lines_C.anzahl_i; i++) {
    net.inputs.push_back(position[id(circuit.input_lines_C[i])]);
  }
  for (int i = 0; i < circuit.output_lines_C.anzahl_i; i++) {
    const int n = position[id(circuit.output_lines_C[i])];
    net.outputs.push_back(n);
    net.is_output[n] = 1;
  }
  return net;
}

}  // namespace

std::string fault_circuit_t::fault_name(const stuck_fault_t& f) const {
  return std::string(f.stuck_at_one ? "s-a-1 " : "s-a-0 ") + net.names[f.node];
}

fault_circuit_t load_fault_circuit(const std::string& circuit_path) {
  if (circuit_path.size() >= circuit_name_size) {
    error(string_C("the circuit file name has more than " + std::to_string(circuit_name_size - 1) +
                   " characters"));
  }
  // A run is large (its lists are sized for the biggest circuits): on the heap.
  auto run = std::make_unique<run_C>();
  fault_circuit_t result;
  {
    silence_t quiet;
    run->settings.schaltungsname_s = circuit_path;
    run->settings.select_fault_model(fault_model_t::stuck_at);
    read_circuit(run->circuit, run->settings);
    transform_circuit(run->circuit);
    run->listen_init();
    proof(run->circuit);
    // What preprocessing does before its fault list, without the statistics
    // file it would write beside the circuit.
    feedback_analyse(run->circuit);
    calculate_planes(run->circuit, run->messages);
    line_structure(run->circuit);
    run->collapsing.gib_aequi_klassen_zahl();
  }
  result.net = flatten(run->circuit);
  std::unordered_map<std::string, int> node_of;
  for (int n = 0; n < result.net.nodes(); n++) node_of.emplace(result.net.names[n], n);
  const line_value_liste_C& targets = run->target_list.zielfehler_C;
  for (int i = 0; i < targets.anzahl_i; i++) {
    result.classes.push_back({node_of.at(targets[i]->line_p->name_s), targets[i]->value_c == ONE});
  }
  if (static_cast<int>(result.classes.size()) != run->collapsing.aequivalenzen_zahl_i) {
    error(string_C("the fault list holds " + std::to_string(result.classes.size()) + " faults for " +
                   std::to_string(run->collapsing.aequivalenzen_zahl_i) + " classes"));
  }
  return result;
}
