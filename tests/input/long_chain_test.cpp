// Deep circuits: a chain of 200000 inverters from the only input to the only
// output, and a chain leading nowhere, which the transformation removes by a
// recursion as deep as the chain.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/large_stack.h"
#include "app/statistic.h"
#include "input/check.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/capture_output.h"
#include "support/child.h"
#include "support/circuit_text.h"

namespace {

using names_t = std::vector<std::string>;

TEST(LongChain, ObservedChainIsReadTransformedAndChecked) {
  constexpr int n = 200000;
  const std::string text = inverter_chain(n, true);
  run_on_large_stack([&] {
    output_capture_C out;
    load_circuit(text);
    EXPECT_EQ(out.text(), "Read Circuit   Name = circuit.cir\nTransform Circuit\n");
  });
  const statistic_t& s = statistic_u;
  EXPECT_EQ(
      (std::vector<int>{s.no_signals_i, s.no_gates_i, s.no_inverter_i, s.no_primary_inputs_i,
                        s.no_primary_outputs_i, s.no_fanout_gates_i, lines_C.anzahl_i, gates_C.anzahl_i}),
      (std::vector<int>{n + 1, n, n, 1, 1, 0, n + 1, n}));
  EXPECT_EQ(names_of(input_lines_C), (names_t{"s0"}));
  EXPECT_EQ(names_of(output_lines_C), (names_t{"s" + std::to_string(n)}));
  EXPECT_EQ(signal_named("s100")->vorgaenger_C[0], gate_named("i100"));
  EXPECT_EQ(signal_named("s100")->nachfolger_C[0], gate_named("i101"));
  child_result_t check = run_in_child([] { run_on_large_stack([] { proof(); }); });
  EXPECT_EQ(check.exit_status, 0) << check.output;
}

TEST(LongChain, UnobservedChainIsRemovedWhole) {
  // Each deletion moves the rest of the signal list: keep the chain shorter.
  constexpr int n = 20000;
  const std::string text = inverter_chain(n, false);
  run_on_large_stack([&] {
    output_capture_C out;
    load_circuit(text);
    // The end of the chain goes first, and the recursion walks back to the input.
    std::string printed = out.text();
    EXPECT_TRUE(printed.starts_with("Read Circuit   Name = circuit.cir\nTransform Circuit\nWARNING: s" +
                                    std::to_string(n) + " not connected!!!      DELETING\n"));
    EXPECT_TRUE(printed.ends_with("WARNING: s0 not connected!!!      DELETING\n"));
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 2 + n + 1);
  });
  EXPECT_EQ(names_of(lines_C), (names_t{"other", "y"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"buf"}));
}

}  // namespace
