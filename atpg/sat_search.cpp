#include "atpg/sat_search.h"

#include <cadical.hpp>

#include "base/messages.h"
#include "base/settings.h"
#include "implication/implication.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// The clauses of out = gate(inputs), every value a literal.
void gate_clauses(CaDiCaL::Solver& s, const gate_C* g, int out, const std::vector<int>& in) {
  auto clause = [&s](std::initializer_list<int> lits) {
    for (int l : lits) s.add(l);
    s.add(0);
  };
  switch (g->gate_type_c) {
    case AND_GATE:
    case NAND_GATE:
    case OR_GATE:
    case NOR_GATE: {
      // And: out -> every input, all inputs -> out; the others by De Morgan.
      const bool inverted = g->gate_type_c == NAND_GATE || g->gate_type_c == NOR_GATE;
      const int sign = g->gate_type_c == AND_GATE || g->gate_type_c == NAND_GATE ? 1 : -1;
      const int o = inverted ? -out : out;
      for (int i : in) clause({-sign * o, sign * i});
      for (int i : in) s.add(-sign * i);
      s.add(sign * o);
      s.add(0);
      break;
    }
    case EXOR_GATE:
      if (in.size() != 2) error(string_C("sat_alg: Exor gate without two inputs: " + g->name_s));
      clause({-out, in[0], in[1]});
      clause({-out, -in[0], -in[1]});
      clause({out, -in[0], in[1]});
      clause({out, in[0], -in[1]});
      break;
    case INVERTER_GATE:
      clause({out, in[0]});
      clause({-out, -in[0]});
      break;
    case DRIVER_GATE:
    case FANOUT_GATE:
      clause({out, -in[0]});
      clause({-out, in[0]});
      break;
    default:
      error(string_C("sat_alg: gate type not supported: " + g->name_s));
  }
}

}  // namespace

sat_search_C::sat_search_C(circuit_C& circuit, const settings_C& settings, implication_C& imp)
    : circuit_(circuit), settings_(settings), imp_(imp) {}

void sat_search_C::size_tables() {
  int size = 0;
  for (int i = 0; i < circuit_.lines_C.anzahl_i; i++)
    size = std::max(size, circuit_.lines_C[i]->nummer_i + 1);
  if (static_cast<int>(seen_.size()) >= size) return;
  good_var_.assign(size, 0);
  bad_var_.assign(size, 0);
  seen_.assign(size, 0);
  stamp_ = 0;
}

