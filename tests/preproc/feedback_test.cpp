// Feedback loops and reconvergent paths.
#include "preproc/feedback.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/statistic.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/preproc_circuit.h"

namespace {

std::set<std::string> lines_with(char line_C::*flag) {
  std::set<std::string> names;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    if (lines_C[i]->*flag) names.insert(lines_C[i]->name_s);
  }
  return names;
}

template <class F>
std::set<std::string> gates_where(F flag) {
  std::set<std::string> names;
  for (int i = 0; i < gates_C.anzahl_i; i++) {
    if (flag(gates_C[i])) names.insert(gates_C[i]->name_s);
  }
  return names;
}

std::set<std::string> feedback_gates() {
  return gates_where([](const gate_C* g) { return g->in_feedback_b != 0; });
}
std::set<std::string> reconvergent_gates() {
  return gates_where([](const gate_C* g) { return g->reconvergent_b != 0; });
}

TEST(Feedback, LoopSetsTheFlagAndMarksEverySignalAndGateOnIt) {
  // x = a And y, y = not x: the loop runs through the stem x, the fanout gate
  // named after it, its branch to the inverter, the inverter and y.
  read_checked_circuit("loop", cir_text("a, x, y", "g1 : And_2 ;\ng2 : Inverter ;\n", "a", "x",
                                        "g1 ( a, y ; x ) ;\ng2 ( x ; y ) ;\n"));
  feedback_analyse();
  EXPECT_EQ(statistic_u.feedback_b, 1);
  EXPECT_EQ(lines_with(&line_C::in_feedback_b), (std::set<std::string>{"x", "x->y__2", "y"}));
  EXPECT_EQ(feedback_gates(), (std::set<std::string>{"g1", "g2", "x"}));
  EXPECT_TRUE(lines_with(&line_C::reconvergent_b).empty());
  EXPECT_TRUE(reconvergent_gates().empty());
  EXPECT_TRUE(lines_with(&line_C::aequi_mark_0_b).empty());
}

TEST(Feedback, ReconvergenceMarksTheGateWhereExploredPathsMeet) {
  // a reaches c through the inverter first and then again through the
  // branch a->c__2. d's own path to e is no reconvergence: the marks of the
  // search from a are gone by then.
  read_checked_circuit("reconv", cir_text("a, d, b, c, e", "g1 : Inverter ;\ng2, g3 : And_2 ;\n", "a, d", "e",
                                          "g1 ( a ; b ) ;\ng2 ( b, a ; c ) ;\ng3 ( c, d ; e ) ;\n"));
  feedback_analyse();
  EXPECT_EQ(statistic_u.feedback_b, 0);
  EXPECT_EQ(reconvergent_gates(), (std::set<std::string>{"g2"}));
  // b was explored when the second path arrived; a->c__2 was the last signal
  // of that path.
  EXPECT_EQ(lines_with(&line_C::reconvergent_b), (std::set<std::string>{"b", "a->c__2"}));
  EXPECT_TRUE(lines_with(&line_C::in_feedback_b).empty());
  EXPECT_TRUE(feedback_gates().empty());
  EXPECT_TRUE(lines_with(&line_C::aequi_mark_0_b).empty());
}

}  // namespace
