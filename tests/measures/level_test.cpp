// The level measure.
#include "measures/level.h"

#include <gtest/gtest.h>

#include <string>

#include "input/transform.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/child.h"
#include "support/preproc_circuit.h"

namespace {

void measure() {
  level_compute_contby();
  level_compute_observaby();
}

TEST(Level, InverterChainKeepsEveryFigureAtOne) {
  read_checked_circuit("chain", cir_text("a, b, c, d", "g1, g2, g3 : Inverter ;\n", "a", "d",
                                         "g1 ( a ; b ) ;\ng2 ( b ; c ) ;\ng3 ( c ; d ) ;\n"));
  measure();
  for (const char* name : {"a", "b", "c", "d"}) {
    const line_C* l = line_named(name);
    EXPECT_DOUBLE_EQ(l->contby_1_d, 1.0) << name;
    EXPECT_DOUBLE_EQ(l->contby_0_d, 1.0) << name;
    EXPECT_DOUBLE_EQ(l->contby_d, 1.0) << name;
    EXPECT_DOUBLE_EQ(l->observaby_d, 1.0) << name;
    EXPECT_DOUBLE_EQ(l->testaby_d, 1.0) << name;
  }
}

TEST(Level, AndOfTwoInputsIsCheapToOneAndVeryHardToZero) {
  read_checked_circuit("and", cir_text("a, b, c", "g1 : And_2 ;\n", "a, b", "c", "g1 ( a, b ; c ) ;\n"));
  measure();
  const line_C* c = line_named("c");
  EXPECT_DOUBLE_EQ(c->contby_1_d, 2.0);
  EXPECT_DOUBLE_EQ(c->contby_0_d, 350000.0 + 1.0);
  EXPECT_DOUBLE_EQ(c->contby_d, (2.0 + 350001.0) * 0.5);
  EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 2.0);
  EXPECT_DOUBLE_EQ(line_named("a")->testaby_d, 2.0);
}

TEST(Level, InverterPassesTheObservabilityOfItsOutputBack) {
  // x = a And b, y = not x, z = y And d.
  read_checked_circuit("inv", cir_text("a, b, d, x, y, z", "g1, g3 : And_2 ;\ng2 : Inverter ;\n", "a, b, d",
                                       "z", "g1 ( a, b ; x ) ;\ng2 ( x ; y ) ;\ng3 ( y, d ; z ) ;\n"));
  measure();
  const line_C* x = line_named("x");
  const line_C* y = line_named("y");
  EXPECT_DOUBLE_EQ(y->observaby_d, 2.0);
  EXPECT_DOUBLE_EQ(x->observaby_d, y->observaby_d);
  EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 3.0);
  // The inverter swaps the figures; the And looks only at the largest
  // 1-effort of its inputs.
  EXPECT_DOUBLE_EQ(y->contby_1_d, 350001.0);
  EXPECT_DOUBLE_EQ(y->contby_0_d, 2.0);
  EXPECT_DOUBLE_EQ(line_named("z")->contby_1_d, 350002.0);
  EXPECT_DOUBLE_EQ(x->testaby_d, 2.0 * (2.0 + 350001.0) * 0.5);
}

struct gate_case_t {
  std::string keyword;
  std::string inputs;  // of the gate under test; s = b And d has 1-effort 2, 0-effort 350001
  double contby_1, contby_0;
};

TEST(Level, EachGateKindCountsItsOwnWay) {
  const gate_case_t cases[] = {
      {"And_2", "a, s", 3.0, 350001.0},
      {"Nand_2", "a, s", 350001.0, 3.0},
      {"Or_2", "a, s", 2.0, 2.0},
      {"Nor_2", "a, s", 2.0, 2.0},
      // 0 from a and s both 1 costs 1 + 2, plus the gate; 1 from a 0 and s 1
      // costs 1 + 2 too, plus one more only when it is the second cross sum.
      {"Exor", "a, s", 4.0, 4.0},
      {"Exor", "s, a", 3.0, 4.0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.keyword + " (" + k.inputs + ")");
    read_checked_circuit("kind",
                         cir_text("a, b, d, s, y", "gs : And_2 ;\ngy : " + k.keyword + " ;\n", "a, b, d", "y",
                                  "gs ( b, d ; s ) ;\ngy ( " + k.inputs + " ; y ) ;\n"));
    measure();
    const line_C* y = line_named("y");
    EXPECT_DOUBLE_EQ(y->contby_1_d, k.contby_1);
    EXPECT_DOUBLE_EQ(y->contby_0_d, k.contby_0);
    EXPECT_DOUBLE_EQ(y->contby_d, (k.contby_1 + k.contby_0) * 0.5);
    EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 2.0);
    EXPECT_DOUBLE_EQ(line_named("b")->observaby_d, 3.0);
    release_circuit();
  }
}

TEST(Level, StemIsAsObservableAsItsMostObservableBranch) {
  read_checked_circuit("stem", cir_text("a, b, c, e", "g1 : Inverter ;\ng2 : And_2 ;\n", "a, b", "c, e",
                                        "g1 ( a ; c ) ;\ng2 ( a, b ; e ) ;\n"));
  measure();
  EXPECT_DOUBLE_EQ(line_named("a->c__1")->observaby_d, 1.0);
  EXPECT_DOUBLE_EQ(line_named("a->e__2")->observaby_d, 2.0);
  EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 1.0);
  EXPECT_DOUBLE_EQ(line_named("a->e__2")->contby_1_d, 1.0);
}

TEST(Level, OutputThatFeedsAFlipFlopIsFullyObservable) {
  read_checked_circuit("ff", cir_text("a, b, q, c", "g1, g2 : Inverter ;\nff : Dflipflop ;\n", "a", "c",
                                      "g1 ( a ; b ) ;\nff ( b ; q ) ;\ng2 ( q ; c ) ;\n"));
  measure();
  EXPECT_DOUBLE_EQ(line_named("b")->observaby_d, 1.0);
  EXPECT_DOUBLE_EQ(line_named("q")->contby_1_d, 1.0);
  EXPECT_DOUBLE_EQ(line_named("c")->observaby_d, 1.0);
}

TEST(Level, GatesItCannotEvaluateEndTheRun) {
  read_checked_circuit("bad", cir_text("a, b, c", "g1 : And_2 ;\n", "a, b", "c", "g1 ( a, b ; c ) ;\n"));
  gate_C* g = gate_named("g1");
  g->no_inputs_i = 1;
  EXPECT_FATAL(level_compute_contby(), "level_compute_contby: problems with number of gate inputs");
  g->no_inputs_i = 2;
  for (char type : {FLIPFLOP_GATE, SEQUENTIAL_GATE, UNDEFINED_GATE}) {
    g->gate_type_c = type;
    EXPECT_FATAL(level_compute_contby(), "level_compute_contby: not implemented for sequential gates");
  }
  g->gate_type_c = AND_GATE;
  level_compute_contby();
  g->gate_type_c = SEQUENTIAL_GATE;
  EXPECT_FATAL(level_compute_observaby(), "level_compute_observaby: not implemented for sequential gates");
}

}  // namespace
