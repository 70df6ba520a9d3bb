// Backtracking through the journal: decisions are flipped once and then
// undone, an exhausted search leaves the circuit exactly as it found it, and
// the network reset prepares the next search.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atpg/backtrace.h"
#include "atpg/driver.h"
#include "atpg/fan.h"
#include "atpg/implication.h"
#include "atpg/working_sets.h"
#include "model/circuit.h"
#include "model/line.h"
#include "model/protocol.h"
#include "support/paths.h"
#include "support/preproc_circuit.h"
#include "support/run_quarn.h"
#include "support/search_state.h"

namespace {

using journal_t = std::vector<std::string>;

// f = a b + a' c + b c: the consensus term t3 = b c never decides f, so t3
// stuck-at 0 is redundant; implication alone finds that out.
std::string consensus() {
  return read_file(example_circuit("redundant.cir"));
}

void decide(const std::string& name, char value) {
  objective_type_u objective;
  objective.objective_line_p = line_named(name);
  objective.n0_i = value == ZERO ? 1 : 0;
  objective.n1_i = value == ONE ? 1 : 0;
  assign_value_to_final_objective(objective);
}

char good(const std::string& name) {
  return line_named(name)->good_value_c;
}

TEST(Backtracking, AFlippedDecisionIsOrdinaryAndTheNextBacktrackFlipsAnEarlierOne) {
  prepare_search("flip", cir_text("a, b, y", "g : And_2 ;\n", "a, b", "y", "g ( a, b ; y ) ;\n"));
  decide("a", ONE);
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  decide("b", ONE);
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), (journal_t{"a decision good X>1", "b decision good X>1", "y good X>1"}));

  // The latest decision is kept, no longer as one, and flipped.
  ASSERT_EQ(exist_untried_combination_of_values(), 1);
  EXPECT_EQ(journal_text(), (journal_t{"a decision good X>1", "b good X>1"}));
  EXPECT_EQ(good("y"), X);
  set_untried_combination_of_values();
  EXPECT_EQ(journal_text(), (journal_t{"a decision good X>1", "b good X>0"}));
  EXPECT_EQ(names_of(implication_line_C), std::vector<std::string>{"b"});
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  EXPECT_EQ(good("y"), ZERO);

  // b has had both values: the next backtrack takes it back and flips a.
  ASSERT_EQ(exist_untried_combination_of_values(), 1);
  EXPECT_EQ(journal_text(), journal_t{"a good X>1"});
  EXPECT_EQ(good("b"), X);
  EXPECT_EQ(good("y"), X);
  set_untried_combination_of_values();
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  EXPECT_EQ(journal_text(), (journal_t{"a good X>0", "y good X>0"}));

  // Nothing is left to flip.
  EXPECT_EQ(exist_untried_combination_of_values(), 0);
  EXPECT_EQ(protocol_C.anzahl_i, 0);
  EXPECT_EQ(good("a"), X);
  EXPECT_EQ(good("y"), X);
}

// What the search starts from: only the target has values, the D-frontier
// holds the target, and the unjustified set holds it when it is bound.
search_state_t start_of_search(const std::string& target, char test_value) {
  search_state_t state;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    const line_C* l = lines_C[i];
    const bool is_target = l->name_s == target;
    state.values.push_back(l->name_s + " " + (is_target ? value_text(mynot(test_value)) : "X") + "/" +
                           (is_target ? value_text(test_value) : "X"));
  }
  state.d_front = {target};
  if (line_named(target)->line_type_c == BOUND_LINE) state.unjustified = {target};
  return state;
}

TEST(Backtracking, AnExhaustedSearchLeavesTheCircuitAsItFoundIt) {
  prepare_search("cancel", cancelling_paths_circuit());
  ASSERT_EQ(search_for("t", ZERO), REDUNDANT);
  EXPECT_EQ(number_backtracks_i, 1);  // a = 1 and a = 0 both tried
  EXPECT_EQ(capture_search_state(), start_of_search("t", ZERO));

  prepare_search("consensus", consensus());
  ASSERT_EQ(line_named("t3")->line_type_c, BOUND_LINE);
  ASSERT_EQ(search_for("t3", ZERO), REDUNDANT);
  EXPECT_EQ(number_backtracks_i, 0);
  EXPECT_EQ(capture_search_state(), start_of_search("t3", ZERO));
}

std::vector<char> init_values() {
  std::vector<char> values;
  for (int i = 0; i < lines_C.anzahl_i; i++) values.push_back(lines_C[i]->init_value_c);
  return values;
}

void expect_reset_circuit() {
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    const line_C* l = lines_C[i];
    EXPECT_EQ(l->good_value_c, X) << l->name_s;
    EXPECT_EQ(l->bad_value_c, X) << l->name_s;
    EXPECT_EQ(l->in_ausgangskegel_b, 0) << l->name_s;
    EXPECT_EQ(l->in_eingangskegel_b, 0) << l->name_s;
  }
  EXPECT_TRUE(d_front_C.is_empty());
  EXPECT_TRUE(implication_line_C.is_empty());
  EXPECT_EQ(protocol_C.anzahl_i, 0);
  EXPECT_EQ(number_backtracks_i, 0);
}

TEST(NetworkReset, AFoundTestLeavesItsValuesAsInitValuesAndAFailedOneDoesNot) {
  prepare_search("cancel", cancelling_paths_circuit());
  // p1 stuck-at 0 is seen at y when t = a = 1: p2 = 1 and the faulty p1 = 0.
  ASSERT_EQ(search_for("p1", ZERO), TEST_FOUND);
  EXPECT_TRUE(unjustified_bound_line_C.is_empty());
  reset_net(TEST_FOUND);
  expect_reset_circuit();
  EXPECT_TRUE(unjustified_bound_line_C.is_empty());
  for (const char* name : {"t", "a", "p1", "p2", "t->p1__1", "a->p2__2"}) {
    EXPECT_EQ(line_named(name)->init_value_c, ONE) << name;
  }
  EXPECT_EQ(line_named("y")->init_value_c, ZERO);

  const std::vector<char> before = init_values();
  ASSERT_EQ(search_for("t", ZERO), REDUNDANT);
  reset_net(REDUNDANT);
  expect_reset_circuit();
  EXPECT_EQ(init_values(), before);
}

}  // namespace
