// Levels, line classes and feedback marks, and the whole preprocessing of a
// very deep circuit.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/large_stack.h"
#include "app/statistic.h"
#include "faults/collapsing.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "preproc/feedback.h"
#include "preproc/levels.h"
#include "preproc/line_structure.h"
#include "preproc/preprocessing.h"
#include "support/circuit_text.h"
#include "support/stuck_at_model.h"

namespace {

using names_t = std::vector<std::string>;

// The names of the signals or gates of a list whose flag is set, in list order.
template <class List, class Flag>
names_t marked(const List& list, Flag flag) {
  names_t names;
  for (int i = 0; i < list.anzahl_i; i++)
    if (list[i]->*flag) names.push_back(list[i]->name_s);
  return names;
}

TEST(Levels, InverterChainCountsUpFromTheInputAndDownToTheOutput) {
  read_checked_circuit("chain", cir_text("a, b, c, d", "g1, g2, g3 : Inverter ;\n", "a", "d",
                                         "g1 ( a ; b ) ;\ng2 ( b ; c ) ;\ng3 ( c ; d ) ;\n"));
  calculate_planes();
  int level = 0;
  for (const char* name : {"a", "b", "c", "d"}) {
    const line_C* l = line_named(name);
    level++;
    EXPECT_EQ(l->plane_i, level) << name;
    EXPECT_EQ(l->nummer_i, level) << name;
    EXPECT_EQ(l->output_depth_i, 5 - level) << name;
  }
}

TEST(LineStructure, FanoutStemIsAHeadAndAFreeLineMeetingABoundOneBecomesAHead) {
  // a fans out to the And, which d2 = not d also feeds, and to an inverter.
  read_checked_circuit("head", cir_text("a, d, d2, c, e", "g0, g2 : Inverter ;\ng1 : And_2 ;\n", "a, d",
                                        "c, e", "g0 ( d ; d2 ) ;\ng1 ( a, d2 ; c ) ;\ng2 ( a ; e ) ;\n"));
  line_structure();
  const std::pair<const char*, int> expected[] = {
      {"a", HEAD_LINE},  {"a->c__1", BOUND_LINE}, {"a->e__2", BOUND_LINE}, {"c", BOUND_LINE},
      {"e", BOUND_LINE}, {"d", FREE_LINE},        {"d2", HEAD_LINE}};
  for (const auto& [name, type] : expected) EXPECT_EQ(line_named(name)->line_type_c, type) << name;
  EXPECT_EQ(names_of(free_lines_C), (names_t{"a", "d", "d2"}));
}

TEST(Feedback, LoopSetsTheFlagAndMarksEverySignalAndGateOnIt) {
  // x = a And y, y = not x: the loop runs through the stem x, the fanout gate
  // named after it, its branch to the inverter, the inverter and y.
  read_checked_circuit("loop", cir_text("a, x, y", "g1 : And_2 ;\ng2 : Inverter ;\n", "a", "x",
                                        "g1 ( a, y ; x ) ;\ng2 ( x ; y ) ;\n"));
  feedback_analyse();
  EXPECT_EQ(statistic_u.feedback_b, 1);
  EXPECT_EQ(marked(lines_C, &line_C::in_feedback_b), (names_t{"x", "y", "x->y__2"}));
  EXPECT_EQ(marked(gates_C, &gate_C::in_feedback_b), (names_t{"g1", "g2", "x"}));
  EXPECT_TRUE(marked(lines_C, &line_C::reconvergent_b).empty());
}

TEST(Preprocessing, ChainOfTwoHundredThousandInvertersIsPreprocessed) {
  constexpr int length = 200000;
  select_pure_stuck_at_model();
  run_on_large_stack([&] {
    read_checked_circuit("deep", inverter_chain(length));
    praeprocessing(0);
  });
  EXPECT_EQ(statistic_u.feedback_b, 0);
  EXPECT_EQ(free_lines_C.anzahl_i, length + 1);
  // The faults alternate in kind along the chain in two classes.
  EXPECT_EQ(aequivalenzen_zahl_i, 2);
  const line_C* n0 = line_named("s0");
  for (int i : {0, 1, 99999, length}) {
    const line_C* l = line_named("s" + std::to_string(i));
    EXPECT_EQ(l->plane_i, i + 1) << i;
    EXPECT_EQ(l->nummer_i, i + 1) << i;
    EXPECT_EQ(l->output_depth_i, length + 1 - i) << i;
    EXPECT_EQ(l->line_type_c, FREE_LINE) << i;
    EXPECT_EQ(l->aequi_class_0_i, i % 2 ? n0->aequi_class_1_i : n0->aequi_class_0_i) << i;
  }
}

}  // namespace
