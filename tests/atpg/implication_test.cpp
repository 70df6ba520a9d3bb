// Implication through every gate kind, forward and backward, and the working
// sets it keeps on the way: the D-frontier, the unjustified bound lines and
// the journal.
#include "atpg/implication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atpg/working_sets.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/protocol.h"
#include "support/preproc_circuit.h"
#include "support/search_state.h"

namespace {

using journal_t = std::vector<std::string>;

// One gate g of the given kind reading a (and b, c as it needs) and driving
// the primary output y.
void single_gate(const std::string& kind, int inputs) {
  const std::string in = inputs == 1 ? "a" : inputs == 2 ? "a, b" : "a, b, c";
  prepare_search("gate", cir_text(in + ", y", "g : " + kind + " ;\n", in, "y", "g ( " + in + " ; y ) ;\n"));
}

void set_good(const std::string& name, char value) {
  line_named(name)->good_value_c = value;
}

char good(const std::string& name) {
  return line_named(name)->good_value_c;
}

struct forward_case_t {
  std::string kind;
  int inputs;
  char a, b;
  char y;
};

TEST(ForwardImplication, EveryGateKindComputesItsOutput) {
  const std::vector<forward_case_t> cases = {
      {"And_2", 2, ONE, ONE, ONE},   {"And_2", 2, ZERO, X, ZERO},   {"And_2", 2, ONE, X, X},
      {"Nand_2", 2, ONE, ONE, ZERO}, {"Nand_2", 2, X, ZERO, ONE},   {"Or_2", 2, ZERO, ZERO, ZERO},
      {"Or_2", 2, X, ONE, ONE},      {"Or_2", 2, ZERO, X, X},       {"Nor_2", 2, ZERO, ZERO, ONE},
      {"Nor_2", 2, ONE, X, ZERO},    {"Exor", 2, ONE, ZERO, ONE},   {"Exor", 2, ONE, ONE, ZERO},
      {"Exor", 2, ZERO, X, X},       {"Inverter", 1, ONE, X, ZERO}, {"Inverter", 1, ZERO, X, ONE},
      {"Driver", 1, ZERO, X, ZERO},
  };
  for (const forward_case_t& c : cases) {
    const std::string what = c.kind + " " + value_text(c.a) + " " + value_text(c.b);
    single_gate(c.kind, c.inputs);
    set_good("a", c.a);
    if (c.inputs == 2) set_good("b", c.b);
    const char r = driver_of("y")->forward_implication();
    EXPECT_EQ(value_text(good("y")), value_text(c.y)) << what;
    if (c.y == X) {
      EXPECT_EQ(r, STEP_NOTHING_NEW) << what;
      EXPECT_EQ(journal_text(), journal_t{}) << what;
    } else {
      EXPECT_EQ(r, STEP_ASSIGNED) << what;
      EXPECT_EQ(journal_text(), journal_t{"y good X>" + value_text(c.y)}) << what;
      // Learning reads the mark to tell implied lines from assigned ones.
      EXPECT_EQ(line_named("y")->learn_mark_b, 1) << what;
    }
  }
}

TEST(ForwardImplication, OutputHoldingTheOtherValueIsAConflict) {
  single_gate("And_2", 2);
  set_good("a", ONE);
  set_good("b", ONE);
  set_good("y", ZERO);
  EXPECT_EQ(driver_of("y")->forward_implication(), STEP_CONFLICT);
}

TEST(BackwardImplication, AndWithOutputZeroGivesZeroToItsOnlyOpenInput) {
  single_gate("And_3", 3);
  set_good("y", ZERO);
  set_good("a", ONE);
  set_good("b", ONE);
  EXPECT_EQ(driver_of("y")->backward_implication(1), STEP_ASSIGNED);
  EXPECT_EQ(good("c"), ZERO);
  EXPECT_EQ(journal_text(), journal_t{"c good X>0"});
}

TEST(BackwardImplication, AndWithOutputZeroAndTwoOpenInputsImpliesNothing) {
  single_gate("And_3", 3);
  set_good("y", ZERO);
  set_good("a", ONE);
  EXPECT_EQ(driver_of("y")->backward_implication(1), STEP_NOTHING_NEW);
  EXPECT_EQ(good("b"), X);
  EXPECT_EQ(good("c"), X);
  EXPECT_EQ(protocol_C.anzahl_i, 0);
}

TEST(BackwardImplication, NorWithOutputOneGivesZeroToEveryOpenInput) {
  single_gate("Nor_3", 3);
  set_good("y", ONE);
  EXPECT_EQ(driver_of("y")->backward_implication(1), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), (journal_t{"a good X>0", "b good X>0", "c good X>0"}));
}