fan_result_t sat_search_C::sat_alg(line_C* target, char test_value) {
  size_tables();
  imp_.number_backtracks_i = 0;
  // Implication takes the faulty values of the cone from the target on.
  imp_.ziel_line_p = target;
  const bool activation_only = settings_.current_detection();
  // The output cone (stamp cone) and the outputs it reaches.
  const uint32_t cone = ++stamp_;
  std::vector<line_C*> cone_lines{target}, outputs;
  seen_[target->nummer_i] = cone;
  for (size_t i = 0; i < cone_lines.size() && !activation_only; i++) {
    // A primary output ends the cone: a line that is one feeds nothing
    // else once flip-flops are cut.
    if (cone_lines[i]->primary_output_b) {
      outputs.push_back(cone_lines[i]);
      continue;
    }
    const gate_C* g = cone_lines[i]->successor();
    for (int o = 0; o < g->outputs_C.anzahl_i; o++) {
      line_C* out = g->outputs_C[o];
      if (seen_[out->nummer_i] == cone) continue;
      seen_[out->nummer_i] = cone;
      cone_lines.push_back(out);
    }
  }
  if (!activation_only && outputs.empty()) {
    redundant_i++;
    return REDUNDANT;
  }
  // The fan-in of those outputs (of the target alone when activating it is
  // enough), each signal with a variable of its fault-free value, and those
  // of the cone one of their faulty value too.
  const uint32_t region = ++stamp_;
  std::vector<line_C*> region_lines = activation_only ? std::vector<line_C*>{target} : outputs;
  std::vector<line_C*> inputs;
  int variables = 0;
  // A signal of the cone is marked -1 as it joins, and numbered below.
  auto join = [&](line_C* l) {
    bad_var_[l->nummer_i] = seen_[l->nummer_i] == cone ? -1 : 0;
    seen_[l->nummer_i] = region;
  };
  for (line_C* l : region_lines) join(l);
  for (size_t i = 0; i < region_lines.size(); i++) {
    line_C* l = region_lines[i];
    good_var_[l->nummer_i] = ++variables;
    if (bad_var_[l->nummer_i] == -1) bad_var_[l->nummer_i] = ++variables;
    if (l->primary_input_b) {
      inputs.push_back(l);
      continue;
    }
    const gate_C* g = l->driver();
    for (int k = 0; k < g->inputs_C.anzahl_i; k++) {
      line_C* in = g->inputs_C[k];
      if (seen_[in->nummer_i] == region) continue;
      join(in);
      region_lines.push_back(in);
    }
  }
  CaDiCaL::Solver solver;
  std::vector<int> in_lits;
  for (line_C* l : region_lines) {
    if (l->primary_input_b) continue;
    const gate_C* g = l->driver();
    in_lits.clear();
    for (int k = 0; k < g->inputs_C.anzahl_i; k++) in_lits.push_back(good_var_[g->inputs_C[k]->nummer_i]);
    gate_clauses(solver, g, good_var_[l->nummer_i], in_lits);
    if (bad_var_[l->nummer_i] <= 0 || l == target) continue;
    in_lits.clear();
    for (int k = 0; k < g->inputs_C.anzahl_i; k++) {
      const int n = g->inputs_C[k]->nummer_i;
      in_lits.push_back(bad_var_[n] > 0 ? bad_var_[n] : good_var_[n]);
    }
    gate_clauses(solver, g, bad_var_[l->nummer_i], in_lits);
  }
  // The fault: the target at its fault-free value, the faulty copy at the
  // stuck one, and an output where the two circuits differ.
  const int stuck_sign = test_value == ONE ? 1 : -1;
  solver.add(-stuck_sign * good_var_[target->nummer_i]);
  solver.add(0);
  if (!activation_only) {
    solver.add(stuck_sign * bad_var_[target->nummer_i]);
    solver.add(0);
    std::vector<int> differs;
    for (line_C* o : outputs) {
      const int d = ++variables, g = good_var_[o->nummer_i], b = bad_var_[o->nummer_i];
      solver.add(-d), solver.add(g), solver.add(b), solver.add(0);
      solver.add(-d), solver.add(-g), solver.add(-b), solver.add(0);
      differs.push_back(d);
    }
    for (int d : differs) solver.add(d);
    solver.add(0);
  }
  solver.limit("conflicts", conflict_limit_i);
  const int answer = solver.solve();
  if (answer == 20) {
    redundant_i++;
    return REDUNDANT;
  }
  if (answer != 10) {
    aborted_i++;
    return ABORTED;
  }
  std::vector<char> values;
  for (line_C* in : inputs) values.push_back(solver.val(good_var_[in->nummer_i]) > 0 ? ONE : ZERO);
  apply_solution(target, inputs, values);
  // The test must show itself in the circuit's own values.
  bool detected = false;
  if (activation_only) {
    detected = target->good_value_c == mynot(test_value);
  } else {
    for (const line_C* o : outputs) {
      detected |= (o->good_value_c == ONE && o->bad_value_c == ZERO) ||
                  (o->good_value_c == ZERO && o->bad_value_c == ONE);
    }
  }
  if (!detected) error(string_C("sat_alg: the solver's test does not detect the fault at " + target->name_s));
  tests_i++;
  return TEST_FOUND;
}

void sat_search_C::apply_solution(line_C* target, const std::vector<line_C*>& inputs,
                                  const std::vector<char>& values) {
  for (size_t i = 0; i < inputs.size(); i++) {
    line_C* in = inputs[i];
    if (in->good_value_c != X && in->good_value_c != values[i]) {
      error(string_C("sat_alg: the solution contradicts the fault at " + in->name_s));
    }
    in->good_value_c = values[i];
  }
  auto imply = [this](line_C* l) {
    if (l->primary_output_b) return;
    if (imp_.fast_forward_implication(l->successor()) == STEP_CONFLICT) {
      error(string_C("sat_alg: the solution is inconsistent at " + l->name_s));
    }
  };
  for (line_C* in : inputs) imply(in);
  // The target held its values before: its successor is evaluated here.
  imply(target);
}
