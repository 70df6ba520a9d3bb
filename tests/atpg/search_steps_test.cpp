// The steps of one search beyond plain implication.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/driver.h"
#include "app/run.h"
#include "atpg/backtrace.h"
#include "atpg/dynamic_learning.h"
#include "atpg/fan.h"
#include "atpg/unique_sensitisation.h"
#include "model/circuit.h"
#include "model/line.h"
#include "model/protocol.h"
#include "support/circuit_text.h"
#include "support/reference_circuit.h"
#include "support/search_state.h"

namespace {

implication_C& imp() {
  return current_run().imp;
}
fan_C& fan() {
  return current_run().fan;
}
settings_C& settings() {
  return current_run().settings;
}

using names_t = std::vector<std::string>;

// Prepares the search, stages the target (stuck-at 0) and implies a good value of the line, each if named.
void prepared(const std::string& text, const char* target, const char* line = nullptr, char value = X) {
  prepare_search("s", text);
  if (target) stage_target(line_named(target), ZERO);
  if (!line) return;
  imp().assign_good_value(line_named(line), value);
  imp().implication_line_C.fuege_ein(line_named(line));
  EXPECT_EQ(imp().implication(), STEP_ASSIGNED) << line;
}

TEST(UniqueSensitisation, AndSideInputsGetOneAnExorSideInputStaysOpenABlockedDFrontierConflictsLater) {
  // y = t b c: b and c must be 1, without a decision.
  prepared(cir_text("t, b, c, y", "g : And_3 ;\n", "t, b, c", "y", "g ( t, b, c ; y ) ;\n"), "t");
  EXPECT_EQ(unique_sensitisation(imp(), fan().off_path_search), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(),
            (names_t{"t -dfront", "y good X>1", "y bad X>0", "b good X>1", "c good X>1", "y +dfront"}));
  // y = t xor e with y = 1: the faulty y is 0 whatever e is.
  prepared(cir_text("t, e, y", "g : Exor ;\n", "t, e", "y", "g ( t, e ; y ) ;\n"), "t");
  imp().assign_good_value(line_named("y"), ONE);
  EXPECT_EQ(unique_sensitisation(imp(), fan().off_path_search), STEP_ASSIGNED);
  EXPECT_EQ(values_text() + "; " + names_of(imp().d_front_C)[0], "t 1/0, y 1/0; y");
  // t fans out to p1 = t a and p2 = t b; c = 1 holds y = p1 + p2 + c at 1.
  prepared(cir_text("t, a, b, c, p1, p2, y", "g1, g2 : And_2 ;\ng3 : Or_3 ;\n", "t, a, b, c", "y",
                    "g1 ( t, a ; p1 ) ;\ng2 ( t, b ; p2 ) ;\ng3 ( p1, p2, c ; y ) ;\n"),
           "t", "c", ONE);
  ASSERT_EQ(names_of(imp().d_front_C), (names_t{"t->p1__1", "t->p2__2"}));
  EXPECT_EQ(unique_sensitisation(imp(), fan().off_path_search),
            STEP_NOTHING_NEW);  // the first phase looks no further
  imp().phase2_b = 1;
  EXPECT_EQ(unique_sensitisation(imp(), fan().off_path_search), STEP_CONFLICT);
}

TEST(Backtracking, LatestDecisionFlipsFirstRedundantSearchUndoesItselfResetClearsAllLimitZeroAborts) {
  prepare_search("s", cir_text("a, b, y", "g : And_2 ;\n", "a, b", "y", "g ( a, b ; y ) ;\n"));
  for (objective_type_u one : {objective_type_u{line_named("a"), 0, 1}, {line_named("b"), 0, 1}})
    fan().backtrace.assign_value_to_final_objective(one);
  ASSERT_EQ(imp().implication(), STEP_ASSIGNED);
  // A flipped decision is ordinary: once b has had both values, the next backtrack flips a.
  for (const names_t& journal :
       {names_t{"a decision good X>1", "b good X>0", "y good X>0"}, names_t{"a good X>0", "y good X>0"}}) {
    ASSERT_EQ(fan().exist_untried_combination_of_values(), 1);
    fan().set_untried_combination_of_values();
    ASSERT_EQ(imp().implication(), STEP_ASSIGNED);
    EXPECT_EQ(journal_text(), journal);
  }
  EXPECT_TRUE(!fan().exist_untried_combination_of_values() && values_text().empty());
  // y = (t a) xor (t a) is always 0: no fault on t is observable, which takes a
  // decision on a to find out; t = a = 1 shows p1 stuck-at 0.
  prepare_search("s", cir_text("t, a, p1, p2, y", "g1, g2 : And_2 ;\ng3 : Exor ;\n", "t, a", "y",
                               "g1 ( t, a ; p1 ) ;\ng2 ( t, a ; p2 ) ;\ng3 ( p1, p2 ; y ) ;\n"));
  ASSERT_EQ(search_for("p1", ZERO), TEST_FOUND);
  imp().reset_net(TEST_FOUND);
  EXPECT_TRUE(values_text().empty() && imp().d_front_C.is_empty() && imp().implication_line_C.is_empty() &&
              imp().unjustified_bound_line_C.is_empty() && imp().protocol_C.anzahl_i == 0);
  for (int i = 0; i < current_run().circuit.lines_C.anzahl_i; i++)  // the test becomes the init values
    EXPECT_EQ(current_run().circuit.lines_C[i]->init_value_c,
              current_run().circuit.lines_C[i]->name_s == "y" ? ZERO : ONE)
        << current_run().circuit.lines_C[i]->name_s;
  // a = 1 and a = 0 tried; the journal is empty again, t keeps its fault.
  ASSERT_EQ(search_for("t", ZERO), REDUNDANT);
  EXPECT_TRUE(imp().number_backtracks_i == 1 && imp().protocol_C.anzahl_i == 0 &&
              imp().unjustified_bound_line_C.is_empty());
  EXPECT_EQ(values_text() + "; " + names_of(imp().d_front_C)[0], "t 1/0; t");
  imp().reset_net(REDUNDANT);
  EXPECT_EQ(values_text(), "");
  EXPECT_EQ(line_named("a")->init_value_c, ONE);  // a failed search leaves them
  settings().max_number_backtracks_i = 0;
  EXPECT_EQ(search_for("t", ZERO), ABORTED);
  EXPECT_EQ(imp().number_backtracks_i, 0);
  EXPECT_EQ(journal_text().back(), "a good X>1");  // the decision stays, as an ordinary entry
}

TEST(DynamicLearning, AConflictingTrialExcludesItsValueAndTwoProveAConflict) {
  // y = g(x, x) = 1 leaves x open; with a Nand x = 1 conflicts, x xor x never gives 1.
  for (const std::string kind : {"Nand_2", "Exor"}) {
    prepared(cir_text("x, y", "g : " + kind + " ;\n", "x", "y", "g ( x, x ; y ) ;\n"), nullptr, "y", ONE);
    ASSERT_EQ(values_text(), "y 1/X");
    imp().implication_line_C.anzahl_i = 0;  // as the search leaves it after implication
    const bool nand = kind == "Nand_2";
    dynamic_learning_C learning(imp());
    EXPECT_EQ(learning.dyn_learning(), nand ? STEP_ASSIGNED : STEP_CONFLICT);
    EXPECT_EQ(values_text(), nand ? "x 0/X, y 1/X" : "y 1/X");
    EXPECT_EQ(journal_text(), nand ? (names_t{"y good X>1 +unjustified", "x good X>0"})
                                   : (names_t{"y good X>1 +unjustified"}));
  }
}

TEST(MultipleBacktrace, AStemAskedForBothValuesOutsideTheConeIsTheFinalObjective) {
  // s fans out to o = t s and y2 = s b; b is much harder to set to 0 than s, so y2 = 0 is asked of s.
  prepared(cir_text("t, s, b, o, y2", "g1, g2 : And_2 ;\n", "t, s, b", "o, y2",
                    "g1 ( t, s ; o ) ;\ng2 ( s, b ; y2 ) ;\n"),
           "t", "y2", ZERO);
  line_named("b")->contby_0_d = 10;
  fan().backtrace.backtrace_flag_b = 1;
  objective_type_u objective = fan().backtrace.determine_final_objective();
  ASSERT_EQ(objective.objective_line_p, line_named("s"));
  EXPECT_TRUE(objective.n0_i == 1 && objective.n1_i == 1);
  ASSERT_EQ(line_named("s")->contby_0_d, line_named("s")->contby_1_d);
  fan().backtrace.assign_value_to_final_objective(objective);
  EXPECT_EQ(journal_text().back(), "s decision good X>0");  // equal requests and controllabilities: 0
}

TEST(FreeLineJustification, EveryFreeGateEndsConsistentWithItsInputs) {
  // Fanout-free, so every line is free: y = (a xor b, c)' + (d + e)'.
  const std::string text = cir_text(
      "a, b, c, d, e, p, q, r, y", "g1 : Exor ;\ng2 : Nand_2 ;\ng3 : Nor_2 ;\ng4 : Or_2 ;\n", "a, b, c, d, e",
      "y", "g1 ( a, b ; p ) ;\ng2 ( p, c ; q ) ;\ng3 ( d, e ; r ) ;\ng4 ( q, r ; y ) ;\n");
  const reference_circuit_t ref(text);
  const auto good = [](const std::string& name) { return line_named(name)->good_value_c; };
  for (const std::string values : {"y1", "y0", "y1 a1", "y1 b1", "y0 a0"}) {
    prepare_search("s", text);
    set_good(values);
    fan().justify_free_lines();
    std::vector<uint64_t> inputs;
    for (const std::string& name : ref.inputs()) inputs.push_back(good(name) == ONE ? ~0ULL : 0);
    const std::vector<uint64_t> signals = ref.signal_values(inputs);
    // The inputs end up set, every value set agrees with them and the given values stay.
    for (int i = 0; i < current_run().circuit.lines_C.anzahl_i; i++) {
      const char v = current_run().circuit.lines_C[i]->good_value_c;
      EXPECT_TRUE(v == (signals[ref.signal(current_run().circuit.lines_C[i]->name_s)] ? ONE : ZERO) ||
                  (v == X && !current_run().circuit.lines_C[i]->primary_input_b))
          << current_run().circuit.lines_C[i]->name_s << " for " << values;
    }
    for (size_t i = 0; i < values.size(); i += 3)
      EXPECT_EQ(good(values.substr(i, 1)), values[i + 1] == '1' ? ONE : ZERO) << values;
  }
}

}  // namespace
