// Implication through every gate kind and through fanout, and the journal and working sets it keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "implication/implication.h"

#include "app/run.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/circuit_text.h"
#include "support/search_state.h"

namespace {

implication_C& imp() {
  return current_run().imp;
}

using names_t = std::vector<std::string>;

TEST(Implication, EveryGateKindForwardAndBackward) {
  // "kind given > implied": from the good values given (unjournalled), forward implication (< backward)
  // journals the values implied, finds nothing new when there are none, or a conflict (!).
  for (const std::string c :
       {"And_2 a0 > y0",   "And_2 a1 >",        "And_2 a1 b1 y0 > !",  "Nand_2 a1 b1 > y0",
        "Or_2 b1 > y1",    "Nor_2 a0 b0 > y1",  "Exor a1 b1 > y0",     "Exor a1 b0 > y1",
        "Exor a0 >",       "Inverter a1 > y0",  "Driver a0 > y0",      "And_3 y0 a1 b1 < c0",
        "And_3 y0 a1 <",   "And_2 y1 a0 < !",   "Nor_3 y1 < a0 b0 c0", "Nor_2 y0 <",
        "Or_2 y1 a0 < b1", "Nand_2 y0 < a1 b1", "Exor y1 a0 < b1",     "Exor y0 b1 < a1",
        "Exor y1 <",       "Exor y1 a1 b1 < !", "Inverter y1 < a0",    "Inverter y1 a1 < !",
        "Driver y0 < a0"}) {
    SCOPED_TRACE(c);
    const size_t space = c.find(' '), arrow = c.find_first_of("<>");
    const std::string kind = c.substr(0, space), implied = c.substr(arrow + 1);
    const std::string in = kind == "Inverter" || kind == "Driver" ? "a"
                           : kind.ends_with('3')                  ? "a, b, c"
                                                                  : "a, b";
    prepare_search("gate", cir_text(in + ", y", "g : " + kind + " ;\n", in, "y", "g ( " + in + " ; y ) ;\n"));
    set_good(c.substr(space + 1, arrow - space - 2));
    names_t journal;
    for (size_t i = 1; i + 1 < implied.size() && implied != " !"; i += 3)
      journal.push_back(implied.substr(i, 1) + " good X>" + implied[i + 1]);
    gate_C* g = line_named("y")->driver();
    EXPECT_EQ(c[arrow] == '>' ? imp().forward_implication(g) : imp().backward_implication(g, 1),
              implied == " !"   ? STEP_CONFLICT
              : journal.empty() ? STEP_NOTHING_NEW
                                : STEP_ASSIGNED);
    EXPECT_EQ(journal_text(), journal);
  }
}

TEST(Implication, FanoutBranchesAgreeWithTheirStem) {
  // a fans out to two inverters through the bound branches a->x__1 and a->y__2.
  const std::string fanout =
      cir_text("a, x, y", "g1, g2 : Inverter ;\n", "a", "x, y", "g1 ( a ; x ) ;\ng2 ( a ; y ) ;\n");
  prepare_search("fanout", fanout);
  line_named("a->x__1")->good_value_c = ZERO;
  line_named("a->y__2")->good_value_c = ONE;
  EXPECT_EQ(imp().backward_implication(line_named("a")->successor(), 1), STEP_CONFLICT);
  // Given a value, a branch waits for its stem among the unjustified lines until the stem follows.
  prepare_search("fanout", fanout);
  imp().assign_good_value(line_named("a->x__1"), ONE);
  EXPECT_EQ(names_of(imp().unjustified_bound_line_C), names_t{"a->x__1"});
  EXPECT_EQ(imp().backward_implication(line_named("a")->successor(), 1), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), (names_t{"a->x__1 good X>1 +unjustified", "a good X>1", "a->x__1 -unjustified",
                                     "a->y__2 good X>1", "x good X>0", "y good X>0"}));
  EXPECT_TRUE(imp().unjustified_bound_line_C.is_empty());
}

TEST(Implication, TheDFrontierMovesThroughAGateOrLosesItsLastLine) {
  // t = a b, stuck-at 0, reaches y = t + c: c = 0 lets the effect pass, c = 1 blocks its only path.
  for (const char c : {ZERO, ONE}) {
    prepare_search("dfront", cir_text("a, b, c, t, y", "g1 : And_2 ;\ng2 : Or_2 ;\n", "a, b, c", "y",
                                      "g1 ( a, b ; t ) ;\ng2 ( t, c ; y ) ;\n"));
    stage_target(line_named("t"), ZERO);
    imp().assign_good_value(line_named("c"), c);
    EXPECT_EQ(imp().forward_implication(line_named("y")->driver()),
              c == ZERO ? STEP_ASSIGNED : STEP_CONFLICT);
    EXPECT_EQ(names_of(imp().d_front_C), c == ZERO ? names_t{"y"} : names_t{});
    if (c == ZERO) {
      EXPECT_EQ(journal_text(), (names_t{"c good X>0", "y good X>1", "y bad X>0", "t -dfront", "y +dfront"}));
    }
  }
}

}  // namespace
