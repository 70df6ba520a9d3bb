// Output and input cones of a signal.
#include "preproc/cones.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/circuit.h"
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

void clear_cones() {
  for (int i = 0; i < lines_C.anzahl_i; i++)
    lines_C[i]->in_ausgangskegel_b = lines_C[i]->in_eingangskegel_b = 0;
}

class Cones : public testing::Test {
 protected:
  void SetUp() override {
    // a fans out into a reconvergent pair of paths; d and the driver from p
    // to q stand beside them.
    read_checked_circuit(
        "cones",
        cir_text("a, d, p, b, c, e, q", "g1 : Inverter ;\ng2, g3 : And_2 ;\ng4 : Driver ;\n", "a, d, p",
                 "e, q", "g1 ( a ; b ) ;\ng2 ( b, a ; c ) ;\ng3 ( c, d ; e ) ;\ng4 ( p ; q ) ;\n"));
  }
};

TEST_F(Cones, OutputConeFollowsTheSuccessors) {
  output_kegel(line_named("a->b__1"));
  EXPECT_EQ(lines_with(&line_C::in_ausgangskegel_b), (std::set<std::string>{"a->b__1", "b", "c", "e"}));
  EXPECT_TRUE(lines_with(&line_C::in_eingangskegel_b).empty());
  clear_cones();
  output_kegel(line_named("a"));
  EXPECT_EQ(lines_with(&line_C::in_ausgangskegel_b),
            (std::set<std::string>{"a", "a->b__1", "a->c__2", "b", "c", "e"}));
  clear_cones();
  output_kegel(line_named("e"));
  EXPECT_EQ(lines_with(&line_C::in_ausgangskegel_b), (std::set<std::string>{"e"}));
}

TEST_F(Cones, InputConeFollowsTheDrivers) {
  input_kegel(line_named("c"));
  EXPECT_EQ(lines_with(&line_C::in_eingangskegel_b),
            (std::set<std::string>{"c", "b", "a->b__1", "a->c__2", "a"}));
  EXPECT_TRUE(lines_with(&line_C::in_ausgangskegel_b).empty());
  clear_cones();
  input_kegel(line_named("q"));
  EXPECT_EQ(lines_with(&line_C::in_eingangskegel_b), (std::set<std::string>{"q", "p"}));
  clear_cones();
  input_kegel(line_named("d"));
  EXPECT_EQ(lines_with(&line_C::in_eingangskegel_b), (std::set<std::string>{"d"}));
}

TEST_F(Cones, ConesGrowWithoutLosingEarlierMarks) {
  // Until the network is reset the marks of several signals add up.
  output_kegel(line_named("d"));
  output_kegel(line_named("p"));
  EXPECT_EQ(lines_with(&line_C::in_ausgangskegel_b), (std::set<std::string>{"d", "e", "p", "q"}));
  input_kegel(line_named("b"));
  input_kegel(line_named("e"));
  EXPECT_EQ(lines_with(&line_C::in_eingangskegel_b),
            (std::set<std::string>{"a", "a->b__1", "a->c__2", "b", "c", "d", "e"}));
}

}  // namespace