TEST(BackwardImplication, OrAndNandMirrorAndAndNor) {
  struct case_t {
    std::string kind;
    char y, a;
    char b;  // expected
  };
  const std::vector<case_t> cases = {
      {"Or_2", ONE, ZERO, ONE},    // the last open input must give the 1
      {"Or_2", ZERO, X, ZERO},     // every input 0
      {"Nand_2", ONE, ONE, ZERO},  // the last open input must give the 0
      {"Nand_2", ZERO, X, ONE},    // every input 1
      {"Nand_2", ONE, ZERO, X},    // already justified by a
      {"Or_2", ONE, ONE, X},       // already justified by a
      {"And_2", ONE, X, ONE},      // every input 1
      {"Nor_2", ZERO, ZERO, ONE},  // the last open input must give the 1
      {"Nor_2", ZERO, X, X},       // either input may give the 1
  };
  for (const case_t& c : cases) {
    const std::string what = c.kind + " y=" + value_text(c.y) + " a=" + value_text(c.a);
    single_gate(c.kind, 2);
    set_good("y", c.y);
    set_good("a", c.a);
    EXPECT_NE(driver_of("y")->backward_implication(1), STEP_CONFLICT) << what;
    EXPECT_EQ(value_text(good("b")), value_text(c.b)) << what;
    if (c.a == X && c.b != X) {
      EXPECT_EQ(value_text(good("a")), value_text(c.b)) << what;
    }
  }
}

TEST(BackwardImplication, InputsThatCannotGiveTheOutputAreAConflict) {
  struct case_t {
    std::string kind;
    int inputs;
    char y, a, b;
  };
  const std::vector<case_t> cases = {
      {"And_2", 2, ONE, ZERO, X},     {"Nand_2", 2, ONE, ONE, ONE}, {"Or_2", 2, ZERO, X, ONE},
      {"Nor_2", 2, ZERO, ZERO, ZERO}, {"Exor", 2, ONE, ONE, ONE},   {"Exor", 2, ZERO, ZERO, ONE},
      {"Inverter", 1, ONE, ONE, X},   {"Driver", 1, ONE, ZERO, X},
  };
  for (const case_t& c : cases) {
    single_gate(c.kind, c.inputs);
    set_good("y", c.y);
    set_good("a", c.a);
    if (c.inputs == 2) set_good("b", c.b);
    EXPECT_EQ(driver_of("y")->backward_implication(1), STEP_CONFLICT)
        << c.kind << " y=" << value_text(c.y) << " a=" << value_text(c.a) << " b=" << value_text(c.b);
  }
}

TEST(BackwardImplication, ExorWithOutputAndOneInputKnownImpliesTheOther) {
  struct case_t {
    char y, a, b;
    char implied;  // the value of the input that was open
  };
  const std::vector<case_t> cases = {
      {ONE, ZERO, X, ONE},   {ONE, ONE, X, ZERO}, {ZERO, ONE, X, ONE},
      {ZERO, X, ZERO, ZERO}, {ONE, X, ONE, ZERO},
  };
  for (const case_t& c : cases) {
    const std::string what = "y=" + value_text(c.y) + " a=" + value_text(c.a) + " b=" + value_text(c.b);
    single_gate("Exor", 2);
    set_good("y", c.y);
    set_good("a", c.a);
    set_good("b", c.b);
    EXPECT_EQ(driver_of("y")->backward_implication(1), STEP_ASSIGNED) << what;
    EXPECT_EQ(value_text(good(c.a == X ? "a" : "b")), value_text(c.implied)) << what;
  }
  single_gate("Exor", 2);
  set_good("y", ONE);
  EXPECT_EQ(driver_of("y")->backward_implication(1), STEP_NOTHING_NEW);
  EXPECT_EQ(good("a"), X);
  EXPECT_EQ(good("b"), X);
}

TEST(BackwardImplication, InverterAndDriverGiveTheirInputTheValueTheyNeed) {
  single_gate("Inverter", 1);
  set_good("y", ONE);
  EXPECT_EQ(driver_of("y")->backward_implication(1), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), journal_t{"a good X>0"});

  single_gate("Driver", 1);
  set_good("y", ZERO);
  EXPECT_EQ(driver_of("y")->backward_implication(1), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), journal_t{"a good X>0"});
}

// Input a feeds two inverters, so it becomes the stem of a fanout gate with
// the branches a->x__1 and a->y__2.
class FanoutImplication : public testing::Test {
 protected:
  void SetUp() override {
    prepare_search("fanout", cir_text("a, x, y", "g1, g2 : Inverter ;\n", "a", "x, y",
                                      "g1 ( a ; x ) ;\ng2 ( a ; y ) ;\n"));
    fanout = line_named("a")->successor();
    ASSERT_EQ(fanout->gate_type_c, FANOUT_GATE);
  }
  gate_C* fanout = nullptr;
};

