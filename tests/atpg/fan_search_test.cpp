// How one search ends: at the backtrack limit, as soon as the fault effect
// is at an output with nothing left to justify, and with the free lines
// justified so that every gate of a free region agrees with its inputs.
#include "atpg/fan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/run.h"
#include "atpg/driver.h"
#include "atpg/working_sets.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/protocol.h"
#include "support/paths.h"
#include "support/preproc_circuit.h"
#include "support/run_quarn.h"
#include "support/search_state.h"

namespace {

int decisions_on_journal() {
  int n = 0;
  for (const std::string& entry : journal_text()) {
    if (entry.find(" decision") != std::string::npos) n++;
  }
  return n;
}

TEST(SearchEnd, WithLimitZeroTheFirstBacktrackAborts) {
  prepare_search("cancel", cancelling_paths_circuit());
  max_number_backtracks_i = 0;
  EXPECT_EQ(search_for("t", ZERO), ABORTED);
  EXPECT_EQ(number_backtracks_i, 0);
  // The decision that would have been flipped stays behind as an ordinary entry.
  EXPECT_EQ(decisions_on_journal(), 0);
  EXPECT_EQ(journal_text().back(), "a good X>1");
}

TEST(SearchEnd, WithoutAnyDecisionToFlipTheLimitDoesNotMatter) {
  // f = a b + a' c + b c with t3 = b c stuck-at 0: implication alone shows
  // that f cannot tell the fault apart, so there is nothing to abort.
  prepare_search("consensus", read_file(example_circuit("redundant.cir")));
  max_number_backtracks_i = 0;
  EXPECT_EQ(search_for("t3", ZERO), REDUNDANT);
}

TEST(SearchEnd, EffectAtAnOutputWithNothingUnjustifiedEndsWithDecisionsUntried) {
  // t fans out to p1 = t a and p2 = t b, both outputs: one side input at 1 is
  // enough, the other is never decided.
  prepare_search("either", cir_text("t, a, b, p1, p2", "g1, g2 : And_2 ;\n", "t, a, b", "p1, p2",
                                    "g1 ( t, a ; p1 ) ;\ng2 ( t, b ; p2 ) ;\n"));
  ASSERT_EQ(search_for("t", ZERO), TEST_FOUND);
  EXPECT_EQ(number_backtracks_i, 0);
  EXPECT_EQ(decisions_on_journal(), 1);
  const char a = line_named("a")->good_value_c;
  const char b = line_named("b")->good_value_c;
  EXPECT_TRUE((a == ONE && b == X) || (a == X && b == ONE)) << value_text(a) << " " << value_text(b);
}

TEST(SearchEnd, ATargetAtAnOutputNeedsNoDecisionAtAll) {
  prepare_search("output", cir_text("a, b, y", "g : And_2 ;\n", "a, b", "y", "g ( a, b ; y ) ;\n"));
  ASSERT_EQ(search_for("y", ONE), TEST_FOUND);
  EXPECT_EQ(protocol_C.anzahl_i, 0);
  // The free region is justified afterwards: an And gate with output 0 gets
  // 0 on every open input.
  EXPECT_EQ(line_named("a")->good_value_c, ZERO);
  EXPECT_EQ(line_named("b")->good_value_c, ZERO);
}

// The tests' own evaluation of a gate whose inputs all hold 0 or 1.
bool gate_gives(const gate_C* g, char out) {
  std::vector<bool> in;
  for (int i = 0; i < g->inputs_C.anzahl_i; i++) in.push_back(g->inputs_C[i]->good_value_c == ONE);
  bool v = false;
  switch (g->gate_type_c) {
    case AND_GATE:
    case NAND_GATE:
      v = true;
      for (bool b : in) v = v && b;
      break;
    case OR_GATE:
    case NOR_GATE:
      for (bool b : in) v = v || b;
      break;
    case EXOR_GATE:
      v = in[0] != in[1];
      break;
    case DRIVER_GATE:
    case INVERTER_GATE:
      v = in[0];
      break;
    default:
      ADD_FAILURE() << "unexpected gate " << g->name_s;
  }
  if (g->gate_type_c == NAND_GATE || g->gate_type_c == NOR_GATE || g->gate_type_c == INVERTER_GATE) v = !v;
  return v == (out == ONE);
}

// Every gate whose output holds a value has every input at 0 or 1, and the
// inputs give that value.
void expect_every_gate_justified() {
  for (int i = 0; i < gates_C.anzahl_i; i++) {
    const gate_C* g = gates_C[i];
    const char out = g->outputs_C[0]->good_value_c;
    if (out == X) continue;
    bool assigned = true;
    for (int k = 0; k < g->inputs_C.anzahl_i; k++) {
      const char v = g->inputs_C[k]->good_value_c;
      if (v != ZERO && v != ONE) assigned = false;
    }
    ASSERT_TRUE(assigned) << g->name_s;
    EXPECT_TRUE(gate_gives(g, out)) << g->name_s << " gives " << value_text(out);
  }
}

// A fanout-free circuit, so every line is free: y = (a xor b, c)' + (d + e)'.
const std::string free_region = cir_text(
    "a, b, c, d, e, p, q, r, y", "g1 : Exor ;\ng2 : Nand_2 ;\ng3 : Nor_2 ;\ng4 : Or_2 ;\n", "a, b, c, d, e",
    "y", "g1 ( a, b ; p ) ;\ng2 ( p, c ; q ) ;\ng3 ( d, e ; r ) ;\ng4 ( q, r ; y ) ;\n");

TEST(FreeLineJustification, EveryGateOfAFreeRegionEndsConsistentWithItsOutput) {
  struct case_t {
    std::string preset;  // a line given a value before, or empty
    char preset_value;
    char y;
  };
  const std::vector<case_t> cases = {
      {"", X, ONE},       // the Exor output gets 0 with both inputs open
      {"", X, ZERO},      // q = r = 0: the Exor output gets 1 with both inputs open
      {"a", ONE, ONE},    // the Exor output gets 0 with a already 1
      {"b", ONE, ONE},    // the Exor output gets 0 with b already 1
      {"a", ZERO, ZERO},  // implication already gives b its 1 from p = 1
  };
  for (const case_t& c : cases) {
    SCOPED_TRACE("y = " + value_text(c.y) +
                 (c.preset.empty() ? "" : ", " + c.preset + " = " + value_text(c.preset_value)));
    prepare_search("free", free_region);
    for (int i = 0; i < lines_C.anzahl_i; i++) ASSERT_NE(lines_C[i]->line_type_c, BOUND_LINE);
    line_named("y")->good_value_c = c.y;
    if (!c.preset.empty()) line_named(c.preset)->good_value_c = c.preset_value;
    justify_free_lines();
    expect_every_gate_justified();
    EXPECT_EQ(line_named("y")->good_value_c, c.y);
    if (!c.preset.empty()) {
      EXPECT_EQ(line_named(c.preset)->good_value_c, c.preset_value);
    }
    EXPECT_TRUE(unjustified_free_line_C.is_empty());
  }
}

TEST(FreeLineJustification, AFoundTestLeavesNoOpenInputBehindAFreeLine) {
  // The target's stuck-at 1 at y needs y = 0, which the free region must
  // produce from the primary inputs.
  prepare_search("free", free_region);
  ASSERT_EQ(search_for("y", ONE), TEST_FOUND);
  expect_every_gate_justified();
  for (int i = 0; i < input_lines_C.anzahl_i; i++) {
    EXPECT_NE(input_lines_C[i]->good_value_c, X) << input_lines_C[i]->name_s;
  }
}

}  // namespace
