// Unique sensitisation: the values every propagation path needs, assigned
// without a decision, first along the chain of single gates in front of the
// D-frontier and, from the second phase on, at the off-path inputs that all
// paths share.
#include "atpg/unique_sensitisation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atpg/driver.h"
#include "atpg/implication.h"
#include "atpg/working_sets.h"
#include "model/line.h"
#include "model/protocol.h"
#include "support/preproc_circuit.h"
#include "support/search_state.h"

namespace {

using journal_t = std::vector<std::string>;

char good(const std::string& name) {
  return line_named(name)->good_value_c;
}

char bad(const std::string& name) {
  return line_named(name)->bad_value_c;
}

TEST(DChain, TheEffectPassesAndAndOrGivingTheirSideInputsTheNonControllingValue) {
  // y = t b c, z = y + d; t stuck-at 0.
  prepare_search("chain", cir_text("t, b, c, d, y, z", "g1 : And_3 ;\ng2 : Or_2 ;\n", "t, b, c, d", "z",
                                   "g1 ( t, b, c ; y ) ;\ng2 ( y, d ; z ) ;\n"));
  stage_target(line_named("t"), ZERO);
  EXPECT_EQ(unique_sensitisation(), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(),
            (journal_t{"t -dfront", "y good X>1", "y bad X>0", "b good X>1", "c good X>1", "y +dfront",
                       "y -dfront", "z good X>1", "z bad X>0", "d good X>0", "z +dfront"}));
  EXPECT_EQ(names_of(d_front_C), std::vector<std::string>{"z"});
  // Implication goes on from every line the chain assigned.
  EXPECT_EQ(names_of(implication_line_C), (std::vector<std::string>{"t", "b", "c", "y", "d", "z"}));
  EXPECT_EQ(implication(), STEP_ASSIGNED);
}

TEST(DChain, TheEffectPassesAnExorWithoutAValueForTheOtherInput) {
  const std::string exor = cir_text("t, e, y", "g1 : Exor ;\n", "t, e", "y", "g1 ( t, e ; y ) ;\n");

  // With the output's good value known, its faulty value is the complement.
  prepare_search("exor", exor);
  stage_target(line_named("t"), ZERO);
  assign_good_value(line_named("y"), ONE);
  EXPECT_EQ(unique_sensitisation(), STEP_ASSIGNED);
  EXPECT_EQ(bad("y"), ZERO);
  EXPECT_EQ(good("e"), X);
  EXPECT_EQ(names_of(d_front_C), std::vector<std::string>{"y"});

  // With the output open the polarity is not known: the effect stays.
  prepare_search("exor", exor);
  stage_target(line_named("t"), ZERO);
  EXPECT_EQ(unique_sensitisation(), STEP_NOTHING_NEW);
  EXPECT_EQ(good("e"), X);
  EXPECT_EQ(good("y"), X);
  EXPECT_EQ(bad("y"), X);
  EXPECT_EQ(names_of(d_front_C), std::vector<std::string>{"t"});
}

TEST(DChain, ASideInputHoldingTheControllingValueIsAConflict) {
  prepare_search("blocked", cir_text("t, b, y", "g1 : And_2 ;\n", "t, b", "y", "g1 ( t, b ; y ) ;\n"));
  stage_target(line_named("t"), ZERO);
  assign_good_value(line_named("b"), ZERO);
  EXPECT_EQ(unique_sensitisation(), STEP_CONFLICT);
}

// t fans out to p1 = t a and p2 = t b; y = p1 + p2 + c.
const std::string two_paths_to_or =
    cir_text("t, a, b, c, p1, p2, y", "g1, g2 : And_2 ;\ng3 : Or_3 ;\n", "t, a, b, c", "y",
             "g1 ( t, a ; p1 ) ;\ng2 ( t, b ; p2 ) ;\ng3 ( p1, p2, c ; y ) ;\n");

TEST(OffPathInputs, ADFrontierWithoutAPathToAnOutputIsAConflictFromTheSecondPhaseOn) {
  prepare_search("blocked", two_paths_to_or);
  stage_target(line_named("t"), ZERO);
  assign_good_value(line_named("c"), ONE);  // y = 1 in both circuits
  implication_line_C.fuege_ein(line_named("c"));
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  ASSERT_EQ(names_of(d_front_C), (std::vector<std::string>{"t->p1__1", "t->p2__2"}));
  ASSERT_EQ(good("y"), ONE);
  ASSERT_EQ(bad("y"), ONE);
  ASSERT_EQ(d_front_changed_b, 1);

  // The first phase looks no further than the D-chain.
  EXPECT_EQ(unique_sensitisation(), STEP_NOTHING_NEW);
  phase2_b = 1;
  EXPECT_EQ(unique_sensitisation(), STEP_CONFLICT);
}

TEST(OffPathInputs, AnInputCommonToReconvergentPathsGetsItsNonControllingValue) {
  // t fans out to p1 = t a and p2 = t + b, which meet at r = p1 p2 c.
  prepare_search("common",
                 cir_text("t, a, b, c, p1, p2, r", "g1 : And_2 ;\ng2 : Or_2 ;\ng3 : And_3 ;\n", "t, a, b, c",
                          "r", "g1 ( t, a ; p1 ) ;\ng2 ( t, b ; p2 ) ;\ng3 ( p1, p2, c ; r ) ;\n"));
  stage_target(line_named("t"), ZERO);
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  ASSERT_EQ(names_of(d_front_C), (std::vector<std::string>{"t->p1__1", "t->p2__2"}));
  const int journal_before = protocol_C.anzahl_i;
  phase2_b = 1;
  EXPECT_EQ(unique_sensitisation(), STEP_ASSIGNED);
  // a and b lie on one path each; c lies on both.
  EXPECT_EQ(good("c"), ONE);
  EXPECT_EQ(good("a"), X);
  EXPECT_EQ(good("b"), X);
  const journal_t journal = journal_text();
  EXPECT_EQ(journal.size(), static_cast<size_t>(journal_before + 1));
  EXPECT_EQ(journal.back(), "c good X>1");
}

TEST(OffPathInputs, BranchesOfOneStemCountAsOneOffPathInput) {
  // t and s both fan out: p1 = t s, p2 = t s, r = p1 + p2. Each path needs
  // one branch of s at 1, which is one requirement on s.
  prepare_search("stem", cir_text("t, s, p1, p2, r", "g1, g2 : And_2 ;\ng3 : Or_2 ;\n", "t, s", "r",
                                  "g1 ( t, s ; p1 ) ;\ng2 ( t, s ; p2 ) ;\ng3 ( p1, p2 ; r ) ;\n"));
  stage_target(line_named("t"), ZERO);
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  phase2_b = 1;
  EXPECT_EQ(unique_sensitisation(), STEP_ASSIGNED);
  EXPECT_TRUE(good("s->p1__1") == ONE || good("s->p2__2") == ONE);
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  EXPECT_EQ(good("s"), ONE);
  EXPECT_EQ(good("r"), ONE);
  EXPECT_EQ(bad("r"), ZERO);
}

}  // namespace
