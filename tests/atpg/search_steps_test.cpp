// The steps of one search beyond plain implication: unique sensitisation,
// backtracking through the journal, the network reset, dynamic learning,
// multiple backtrace, the justification of free lines and the backtrack limit.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/run.h"
#include "atpg/backtrace.h"
#include "atpg/driver.h"
#include "atpg/dynamic_learning.h"
#include "atpg/fan.h"
#include "atpg/implication.h"
#include "atpg/unique_sensitisation.h"
#include "atpg/working_sets.h"
#include "model/circuit.h"
#include "model/line.h"
#include "model/protocol.h"
#include "support/circuit_text.h"
#include "support/reference_circuit.h"
#include "support/search_state.h"

namespace {

using names_t = std::vector<std::string>;

char good(const std::string& name) {
  return line_named(name)->good_value_c;
}

// y = (t a) xor (t a) from two And gates that both read t and a: y is always
// 0, so no fault on t is observable, and finding that out takes one decision
// (on a). A fault on p1 alone is observable.
const std::string cancelling = cir_text("t, a, p1, p2, y", "g1, g2 : And_2 ;\ng3 : Exor ;\n", "t, a", "y",
                                        "g1 ( t, a ; p1 ) ;\ng2 ( t, a ; p2 ) ;\ng3 ( p1, p2 ; y ) ;\n");

TEST(UniqueSensitisation, AndSideInputsGetOneAnExorSideInputStaysOpen) {
  // y = t b c with t stuck-at 0: b and c must be 1, without a decision.
  prepare_search("and", cir_text("t, b, c, y", "g : And_3 ;\n", "t, b, c", "y", "g ( t, b, c ; y ) ;\n"));
  stage_target(line_named("t"), ZERO);
  EXPECT_EQ(unique_sensitisation(), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(),
            (names_t{"t -dfront", "y good X>1", "y bad X>0", "b good X>1", "c good X>1", "y +dfront"}));

  // y = t xor e with y = 1: the faulty y is 0 whatever e is.
  prepare_search("exor", cir_text("t, e, y", "g : Exor ;\n", "t, e", "y", "g ( t, e ; y ) ;\n"));
  stage_target(line_named("t"), ZERO);
  assign_good_value(line_named("y"), ONE);
  EXPECT_EQ(unique_sensitisation(), STEP_ASSIGNED);
  EXPECT_EQ(values_text(), "t 1/0, y 1/0");
  EXPECT_EQ(names_of(d_front_C), names_t{"y"});
}

TEST(UniqueSensitisation, ADFrontierWithoutAPathToAnOutputIsAConflictInTheSecondPhase) {
  // t fans out to p1 = t a and p2 = t b; c = 1 holds y = p1 + p2 + c at 1.
  prepare_search("blocked",
                 cir_text("t, a, b, c, p1, p2, y", "g1, g2 : And_2 ;\ng3 : Or_3 ;\n", "t, a, b, c", "y",
                          "g1 ( t, a ; p1 ) ;\ng2 ( t, b ; p2 ) ;\ng3 ( p1, p2, c ; y ) ;\n"));
  stage_target(line_named("t"), ZERO);
  assign_good_value(line_named("c"), ONE);
  implication_line_C.fuege_ein(line_named("c"));
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  ASSERT_EQ(names_of(d_front_C), (names_t{"t->p1__1", "t->p2__2"}));
  EXPECT_EQ(unique_sensitisation(), STEP_NOTHING_NEW);  // the first phase looks no further
  phase2_b = 1;
  EXPECT_EQ(unique_sensitisation(), STEP_CONFLICT);
}

void decide(const std::string& name, char value) {
  objective_type_u objective{line_named(name), value == ZERO ? 1 : 0, value == ONE ? 1 : 0};
  assign_value_to_final_objective(objective);
}

TEST(Backtracking, AFlippedDecisionIsOrdinaryAndTheNextBacktrackFlipsAnEarlierOne) {
  prepare_search("flip", cir_text("a, b, y", "g : And_2 ;\n", "a, b", "y", "g ( a, b ; y ) ;\n"));
  decide("a", ONE);
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  decide("b", ONE);
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), (names_t{"a decision good X>1", "b decision good X>1", "y good X>1"}));

  ASSERT_EQ(exist_untried_combination_of_values(), 1);
  set_untried_combination_of_values();
  EXPECT_EQ(journal_text(), (names_t{"a decision good X>1", "b good X>0"}));
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  EXPECT_EQ(good("y"), ZERO);

  // b has had both values: the next backtrack takes it back and flips a.
  ASSERT_EQ(exist_untried_combination_of_values(), 1);
  EXPECT_EQ(values_text(), "a 1/X");
  set_untried_combination_of_values();
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), (names_t{"a good X>0", "y good X>0"}));
  EXPECT_EQ(exist_untried_combination_of_values(), 0);
  EXPECT_EQ(values_text(), "");
}

