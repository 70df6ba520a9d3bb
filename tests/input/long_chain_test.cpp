// 200000 inverters from the only input to the only output, and a chain leading nowhere, removed whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/large_stack.h"
#include "app/run.h"
#include "input/check.h"
#include "model/circuit.h"
#include "model/line.h"
#include "support/capture_output.h"
#include "support/circuit_text.h"

namespace {

TEST(LongChain, ObservedChainIsReadTransformedAndChecked) {
  constexpr int n = 200000;
  output_capture_C out;
  run_on_large_stack([&] { load_circuit(inverter_chain(n)); });
  EXPECT_EQ(out.text(), "Read Circuit   Name = circuit.cir\nTransform Circuit\n");
  const circuit_C& circuit = current_run().circuit;
  const statistic_t& s = circuit.statistic_u;
  const std::vector<int> counts = {
      s.no_signals_i,         s.no_gates_i,        s.no_inverter_i,          s.no_primary_inputs_i,
      s.no_primary_outputs_i, s.no_fanout_gates_i, circuit.lines_C.anzahl_i, circuit.gates_C.anzahl_i};
  EXPECT_EQ(counts, (std::vector<int>{n + 1, n, n, 1, 1, 0, n + 1, n}));
  EXPECT_EQ(names_of(circuit.input_lines_C), std::vector<std::string>{"s0"});
  EXPECT_EQ(names_of(circuit.output_lines_C), std::vector<std::string>{"s200000"});
  EXPECT_EQ(signal_named("s100")->vorgaenger_C[0], gate_named("i100"));
  EXPECT_EQ(signal_named("s100")->nachfolger_C[0], gate_named("i101"));
  run_on_large_stack([&] { EXPECT_NO_THROW(proof(circuit)); });
}

TEST(LongChain, UnobservedChainIsRemovedWhole) {
  // Shorter: each deletion moves the rest of the signal list. The end goes first.
  constexpr int n = 20000;
  output_capture_C out;
  run_on_large_stack([&] { load_circuit(inverter_chain(n, false)); });
  std::string warnings = "Read Circuit   Name = circuit.cir\nTransform Circuit\n";
  for (int k = n; k >= 0; k--)
    warnings.append("WARNING: s").append(std::to_string(k)).append(" not connected!!!      DELETING\n");
  EXPECT_TRUE(out.text() == warnings);  // no diff of 20000 lines
  EXPECT_EQ(names_of(current_run().circuit.lines_C), (std::vector<std::string>{"other", "y"}));
  EXPECT_EQ(names_of(current_run().circuit.gates_C), std::vector<std::string>{"buf"});
}

}  // namespace
