// Implication through every gate kind, forward and backward, and the working
// sets it keeps on the way: the journal, the unjustified bound lines and the
// D-frontier.
#include "atpg/implication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atpg/working_sets.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/circuit_text.h"
#include "support/search_state.h"

namespace {

using names_t = std::vector<std::string>;

TEST(Implication, EveryGateKindForwardAndBackward) {
  struct case_t {
    const char* kind;
    std::string inputs;
    std::string values;  // "y0 a1": good values given before, without the journal
    bool forward;
    char result;
    names_t journal;
  };
  const std::vector<case_t> cases = {
      {"And_2", "a, b", "a0", true, STEP_ASSIGNED, {"y good X>0"}},
      {"And_2", "a, b", "a1", true, STEP_NOTHING_NEW, {}},
      {"And_2", "a, b", "a1 b1 y0", true, STEP_CONFLICT, {}},
      {"Nand_2", "a, b", "a1 b1", true, STEP_ASSIGNED, {"y good X>0"}},
      {"Or_2", "a, b", "b1", true, STEP_ASSIGNED, {"y good X>1"}},
      {"Nor_2", "a, b", "a0 b0", true, STEP_ASSIGNED, {"y good X>1"}},
      {"Exor", "a, b", "a1 b1", true, STEP_ASSIGNED, {"y good X>0"}},
      {"Exor", "a, b", "a1 b0", true, STEP_ASSIGNED, {"y good X>1"}},
      {"Exor", "a, b", "a0", true, STEP_NOTHING_NEW, {}},
      {"Inverter", "a", "a1", true, STEP_ASSIGNED, {"y good X>0"}},
      {"Driver", "a", "a0", true, STEP_ASSIGNED, {"y good X>0"}},
      {"And_3", "a, b, c", "y0 a1 b1", false, STEP_ASSIGNED, {"c good X>0"}},
      {"And_3", "a, b, c", "y0 a1", false, STEP_NOTHING_NEW, {}},
      {"And_2", "a, b", "y1 a0", false, STEP_CONFLICT, {}},
      {"Nor_3", "a, b, c", "y1", false, STEP_ASSIGNED, {"a good X>0", "b good X>0", "c good X>0"}},
      {"Nor_2", "a, b", "y0", false, STEP_NOTHING_NEW, {}},
      {"Or_2", "a, b", "y1 a0", false, STEP_ASSIGNED, {"b good X>1"}},
      {"Nand_2", "a, b", "y0", false, STEP_ASSIGNED, {"a good X>1", "b good X>1"}},
      {"Exor", "a, b", "y1 a0", false, STEP_ASSIGNED, {"b good X>1"}},
      {"Exor", "a, b", "y0 b1", false, STEP_ASSIGNED, {"a good X>1"}},
      {"Exor", "a, b", "y1", false, STEP_NOTHING_NEW, {}},
      {"Exor", "a, b", "y1 a1 b1", false, STEP_CONFLICT, {}},
      {"Inverter", "a", "y1", false, STEP_ASSIGNED, {"a good X>0"}},
      {"Inverter", "a", "y1 a1", false, STEP_CONFLICT, {}},
      {"Driver", "a", "y0", false, STEP_ASSIGNED, {"a good X>0"}},
  };
  for (const case_t& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + (c.forward ? " forward " : " backward ") + c.values);
    prepare_search("gate", cir_text(c.inputs + ", y", std::string("g : ") + c.kind + " ;\n", c.inputs, "y",
                                    "g ( " + c.inputs + " ; y ) ;\n"));
    set_good(c.values);
    gate_C* g = line_named("y")->driver();
    EXPECT_EQ(c.forward ? g->forward_implication() : g->backward_implication(1), c.result);
    EXPECT_EQ(journal_text(), c.journal);
  }
}

TEST(Implication, FanoutBranchesAgreeWithTheirStem) {
  // a fans out to two inverters: the stem of the branches a->x__1 and a->y__2.
  const std::string fanout =
      cir_text("a, x, y", "g1, g2 : Inverter ;\n", "a", "x, y", "g1 ( a ; x ) ;\ng2 ( a ; y ) ;\n");
  prepare_search("fanout", fanout);
  line_named("a->x__1")->good_value_c = ZERO;
  line_named("a->y__2")->good_value_c = ONE;
  EXPECT_EQ(line_named("a")->successor()->backward_implication(1), STEP_CONFLICT);

  // A branch is a bound line: given a value it waits for its stem, in the
  // same journal entry, and leaves the set when the stem follows.
  prepare_search("fanout", fanout);
  assign_good_value(line_named("a->x__1"), ONE);
  EXPECT_EQ(names_of(unjustified_bound_line_C), names_t{"a->x__1"});
  EXPECT_EQ(line_named("a")->successor()->backward_implication(1), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), (names_t{"a->x__1 good X>1 +unjustified", "a good X>1", "a->x__1 -unjustified",
                                     "a->y__2 good X>1", "x good X>0", "y good X>0"}));
  EXPECT_TRUE(unjustified_bound_line_C.is_empty());
}

TEST(Implication, TheDFrontierMovesThroughAGateOrLosesItsLastLine) {
  // t = a b, stuck-at 0, reaches the output y = t + c: c = 0 lets the
  // effect pass, c = 1 blocks its only path.
  for (const char c : {ZERO, ONE}) {
    prepare_search("dfront", cir_text("a, b, c, t, y", "g1 : And_2 ;\ng2 : Or_2 ;\n", "a, b, c", "y",
                                      "g1 ( a, b ; t ) ;\ng2 ( t, c ; y ) ;\n"));
    stage_target(line_named("t"), ZERO);
    assign_good_value(line_named("c"), c);
    const char r = line_named("y")->driver()->forward_implication();
    if (c == ZERO) {
      EXPECT_EQ(r, STEP_ASSIGNED);
      EXPECT_EQ(names_of(d_front_C), names_t{"y"});
      EXPECT_EQ(journal_text(), (names_t{"c good X>0", "y good X>1", "y bad X>0", "t -dfront", "y +dfront"}));
    } else {
      EXPECT_EQ(r, STEP_CONFLICT);
      EXPECT_TRUE(d_front_C.is_empty());
    }
  }
}

}  // namespace
