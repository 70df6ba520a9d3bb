// Dynamic learning: both values are tried on every open line; a value that
// leads to a conflict is excluded, both values in conflict prove the present
// state inconsistent, and what a trial implies is kept, turned around, for
// global implication until the next backtrack.
#include "atpg/dynamic_learning.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atpg/driver.h"
#include "atpg/implication.h"
#include "atpg/working_sets.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/protocol.h"
#include "support/preproc_circuit.h"
#include "support/search_state.h"

namespace {

using journal_t = std::vector<std::string>;

// x fans out twice into the one gate g, whose output s is required to hold
// value: implication sees two open inputs and learns nothing.
void gate_reading_x_twice(const std::string& kind, char value) {
  prepare_search("twice", cir_text("x, s", "g : " + kind + " ;\n", "x", "s", "g ( x, x ; s ) ;\n"));
  assign_good_value(line_named("s"), value);
  implication_line_C.fuege_ein(line_named("s"));
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  ASSERT_EQ(line_named("x")->good_value_c, X);
  implication_line_C.anzahl_i = 0;  // as the search leaves it after implication
}

TEST(DynamicLearning, AValueWhoseTrialConflictsIsExcludedWithoutADecision) {
  struct case_t {
    std::string kind;
    char s;
    char x;  // the value x is left with
  };
  // Nand = 1 forbids x = 1; Or = 1 forbids x = 0.
  for (const case_t& c : {case_t{"Nand_2", ONE, ZERO}, case_t{"Or_2", ONE, ONE}}) {
    SCOPED_TRACE(c.kind);
    gate_reading_x_twice(c.kind, c.s);
    EXPECT_EQ(dyn_learning(), STEP_ASSIGNED);
    EXPECT_EQ(line_named("x")->good_value_c, c.x);
    EXPECT_EQ(journal_text(),
              (journal_t{"s good X>" + value_text(c.s) + " +unjustified", "x good X>" + value_text(c.x)}));
    EXPECT_EQ(names_of(implication_line_C), std::vector<std::string>{"x"});
  }
}

TEST(DynamicLearning, BothTrialsInConflictReportAnInconsistentState) {
  // x xor x is never 1.
  gate_reading_x_twice("Exor", ONE);
  const search_state_t before = capture_search_state();
  EXPECT_EQ(dyn_learning(), STEP_CONFLICT);
  // The trials are undone.
  EXPECT_EQ(capture_search_state(), before);
}

bool has_learned(const line_C* m, int list, const line_C* l, char value) {
  const line_value_liste_C& learned = m->dyn_learned_C[list];
  for (int i = 0; i < learned.anzahl_i; i++) {
    if (learned[i]->line_p == l && learned[i]->value_c == value) return true;
  }
  return false;
}

// l fans out to p = l + c and q = l + d, which meet at m = p q; the output
// z = m + e is required to be 1. The trial l = 1 gives m = 1 through the
// reconvergence, so m = 0 means l = 0, which m's own gate cannot tell.
class LearnedImplications : public testing::Test {
 protected:
  void SetUp() override {
    prepare_search(
        "reconverge",
        cir_text("l, c, d, e, p, q, m, z", "g1, g2, g4 : Or_2 ;\ng3 : And_2 ;\n", "l, c, d, e", "z",
                 "g1 ( l, c ; p ) ;\ng2 ( l, d ; q ) ;\ng3 ( p, q ; m ) ;\ng4 ( m, e ; z ) ;\n"));
    assign_good_value(line_named("z"), ONE);
    l = line_named("l");
    m = line_named("m");
  }
  line_C* l = nullptr;
  line_C* m = nullptr;
};

TEST_F(LearnedImplications, ATrialImplicationIsKeptAsItsContrapositive) {
  const search_state_t before = capture_search_state();
  // No trial conflicts, so nothing is assigned, but something was learned.
  EXPECT_EQ(dyn_learning(), STEP_ASSIGNED);
  EXPECT_EQ(capture_search_state(), before);
  EXPECT_TRUE(has_learned(m, 0, l, ZERO));
  // m = 1 needs p = q = 1, which says nothing about l.
  EXPECT_EQ(m->dyn_learned_C[1].anzahl_i, 0);
}

TEST_F(LearnedImplications, GlobalImplicationAppliesWhatWasLearned) {
  ASSERT_EQ(dyn_learning(), STEP_ASSIGNED);
  assign_good_value(m, ZERO);
  EXPECT_NE(m->driver()->backward_implication(1), STEP_CONFLICT);
  EXPECT_EQ(l->good_value_c, ZERO);
  EXPECT_EQ(line_named("l->q__2")->good_value_c, ZERO);
}

TEST_F(LearnedImplications, ForgettingThemLeavesOnlyWhatTheGatesImply) {
  ASSERT_EQ(dyn_learning(), STEP_ASSIGNED);
  forget_dynamic_implications();
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    EXPECT_TRUE(lines_C[i]->dyn_learned_C[0].is_empty()) << lines_C[i]->name_s;
    EXPECT_TRUE(lines_C[i]->dyn_learned_C[1].is_empty()) << lines_C[i]->name_s;
  }
  assign_good_value(m, ZERO);
  EXPECT_NE(m->driver()->backward_implication(1), STEP_CONFLICT);
  EXPECT_EQ(l->good_value_c, X);
}

TEST(DynamicLearning, InTheThirdPhaseAnInconsistentStateNeedsNoDecision) {
  // y = (t a) xor (t b) with b a copy of a is always 0, so t stuck-at 0 is
  // redundant. The side inputs a and b come from different gates, so they
  // are no common off-path input; the first two phases must try a value.
  const std::string cancelling =
      cir_text("t, a, b, p1, p2, y", "g1, g2 : And_2 ;\ng3 : Exor ;\ng4 : Driver ;\n", "t, a", "y",
               "g4 ( a ; b ) ;\ng1 ( t, a ; p1 ) ;\ng2 ( t, b ; p2 ) ;\n"
               "g3 ( p1, p2 ; y ) ;\n");
  for (const char phase : {1, 2, 3}) {
    SCOPED_TRACE("phase " + std::to_string(phase));
    prepare_search("cancel", cancelling);
    phase2_b = phase >= 2;
    phase3_b = phase == 3;
    EXPECT_EQ(search_for("t", ZERO), REDUNDANT);
    // Learning finds both values of a in conflict before anything is decided.
    EXPECT_EQ(number_backtracks_i, phase == 3 ? 0 : 1);
    EXPECT_EQ(protocol_C.anzahl_i, 0);
  }
}

}  // namespace