TEST_F(FanoutImplication, BranchesHoldingDifferentValuesAreAConflict) {
  set_good("a->x__1", ZERO);
  set_good("a->y__2", ONE);
  EXPECT_EQ(fanout->backward_implication(1), STEP_CONFLICT);
}

TEST_F(FanoutImplication, ABranchImpliesTheStemAndTheStemTheOtherBranches) {
  // A branch is a bound line: given a value it waits for its stem.
  assign_good_value(line_named("a->x__1"), ONE);
  EXPECT_EQ(names_of(unjustified_bound_line_C), std::vector<std::string>{"a->x__1"});
  bound_line_in_back_implication_ausgefuegt_b = 0;

  EXPECT_EQ(fanout->backward_implication(1), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), (journal_t{"a->x__1 good X>1 +unjustified", "a good X>1", "a->x__1 -unjustified",
                                       "a->y__2 good X>1", "x good X>0", "y good X>0"}));
  EXPECT_TRUE(unjustified_bound_line_C.is_empty());
  EXPECT_EQ(bound_line_in_back_implication_ausgefuegt_b, 1);
}

TEST_F(FanoutImplication, TheStemGivesEveryBranchItsValueWithoutMarkingThemLearned) {
  set_good("a", ZERO);
  EXPECT_EQ(fanout->forward_implication(), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), (journal_t{"a->x__1 good X>0", "a->y__2 good X>0", "x good X>1", "y good X>1"}));
  EXPECT_EQ(line_named("a->x__1")->learn_mark_b, 0);
  EXPECT_EQ(line_named("a->y__2")->learn_mark_b, 0);
  EXPECT_EQ(line_named("x")->learn_mark_b, 1);
}

// a fans out to the And gate g1 (c = a b) and the inverter g2 (d = a'); c
// and d are bound lines, b is a head line.
class UnjustifiedLines : public testing::Test {
 protected:
  void SetUp() override {
    prepare_search("bound", cir_text("a, b, c, d", "g1 : And_2 ;\ng2 : Inverter ;\n", "a, b", "c, d",
                                     "g1 ( a, b ; c ) ;\ng2 ( a ; d ) ;\n"));
    ASSERT_EQ(line_named("c")->line_type_c, BOUND_LINE);
    ASSERT_EQ(line_named("b")->line_type_c, HEAD_LINE);
  }
};

TEST_F(UnjustifiedLines, BoundLinesWaitInTheSetUntilBackwardImplicationJustifiesThem) {
  assign_good_value(line_named("c"), ONE);
  EXPECT_EQ(names_of(unjustified_bound_line_C), std::vector<std::string>{"c"});

  EXPECT_EQ(driver_of("c")->backward_implication(1), STEP_ASSIGNED);
  // The branch enters the set when it is given its 1 and leaves it when the
  // stem follows; c leaves it once both inputs hold 1.
  EXPECT_EQ(journal_text(), (journal_t{"c good X>1 +unjustified", "a->c__1 good X>1 +unjustified",
                                       "a good X>1", "a->c__1 -unjustified", "a->d__2 good X>1", "b good X>1",
                                       "c -unjustified", "d good X>0"}));
  EXPECT_TRUE(unjustified_bound_line_C.is_empty());
  EXPECT_EQ(bound_line_in_back_implication_ausgefuegt_b, 1);
}

TEST_F(UnjustifiedLines, ABoundLineLeavesTheSetWhenForwardImplicationGivesItsValue) {
  assign_good_value(line_named("c"), ONE);
  assign_good_value(line_named("b"), ONE);
  assign_good_value(line_named("a"), ONE);
  EXPECT_EQ(line_named("a")->successor()->forward_implication(), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(),
            (journal_t{"c good X>1 +unjustified", "b good X>1", "a good X>1", "a->c__1 good X>1",
                       "a->d__2 good X>1", "c -unjustified", "d good X>0"}));
  EXPECT_TRUE(unjustified_bound_line_C.is_empty());
}

