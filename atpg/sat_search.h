// Deciding a target fault with a SAT solver: a test, or a proof that none
// exists. Used for the faults the searches of the first two phases gave up
// on; the solver decides in moments what the search cannot prove.
#pragma once

#include <cstdint>
#include <vector>

#include "model/values.h"

class circuit_C;
class implication_C;
class line_C;
struct settings_C;

class sat_search_C {
 public:
  sat_search_C(circuit_C& circuit, const settings_C& settings, implication_C& imp);

  // Solver conflicts one fault may take before it stays aborted.
  int conflict_limit_i = 1000000;

  // Decides the fault the target's injected values name (stuck at
  // test_value). The formula: the fault-free circuit in front of the outputs
  // the fault reaches, a faulty copy of the target's output cone, and an
  // output where the two differ (for a fault detected by quiescent current:
  // only the target at its fault-free value). On TEST_FOUND the inputs the
  // formula holds carry the solution, the others stay open, and the circuit
  // holds their implied values as after a search; the caller has marked the
  // target's output cone. REDUNDANT is a proof; ABORTED means the conflict
  // limit was reached.
  fan_result_t sat_alg(line_C* target, char test_value);

  // Counts of the decisions made.
  int64_t tests_i = 0, redundant_i = 0, aborted_i = 0;

 private:
  circuit_C& circuit_;
  const settings_C& settings_;
  implication_C& imp_;
  // Per signal number: the variables of its fault-free and faulty value (0:
  // not in the formula), and the stamp of the last formula it was seen in.
  std::vector<int> good_var_, bad_var_;
  std::vector<uint32_t> seen_;
  uint32_t stamp_ = 0;

  void size_tables();
  void apply_solution(line_C* target, const std::vector<line_C*>& inputs, const std::vector<char>& values);
};
