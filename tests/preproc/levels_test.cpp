// Levels, topological numbers and output depths.
#include "preproc/levels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/gate.h"
#include "model/line.h"
#include "support/child.h"
#include "support/preproc_circuit.h"

namespace {

struct expected_levels_t {
  std::string line;
  int plane;
  int nummer;
  int depth;
};

void expect_levels(const std::vector<expected_levels_t>& expected) {
  for (const auto& e : expected) {
    const line_C* l = line_named(e.line);
    EXPECT_EQ(l->plane_i, e.plane) << e.line;
    EXPECT_EQ(l->nummer_i, e.nummer) << e.line;
    EXPECT_EQ(l->output_depth_i, e.depth) << e.line;
  }
}

TEST(Levels, InverterChainCountsUpFromTheInputAndDownToTheOutput) {
  read_checked_circuit("chain", cir_text("a, b, c, d", "g1, g2, g3 : Inverter ;\n", "a", "d",
                                         "g1 ( a ; b ) ;\ng2 ( b ; c ) ;\ng3 ( c ; d ) ;\n"));
  calculate_planes();
  expect_levels({{"a", 1, 1, 4}, {"b", 2, 2, 3}, {"c", 3, 3, 2}, {"d", 4, 4, 1}});
}

TEST(Levels, InputThatIsAlsoAnOutputIsAtLevelOneAndDepthOne) {
  read_checked_circuit("pipo", cir_text("a, b, c", "g1 : Inverter ;\n", "a, b", "a, c", "g1 ( b ; c ) ;\n"));
  calculate_planes();
  // Inputs are numbered in input order before what they drive.
  expect_levels({{"a", 1, 1, 1}, {"b", 1, 2, 2}, {"c", 2, 3, 1}});
}

TEST(Levels, ReconvergingPathsGiveLongestLevelsShortestDepthsAndATopologicalOrder) {
  // a fans out to the inverter (branch a->b__1) and to the And (a->c__2);
  // the And waits for its slower input.
  read_checked_circuit("reconv", cir_text("a, b, c", "g1 : Inverter ;\ng2 : And_2 ;\n", "a", "c",
                                          "g1 ( a ; b ) ;\ng2 ( b, a ; c ) ;\n"));
  calculate_planes();
  expect_levels({{"a", 1, 1, 3}, {"a->b__1", 2, 2, 3}, {"b", 3, 3, 2}, {"a->c__2", 2, 4, 2}, {"c", 4, 5, 1}});
}

TEST(Levels, AGateWithoutOutputsIsNamedAndEndsTheRun) {
  read_checked_circuit("noout", cir_text("a, b", "g1 : Inverter ;\n", "a", "b", "g1 ( a ; b ) ;\n"));
  gate_named("g1")->outputs_C.anzahl_i = 0;
  child_result_t run = run_in_child([] { calculate_planes(); });
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.output.find("g1\nERROR!!!\ngate_C::calculate_planes: no output detected\n"),
            std::string::npos)
      << run.output;
}

}  // namespace
