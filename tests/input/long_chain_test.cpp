// Deep circuits: a chain of 200000 inverters from the only input to the only
// output, and a chain of 20000 leading nowhere, so that the transformation
// removes it by a recursion as deep as the chain.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/large_stack.h"
#include "app/statistic.h"
#include "input/check.h"
#include "input/transform.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/capture_output.h"
#include "support/child.h"
#include "support/circuit_text.h"

namespace {

constexpr int chain_length = 200000;
// Each deleted signal leaves the middle of the list of all signals, which
// moves the rest: a dangling chain costs time quadratic in its length.
constexpr int dangling_length = 20000;

// Signals s0 .. s<n>, inverter k reads s<k-1> and drives s<k>. When the
// chain is `observed`, s0 is the only input and s<n> the only output;
// otherwise the only output y is driven by a separate input through buf.
std::string inverter_chain(int n, bool observed) {
  std::string text = "Circuit chain ;\nNode s0";
  for (int k = 1; k <= n; k++) text += (k % 16 == 0 ? ",\n  s" : ", s") + std::to_string(k);
  text += observed ? " : bit ;\n" : ", other, y : bit ;\n";
  text += "Con ( delay : 1 )\n";
  for (int k = 1; k <= n; k++) text += "  i" + std::to_string(k) + " : Inverter ;\n";
  if (!observed) text += "  buf : Driver ;\n";
  std::string output = observed ? "s" + std::to_string(n) : "y";
  text += observed ? "Input s0 ;\n" : "Input s0, other ;\n";
  text += "Output " + output + " ;\nStrobe STROBEALL : " + output + " ;\nbegin\n";
  for (int k = 1; k <= n; k++) {
    text +=
        "  i" + std::to_string(k) + " ( s" + std::to_string(k - 1) + " ; s" + std::to_string(k) + " ) ;\n";
  }
  if (!observed) text += "  buf ( other ; y ) ;\n";
  text += "end.\n";
  return text;
}

TEST(LongChain, ObservedChainIsReadTransformedAndChecked) {
  const std::string text = inverter_chain(chain_length, true);
  run_on_large_stack([&] {
    output_capture_C out;
    load_circuit(text);
    EXPECT_EQ(out.text(), "Read Circuit   Name = circuit.cir\nTransform Circuit\n");
  });
  const statistic_t& s = statistic_u;
  EXPECT_EQ(s.no_signals_i, chain_length + 1);
  EXPECT_EQ(s.no_gates_i, chain_length);
  EXPECT_EQ(s.no_inverter_i, chain_length);
  EXPECT_EQ(s.no_primary_inputs_i, 1);
  EXPECT_EQ(s.no_primary_outputs_i, 1);
  EXPECT_EQ(s.no_fanout_gates_i + s.no_fanout_branches_i, 0);
  EXPECT_EQ(lines_C.anzahl_i, chain_length + 1);
  EXPECT_EQ(gates_C.anzahl_i, chain_length);
  EXPECT_EQ(names_of(input_lines_C), (std::vector<std::string>{"s0"}));
  EXPECT_EQ(names_of(output_lines_C), (std::vector<std::string>{"s" + std::to_string(chain_length)}));
  EXPECT_EQ(signal_named("s100")->vorgaenger_C[0], gate_named("i100"));
  EXPECT_EQ(signal_named("s100")->nachfolger_C[0], gate_named("i101"));
  child_result_t check = run_in_child([] { run_on_large_stack([] { proof(); }); });
  EXPECT_EQ(check.exit_status, 0) << check.output;
}

TEST(LongChain, UnobservedChainIsRemovedWhole) {
  const std::string text = inverter_chain(dangling_length, false);
  run_on_large_stack([&] {
    output_capture_C out;
    load_circuit(text);
    std::string printed = out.text();
    // The end of the chain is found first, and the recursion walks back to
    // the input.
    std::string start = "Read Circuit   Name = circuit.cir\nTransform Circuit\nWARNING: s" +
                        std::to_string(dangling_length) + " not connected!!!      DELETING\n";
    EXPECT_EQ(printed.substr(0, start.size()), start);
    std::string last = "WARNING: s0 not connected!!!      DELETING\n";
    ASSERT_GE(printed.size(), last.size());
    EXPECT_EQ(printed.substr(printed.size() - last.size()), last);
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 2 + dangling_length + 1);
  });
  EXPECT_EQ(names_of(lines_C), (std::vector<std::string>{"other", "y"}));
  EXPECT_EQ(names_of(gates_C), (std::vector<std::string>{"buf"}));
  EXPECT_EQ(names_of(input_lines_C), (std::vector<std::string>{"other"}));
  EXPECT_EQ(signal_named("s100"), nullptr);
  EXPECT_EQ(gate_named("i100"), nullptr);
  child_result_t check = run_in_child([] { proof(); });
  EXPECT_EQ(check.exit_status, 0) << check.output;
}

}  // namespace
