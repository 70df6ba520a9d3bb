// Free, bound and head lines and the list of free lines.
#include "preproc/line_structure.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/circuit.h"
#include "model/line.h"
#include "support/child.h"
#include "support/preproc_circuit.h"

namespace {

void expect_types(const std::vector<std::pair<std::string, char>>& expected) {
  for (const auto& [name, type] : expected) EXPECT_EQ(int(line_named(name)->line_type_c), int(type)) << name;
}

std::vector<std::string> free_line_names() {
  std::vector<std::string> names;
  for (int i = 0; i < free_lines_C.anzahl_i; i++) names.push_back(free_lines_C[i]->name_s);
  return names;
}

TEST(LineStructure, WithoutFanoutEveryLineIsFree) {
  read_checked_circuit("pipo", cir_text("a, b, c", "g1 : Inverter ;\n", "a, b", "a, c", "g1 ( b ; c ) ;\n"));
  line_structure();
  // a is an input and an output at once.
  expect_types({{"a", FREE_LINE}, {"b", FREE_LINE}, {"c", FREE_LINE}});
  EXPECT_EQ(free_line_names(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(LineStructure, InputFeedingAFanoutIsAHeadAndEverythingBehindItIsBound) {
  read_checked_circuit("fanout", cir_text("a, b, c, e", "g1, g3 : Inverter ;\ng2 : And_2 ;\n", "a", "e",
                                          "g1 ( a ; b ) ;\ng2 ( b, a ; c ) ;\ng3 ( c ; e ) ;\n"));
  line_structure();
  expect_types({{"a", HEAD_LINE},
                {"a->b__1", BOUND_LINE},
                {"a->c__2", BOUND_LINE},
                {"b", BOUND_LINE},
                {"c", BOUND_LINE},
                {"e", BOUND_LINE}});
  EXPECT_EQ(free_line_names(), (std::vector<std::string>{"a"}));
}

TEST(LineStructure, InputThatIsAlsoAnOutputAndFeedsAGateBecomesAFanoutStem) {
  // The output moves to a branch of its own, so the input feeds a fanout.
  read_checked_circuit("stem", cir_text("a, b", "g1 : Inverter ;\n", "a", "a, b", "g1 ( a ; b ) ;\n"));
  line_structure();
  expect_types({{"a", HEAD_LINE}, {"a->output__1", BOUND_LINE}, {"a->b__2", BOUND_LINE}, {"b", BOUND_LINE}});
}

TEST(LineStructure, FreeLineBeforeABoundGateOutputBecomesAHead) {
  // d2 meets the bound branch a->c__1 at the And; d is one gate further away.
  read_checked_circuit("head", cir_text("a, d, d2, c, e", "g0, g2 : Inverter ;\ng1 : And_2 ;\n", "a, d",
                                        "c, e", "g0 ( d ; d2 ) ;\ng1 ( a, d2 ; c ) ;\ng2 ( a ; e ) ;\n"));
  line_structure();
  expect_types({{"a", HEAD_LINE},
                {"a->c__1", BOUND_LINE},
                {"a->e__2", BOUND_LINE},
                {"c", BOUND_LINE},
                {"e", BOUND_LINE},
                {"d", FREE_LINE},
                {"d2", HEAD_LINE}});
  // In the order of classification; d2 entered as a free line.
  EXPECT_EQ(free_line_names(), (std::vector<std::string>{"a", "d", "d2"}));
}

TEST(LineStructure, FreeGateOutputFeedingAFanoutIsAHead) {
  read_checked_circuit("inner", cir_text("p, q, r, s", "g1, g2, g3 : Inverter ;\n", "p", "r, s",
                                         "g1 ( p ; q ) ;\ng2 ( q ; r ) ;\ng3 ( q ; s ) ;\n"));
  line_structure();
  expect_types({{"p", FREE_LINE},
                {"q", HEAD_LINE},
                {"q->r__1", BOUND_LINE},
                {"q->s__2", BOUND_LINE},
                {"r", BOUND_LINE},
                {"s", BOUND_LINE}});
  EXPECT_EQ(free_line_names(), (std::vector<std::string>{"p", "q"}));
}

TEST(LineStructure, ListOfFreeLinesGetsRoomForEverySignal) {
  read_checked_circuit("room", cir_text("a, b, c", "g1 : Inverter ;\n", "a, b", "a, c", "g1 ( b ; c ) ;\n"));
  free_lines_C.init(1);  // smaller than the circuit
  line_structure();
  EXPECT_EQ(free_lines_C.anzahl_i, 3);
  EXPECT_GE(static_cast<int>(free_lines_C.elemente_p.size()), lines_C.anzahl_i);
}

TEST(LineStructure, LineNotReachedFromAnInputEndsTheRun) {
  // On the loop x -> y -> x no line ever has all its gate inputs classified.
  read_checked_circuit("loop", cir_text("a, x, y", "g1 : And_2 ;\ng2 : Inverter ;\n", "a", "x",
                                        "g1 ( a, y ; x ) ;\ng2 ( x ; y ) ;\n"));
  EXPECT_FATAL(line_structure(), "line_structure: not all lines are discovered");
}

}  // namespace