TEST(UnjustifiedLinesInTheCone, ALineLeavesOnlyOnceItsFaultyValueIsKnownToo) {
  // The target t (stuck-at 0) reaches s = (t + b) u; u fans out, so s is
  // bound and lies in the target's cone.
  prepare_search(
      "cone", cir_text("t, b, u, p, s, v", "g0 : Or_2 ;\ng1 : And_2 ;\ng2 : Inverter ;\n", "t, b, u", "s, v",
                       "g0 ( t, b ; p ) ;\ng1 ( p, u ; s ) ;\ng2 ( u ; v ) ;\n"));
  line_C* s = line_named("s");
  ASSERT_EQ(s->line_type_c, BOUND_LINE);
  stage_target(line_named("t"), ZERO);
  assign_good_value(s, ONE);
  implication_line_C.fuege_ein(s);
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  // s = 1 is justified in the good circuit (p = u = 1), but with b open the
  // faulty p and s are unknown: s still waits.
  EXPECT_EQ(good("u"), ONE);
  EXPECT_EQ(s->bad_value_c, X);
  EXPECT_EQ(names_of(unjustified_bound_line_C), std::vector<std::string>{"s"});

  assign_good_value(line_named("b"), ZERO);
  implication_line_C.anzahl_i = 0;
  implication_line_C.fuege_ein(line_named("b"));
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  EXPECT_EQ(s->bad_value_c, ZERO);
  EXPECT_TRUE(unjustified_bound_line_C.is_empty());
  EXPECT_EQ(names_of(d_front_C), std::vector<std::string>{"s"});
}

TEST(TargetLine, ItsBadValueMayDifferFromWhatItsGateProduces) {
  // t = a b feeds the inverter to the output y.
  prepare_search("target", cir_text("a, b, t, y", "g1 : And_2 ;\ng2 : Inverter ;\n", "a, b", "y",
                                    "g1 ( a, b ; t ) ;\ng2 ( t ; y ) ;\n"));
  line_C* t = line_named("t");
  stage_target(t, ZERO);
  set_good("a", ONE);
  set_good("b", ONE);
  // With a = b = 1 the faulty gate would give 1 as well; t keeps its 0.
  EXPECT_NE(driver_of("t")->forward_implication(), STEP_CONFLICT);
  EXPECT_EQ(t->good_value_c, ONE);
  EXPECT_EQ(t->bad_value_c, ZERO);

  // Any other line of the cone must agree with its gate in both circuits.
  line_named("y")->bad_value_c = ZERO;
  EXPECT_EQ(driver_of("y")->forward_implication(), STEP_CONFLICT);
}

TEST(TargetLine, TheSearchTestsAStuckAtZeroBehindAnAndGate) {
  prepare_search("target", cir_text("a, b, t, y", "g1 : And_2 ;\ng2 : Inverter ;\n", "a, b", "y",
                                    "g1 ( a, b ; t ) ;\ng2 ( t ; y ) ;\n"));
  ASSERT_EQ(search_for("t", ZERO), TEST_FOUND);
  const line_C* t = line_named("t");
  EXPECT_EQ(good("a"), ONE);
  EXPECT_EQ(good("b"), ONE);
  EXPECT_EQ(t->bad_value_c, ZERO);
  EXPECT_EQ(good("y"), ZERO);
  EXPECT_EQ(line_named("y")->bad_value_c, ONE);
}

// t = a b is the target (stuck-at 0) and reaches the output y through the Or
// gate y = t + c.
class DFrontier : public testing::Test {
 protected:
  void SetUp() override {
    prepare_search("dfront", cir_text("a, b, c, t, y", "g1 : And_2 ;\ng2 : Or_2 ;\n", "a, b, c", "y",
                                      "g1 ( a, b ; t ) ;\ng2 ( t, c ; y ) ;\n"));
    stage_target(line_named("t"), ZERO);
    d_front_changed_b = 0;
  }
};

TEST_F(DFrontier, TheFaultEffectMovesToTheOutputOfTheGateItPasses) {
  assign_good_value(line_named("c"), ZERO);
  EXPECT_EQ(driver_of("y")->forward_implication(), STEP_ASSIGNED);
  EXPECT_EQ(names_of(d_front_C), std::vector<std::string>{"y"});
  EXPECT_EQ(journal_text(), (journal_t{"c good X>0", "y good X>1", "y bad X>0", "t -dfront", "y +dfront"}));
  EXPECT_EQ(d_front_changed_b, 1);
}

TEST_F(DFrontier, LosingItsLastLineIsAConflict) {
  assign_good_value(line_named("c"), ONE);
  EXPECT_EQ(driver_of("y")->forward_implication(), STEP_CONFLICT);
  EXPECT_TRUE(d_front_C.is_empty());
  EXPECT_EQ(good("y"), ONE);
  EXPECT_EQ(line_named("y")->bad_value_c, ONE);
}

TEST_F(DFrontier, ImplicationCarriesTheEffectToTheOutputOnceTheSideInputAllowsIt) {
  assign_good_value(line_named("c"), ZERO);
  implication_line_C.fuege_ein(line_named("c"));
  EXPECT_EQ(implication(), STEP_ASSIGNED);
  EXPECT_EQ(names_of(d_front_C), std::vector<std::string>{"y"});
  // The target's 1 needs a = b = 1.
  EXPECT_EQ(good("a"), ONE);
  EXPECT_EQ(good("b"), ONE);
}

}  // namespace