TEST(Backtracking, ARedundantSearchUndoesItselfAndTheResetClearsEverything) {
  prepare_search("cancel", cancelling);
  // p1 stuck-at 0 is seen at y with t = a = 1: the test becomes the init values.
  ASSERT_EQ(search_for("p1", ZERO), TEST_FOUND);
  reset_net(TEST_FOUND);
  EXPECT_EQ(values_text(), "");
  EXPECT_TRUE(d_front_C.is_empty() && implication_line_C.is_empty() && unjustified_bound_line_C.is_empty());
  EXPECT_EQ(protocol_C.anzahl_i, 0);
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    const line_C* l = lines_C[i];
    EXPECT_EQ(l->init_value_c, l->name_s == "y" ? ZERO : ONE) << l->name_s;
  }

  ASSERT_EQ(search_for("t", ZERO), REDUNDANT);
  EXPECT_EQ(number_backtracks_i, 1);  // a = 1 and a = 0 both tried
  EXPECT_EQ(protocol_C.anzahl_i, 0);
  EXPECT_EQ(values_text(), "t 1/0");
  EXPECT_EQ(names_of(d_front_C), names_t{"t"});
  EXPECT_TRUE(unjustified_bound_line_C.is_empty());
  reset_net(REDUNDANT);
  EXPECT_EQ(values_text(), "");
  EXPECT_EQ(line_named("a")->init_value_c, ONE);  // a failed search leaves them
}

TEST(SearchLimit, WithLimitZeroTheFirstBacktrackAborts) {
  prepare_search("cancel", cancelling);
  max_number_backtracks_i = 0;
  EXPECT_EQ(search_for("t", ZERO), ABORTED);
  EXPECT_EQ(number_backtracks_i, 0);
  EXPECT_EQ(journal_text().back(), "a good X>1");  // the decision stays, as an ordinary entry
}

// x feeds both inputs of g, whose output s must be 1: implication sees two
// open inputs and learns nothing.
void gate_reading_x_twice(const std::string& kind) {
  prepare_search("twice", cir_text("x, s", "g : " + kind + " ;\n", "x", "s", "g ( x, x ; s ) ;\n"));
  assign_good_value(line_named("s"), ONE);
  implication_line_C.fuege_ein(line_named("s"));
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  ASSERT_EQ(good("x"), X);
  implication_line_C.anzahl_i = 0;  // as the search leaves it after implication
}

TEST(DynamicLearning, AConflictingTrialExcludesItsValueAndTwoProveAConflict) {
  gate_reading_x_twice("Nand_2");  // x = 1 gives s = 0
  EXPECT_EQ(dyn_learning(), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), (names_t{"s good X>1 +unjustified", "x good X>0"}));

  gate_reading_x_twice("Exor");  // x xor x is never 1
  const names_t journal = journal_text();
  const std::string values = values_text();
  EXPECT_EQ(dyn_learning(), STEP_CONFLICT);
  EXPECT_EQ(journal_text(), journal);
  EXPECT_EQ(values_text(), values);
}

TEST(MultipleBacktrace, AStemAskedForBothValuesOutsideTheConeIsTheFinalObjective) {
  // s fans out to o = t s (t is the target, stuck-at 0) and y2 = s b. b is
  // much harder to set to 0 than s, so y2 = 0 is asked of s.
  prepare_search("stem", cir_text("t, s, b, o, y2", "g1, g2 : And_2 ;\n", "t, s, b", "o, y2",
                                  "g1 ( t, s ; o ) ;\ng2 ( s, b ; y2 ) ;\n"));
  line_named("b")->contby_0_d = 10;
  stage_target(line_named("t"), ZERO);
  assign_good_value(line_named("y2"), ZERO);
  implication_line_C.fuege_ein(line_named("y2"));
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  backtrace_flag_b = 1;
  objective_type_u objective = determine_final_objective();
  ASSERT_NE(objective.objective_line_p, nullptr);
  EXPECT_EQ(objective.objective_line_p->name_s, "s");
  EXPECT_EQ(objective.n0_i, 1);
  EXPECT_EQ(objective.n1_i, 1);

  // Equal requests and equal controllabilities: s gets 0.
  ASSERT_EQ(line_named("s")->contby_0_d, line_named("s")->contby_1_d);
  assign_value_to_final_objective(objective);
  EXPECT_EQ(journal_text().back(), "s decision good X>0");
}

TEST(FreeLineJustification, EveryFreeGateEndsConsistentWithItsInputs) {
  // Fanout-free, so every line is free: y = (a xor b, c)' + (d + e)'.
  const std::string text = cir_text(
      "a, b, c, d, e, p, q, r, y", "g1 : Exor ;\ng2 : Nand_2 ;\ng3 : Nor_2 ;\ng4 : Or_2 ;\n", "a, b, c, d, e",
      "y", "g1 ( a, b ; p ) ;\ng2 ( p, c ; q ) ;\ng3 ( d, e ; r ) ;\ng4 ( q, r ; y ) ;\n");
  const reference_circuit_t ref(text);
  for (const std::string values : {"y1", "y0", "y1 a1", "y1 b1", "y0 a0"}) {
    SCOPED_TRACE(values);
    prepare_search("free", text);
    set_good(values);
    justify_free_lines();
    std::vector<uint64_t> inputs;
    for (const std::string& name : ref.inputs()) {
      ASSERT_NE(good(name), X) << name;
      inputs.push_back(good(name) == ONE ? ~0ULL : 0);
    }
    const std::vector<uint64_t> signals = ref.signal_values(inputs);
    for (int i = 0; i < lines_C.anzahl_i; i++) {
      const line_C* l = lines_C[i];
      const char v = signals[ref.signal(l->name_s)] ? ONE : ZERO;
      EXPECT_TRUE(l->good_value_c == X || l->good_value_c == v) << l->name_s;
    }
    for (size_t i = 0; i < values.size(); i += 3)
      EXPECT_EQ(good(values.substr(i, 1)), values[i + 1] == '1' ? ONE : ZERO);
  }
}

}  // namespace
