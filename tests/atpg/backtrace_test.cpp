// Choosing the next decision: objectives carried backwards by multiple
// backtrace to fanout stems and head lines, and the value the final
// objective gets.
#include "atpg/backtrace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atpg/implication.h"
#include "atpg/working_sets.h"
#include "model/line.h"
#include "model/protocol.h"
#include "support/preproc_circuit.h"
#include "support/search_state.h"

namespace {

using journal_t = std::vector<std::string>;

void require(const std::string& name, char value) {
  line_C* l = line_named(name);
  assign_good_value(l, value);
  implication_line_C.fuege_ein(l);
}

std::vector<std::string> head_objective_names() {
  std::vector<std::string> names;
  for (int i = 0; i < head_objectives_C.anzahl_i; i++)
    names.push_back(head_objectives_C[i]->objective_line_p->name_s);
  return names;
}

// s fans out to o = t s (t is the target, stuck-at 0) and y2 = s b.
const std::string stem_outside_cone = cir_text("t, s, b, o, y2", "g1, g2 : And_2 ;\n", "t, s, b", "o, y2",
                                               "g1 ( t, s ; o ) ;\ng2 ( s, b ; y2 ) ;\n");

TEST(MultipleBacktrace, AStemAskedForBothValuesIsDecidedBeforeAnyHeadLine) {
  prepare_search("stem", stem_outside_cone);
  // b is much harder to set to 0 than s, so y2 = 0 is asked of s.
  line_named("b")->contby_0_d = 10;
  stage_target(line_named("t"), ZERO);
  require("y2", ZERO);
  ASSERT_EQ(implication(), STEP_ASSIGNED);

  // Passing the effect through g1 asks s->o__1 for 1, justifying y2 asks
  // s->y2__2 for 0.
  backtrace_flag_b = 1;
  objective_type_u objective = determine_final_objective();
  ASSERT_NE(objective.objective_line_p, nullptr);
  EXPECT_EQ(objective.objective_line_p->name_s, "s");
  EXPECT_EQ(objective.n0_i, 1);
  EXPECT_EQ(objective.n1_i, 1);
  EXPECT_EQ(head_objective_names(), std::vector<std::string>{"b"});

  // Equal requests and equal controllabilities: s gets 0.
  const int entries = protocol_C.anzahl_i;
  assign_value_to_final_objective(objective);
  const journal_t journal = journal_text();
  ASSERT_EQ(journal.size(), static_cast<size_t>(entries + 1));
  EXPECT_EQ(journal.back(), "s decision good X>0");
  EXPECT_EQ(names_of(implication_line_C).back(), "s");
}

TEST(MultipleBacktrace, AStemInTheOutputConePassesItsRequestsBackwards) {
  // s = t u lies in the cone of the target t (stuck-at 0) and fans out to
  // y1 = s a and y2 = s + b; u fans out to s and to the inverter v.
  prepare_search(
      "cone",
      cir_text("t, u, a, b, s, v, y1, y2", "g0, g1 : And_2 ;\ng2 : Or_2 ;\ng3 : Inverter ;\n", "t, u, a, b",
               "y1, y2, v", "g0 ( t, u ; s ) ;\ng3 ( u ; v ) ;\ng1 ( s, a ; y1 ) ;\ng2 ( s, b ; y2 ) ;\n"));
  // The requests of y1 = 0 and y2 = 1 go to the branches of s.
  line_named("a")->contby_0_d = 10;
  line_named("b")->contby_1_d = 10;
  stage_target(line_named("t"), ZERO);
  require("y1", ZERO);
  require("y2", ONE);
  ASSERT_EQ(implication(), STEP_ASSIGNED);
  ASSERT_EQ(line_named("s")->good_value_c, X);

  backtrace_flag_b = 1;
  objective_type_u objective = determine_final_objective();
  ASSERT_NE(objective.objective_line_p, nullptr);
  // s gathers a 0 and a 1 and hands both to u; u also has the 1 that
  // passing the effect through g0 needs.
  EXPECT_EQ(objective.objective_line_p->name_s, "u");
  EXPECT_EQ(objective.n0_i, 1);
  EXPECT_EQ(objective.n1_i, 2);
}

// The current objectives as "name n0/n1", in the order they were added.
std::vector<std::string> current_objective_texts() {
  std::vector<std::string> result;
  for (int i = 0; i < current_objectives_C.anzahl_i; i++) {
    const objective_type_u* o = current_objectives_C[i];
    result.push_back(o->objective_line_p->name_s + " " + std::to_string(o->n0_i) + "/" +
                     std::to_string(o->n1_i));
  }
  return result;
}

// The requests an objective at y = g(inputs) passes to each input.
std::vector<std::string> distributed(const std::string& kind, const std::string& inputs, int n0, int n1) {
  prepare_search(
      "gate", cir_text(inputs + ", y", "g : " + kind + " ;\n", inputs, "y", "g ( " + inputs + " ; y ) ;\n"));
  // b is the easiest input to set to either value.
  for (const char* name : {"a", "b", "c"}) {
    if (line_C* l = signal_named(name)) {
      l->contby_0_d = l->contby_1_d = name == std::string("b") ? 1 : 5;
    }
  }
  let_objectives_be_empty();
  objective_type_u objective{line_named("y"), n0, n1};
  determine_next_objective_and_add_them_to_current_objectives(objective);
  return current_objective_texts();
}

TEST(MultipleBacktrace, EachGateKindPassesTheRequestsToItsInputs) {
  using list_t = std::vector<std::string>;
  // The value a gate needs from all its inputs goes to every input; the
  // value one input can give goes to the easiest one only.
  EXPECT_EQ(distributed("And_3", "a, b, c", 2, 3), (list_t{"a 0/3", "b 2/3", "c 0/3"}));
  EXPECT_EQ(distributed("Or_3", "a, b, c", 2, 3), (list_t{"a 2/0", "b 2/3", "c 2/0"}));
  EXPECT_EQ(distributed("Nand_3", "a, b, c", 2, 3), (list_t{"a 0/2", "b 3/2", "c 0/2"}));
  EXPECT_EQ(distributed("Nor_3", "a, b, c", 2, 3), (list_t{"a 3/0", "b 3/2", "c 3/0"}));
  EXPECT_EQ(distributed("Inverter", "a", 2, 3), (list_t{"a 3/2"}));
  EXPECT_EQ(distributed("Driver", "a", 2, 3), (list_t{"a 2/3"}));
}

TEST(MultipleBacktrace, AnInputWithAValueGetsNoRequest) {
  prepare_search("gate", cir_text("a, b, c, y", "g : And_3 ;\n", "a, b, c", "y", "g ( a, b, c ; y ) ;\n"));
  line_named("c")->good_value_c = ONE;
  let_objectives_be_empty();
  objective_type_u objective{line_named("y"), 1, 0};
  determine_next_objective_and_add_them_to_current_objectives(objective);
  // b is as easy as a: the first met takes the 0-request.
  EXPECT_EQ(current_objective_texts(), (std::vector<std::string>{"a 1/0", "b 0/0"}));
}

TEST(MultipleBacktrace, AnExorSplitsItsRequestsByTheControllabilitiesOfBothInputs) {
  using list_t = std::vector<std::string>;
  const std::string exor = cir_text("a, b, y", "g : Exor ;\n", "a, b", "y", "g ( a, b ; y ) ;\n");
  auto split = [&](char a_value) {
    prepare_search("exor", exor);
    // Both inputs are far easier to set to 0 than to 1.
    for (const char* name : {"a", "b"}) {
      line_named(name)->contby_0_d = 1;
      line_named(name)->contby_1_d = 5;
    }
    line_named("a")->good_value_c = a_value;
    let_objectives_be_empty();
    objective_type_u objective{line_named("y"), 2, 3};
    determine_next_objective_and_add_them_to_current_objectives(objective);
    return current_objective_texts();
  };
  // Equal inputs: both 0. Different inputs: the sums tie, so a = 1, b = 0.
  EXPECT_EQ(split(X), (list_t{"a 2/3", "b 5/0"}));
  // a already 0: different inputs must be a = 0, b = 1.
  EXPECT_EQ(split(ZERO), (list_t{"a 5/0", "b 2/3"}));
}

TEST(HeadObjectives, ALineAlreadyInTheListKeepsItsFirstCounts) {
  prepare_search("stem", stem_outside_cone);
  let_objectives_be_empty();
  objective_type_u s{line_named("s"), 1, 0};
  objective_type_u b{line_named("b"), 0, 2};
  objective_type_u s_again{line_named("s"), 0, 5};
  add_objective_to_head_objectives(s);
  add_objective_to_head_objectives(b);
  add_objective_to_head_objectives(s_again);
  ASSERT_EQ(head_objectives_C.anzahl_i, 2);

  // The most requested comes out first: b with 2 requests, then s with its 1.
  objective_type_u first = take_out_head_objective();
  EXPECT_EQ(first.objective_line_p->name_s, "b");
  objective_type_u second = take_out_head_objective();
  EXPECT_EQ(second.objective_line_p->name_s, "s");
  EXPECT_EQ(second.n0_i, 1);
  EXPECT_EQ(second.n1_i, 0);
  EXPECT_TRUE(head_objectives_C.is_empty());
}

TEST(FinalObjective, TheValueFollowsTheRequestsThenTheControllabilities) {
  struct case_t {
    int n0, n1;
    double contby_0, contby_1;
    char value;
  };
  const std::vector<case_t> cases = {
      {1, 1, 2, 2, ZERO}, {1, 1, 3, 2, ONE}, {1, 1, 2, 3, ZERO}, {2, 1, 3, 2, ZERO}, {1, 2, 2, 3, ONE},
  };
  for (const case_t& c : cases) {
    SCOPED_TRACE(std::to_string(c.n0) + "/" + std::to_string(c.n1) + " " + std::to_string(c.contby_0) + "/" +
                 std::to_string(c.contby_1));
    prepare_search("stem", stem_outside_cone);
    line_C* b = line_named("b");
    b->contby_0_d = c.contby_0;
    b->contby_1_d = c.contby_1;
    objective_type_u objective{b, c.n0, c.n1};
    assign_value_to_final_objective(objective);
    EXPECT_EQ(journal_text(), journal_t{"b decision good X>" + value_text(c.value)});
    EXPECT_EQ(b->good_value_c, c.value);
  }
}

TEST(FinalObjective, ADecisionOnABoundLineMakesItUnjustified) {
  prepare_search("stem", stem_outside_cone);
  line_C* branch = line_named("s->o__1");
  ASSERT_EQ(branch->line_type_c, BOUND_LINE);
  objective_type_u objective{branch, 0, 3};
  assign_value_to_final_objective(objective);
  EXPECT_EQ(journal_text(), (journal_t{"s->o__1 decision good X>1", "s->o__1 +unjustified"}));
  EXPECT_EQ(names_of(unjustified_bound_line_C), std::vector<std::string>{"s->o__1"});
}

}  // namespace
