// The probabilistic measure.
#include "measures/probabilistic.h"

#include <gtest/gtest.h>

#include <string>

#include "input/transform.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/child.h"
#include "support/preproc_circuit.h"

namespace {

// Observability from the outputs without the reciprocals that
// prob_compute_observaby applies at the end.
void observability_before_reciprocals() {
  for (int i = 0; i < output_lines_C.anzahl_i; i++) output_lines_C[i]->prob_compute_observaby();
}

TEST(Probabilistic, AndOfTwoInputsBeforeAndAfterTheReciprocals) {
  read_checked_circuit("and", cir_text("a, b, c", "g1 : And_2 ;\n", "a, b", "c", "g1 ( a, b ; c ) ;\n"));
  prob_compute_contby();
  const line_C* c = line_named("c");
  EXPECT_DOUBLE_EQ(c->contby_1_d, 0.25);
  EXPECT_DOUBLE_EQ(c->contby_0_d, 0.75);
  EXPECT_DOUBLE_EQ(c->contby_d, 0.5);
  EXPECT_DOUBLE_EQ(line_named("a")->contby_1_d, 0.5);
  prob_compute_observaby();
  EXPECT_DOUBLE_EQ(c->contby_1_d, 4.0);
  EXPECT_DOUBLE_EQ(c->contby_0_d, 4.0 / 3.0);
  EXPECT_DOUBLE_EQ(c->contby_d, 2.0);
  EXPECT_DOUBLE_EQ(c->observaby_d, 1.0);
  EXPECT_DOUBLE_EQ(c->testaby_d, 2.0);  // 1 / (1.0 * 0.5)
  // a is seen when b is 1: observability 0.5, testability 0.5 * 0.5.
  const line_C* a = line_named("a");
  EXPECT_DOUBLE_EQ(a->observaby_d, 2.0);
  EXPECT_DOUBLE_EQ(a->testaby_d, 4.0);
  EXPECT_DOUBLE_EQ(a->contby_1_d, 2.0);
}

struct gate_case_t {
  std::string keyword;
  std::string inputs;  // of the gate under test; s = b And d has p1 0.25, p0 0.75
  double contby_1, contby_0;
  double observaby_a;  // a seen through the gate
};

// Every gate kind with a side input whose two probabilities differ.
TEST(Probabilistic, EachGateKindWeighsItsInputsAndItsSideInputs) {
  const gate_case_t cases[] = {
      {"And_2", "a, s", 0.125, 0.875, 0.25}, {"Nand_2", "a, s", 0.875, 0.125, 0.25},
      {"Or_2", "a, s", 0.625, 0.375, 0.75},  {"Nor_2", "a, s", 0.375, 0.625, 0.75},
      {"Exor", "a, s", 0.5, 0.5, 1.0},       {"Exor", "s, a", 0.5, 0.5, 1.0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.keyword + " (" + k.inputs + ")");
    read_checked_circuit("kind",
                         cir_text("a, b, d, s, y", "gs : And_2 ;\ngy : " + k.keyword + " ;\n", "a, b, d", "y",
                                  "gs ( b, d ; s ) ;\ngy ( " + k.inputs + " ; y ) ;\n"));
    prob_compute_contby();
    const line_C* y = line_named("y");
    EXPECT_DOUBLE_EQ(y->contby_1_d, k.contby_1);
    EXPECT_DOUBLE_EQ(y->contby_0_d, k.contby_0);
    EXPECT_DOUBLE_EQ(y->contby_d, 0.5);
    observability_before_reciprocals();
    EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, k.observaby_a);
    EXPECT_DOUBLE_EQ(line_named("a")->testaby_d, k.observaby_a * 0.5);
    release_circuit();
  }
}

TEST(Probabilistic, ExorOfTwoInputsIsEvenBothWays) {
  read_checked_circuit("exor", cir_text("a, b, c", "g1 : Exor ;\n", "a, b", "c", "g1 ( a, b ; c ) ;\n"));
  prob_compute_contby();
  EXPECT_DOUBLE_EQ(line_named("c")->contby_1_d, 0.5);
  EXPECT_DOUBLE_EQ(line_named("c")->contby_0_d, 0.5);
}

TEST(Probabilistic, InvertersAndDriversPassTheFiguresOn) {
  // c = a And b, e = not c, f = e Or d, q = driver of f.
  read_checked_circuit(
      "chain",
      cir_text("a, b, d, c, e, f, q",
               "g1 : And_2 ;\ng2 : Inverter ;\ng3 : Or_2 ;\n"
               "g4 : Driver ;\n",
               "a, b, d", "q", "g1 ( a, b ; c ) ;\ng2 ( c ; e ) ;\ng3 ( e, d ; f ) ;\ng4 ( f ; q ) ;\n"));
  prob_compute_contby();
  const line_C* e = line_named("e");
  EXPECT_DOUBLE_EQ(e->contby_1_d, 0.75);
  EXPECT_DOUBLE_EQ(e->contby_0_d, 0.25);
  const line_C* q = line_named("q");
  EXPECT_DOUBLE_EQ(q->contby_0_d, 0.125);  // e and d both 0
  EXPECT_DOUBLE_EQ(q->contby_1_d, 0.875);
  observability_before_reciprocals();
  EXPECT_DOUBLE_EQ(line_named("f")->observaby_d, 1.0);
  EXPECT_DOUBLE_EQ(e->observaby_d, 0.5);                 // d must be 0
  EXPECT_DOUBLE_EQ(line_named("d")->observaby_d, 0.25);  // e must be 0
  EXPECT_DOUBLE_EQ(line_named("c")->observaby_d, 0.5);
  EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 0.25);
}

TEST(Probabilistic, StemIsAsObservableAsItsLeastObservableBranch) {
  // a fans out to an inverter (seen always) and to an And with b (seen half).
  read_checked_circuit("stem", cir_text("a, b, c, e", "g1 : Inverter ;\ng2 : And_2 ;\n", "a, b", "c, e",
                                        "g1 ( a ; c ) ;\ng2 ( a, b ; e ) ;\n"));
  prob_compute_contby();
  EXPECT_DOUBLE_EQ(line_named("a->c__1")->contby_1_d, 0.5);
  observability_before_reciprocals();
  EXPECT_DOUBLE_EQ(line_named("a->c__1")->observaby_d, 1.0);
  EXPECT_DOUBLE_EQ(line_named("a->e__2")->observaby_d, 0.5);
  EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 0.5);
}

TEST(Probabilistic, OutputThatFeedsAFlipFlopIsFullyObservable) {
  // Cutting the flip-flop makes b an output that still feeds it, and q an
  // input: both measures pass it without touching the flip-flop itself.
  read_checked_circuit("ff", cir_text("a, b, q, c", "g1, g2 : Inverter ;\nff : Dflipflop ;\n", "a", "c",
                                      "g1 ( a ; b ) ;\nff ( b ; q ) ;\ng2 ( q ; c ) ;\n"));
  prob_compute_contby();
  EXPECT_DOUBLE_EQ(line_named("q")->contby_1_d, 0.5);
  EXPECT_DOUBLE_EQ(line_named("c")->contby_1_d, 0.5);
  prob_compute_observaby();
  EXPECT_DOUBLE_EQ(line_named("b")->observaby_d, 1.0);
  EXPECT_DOUBLE_EQ(line_named("b")->testaby_d, 2.0);
  EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 1.0);
}

TEST(Probabilistic, GatesItCannotEvaluateEndTheRun) {
  read_checked_circuit("bad", cir_text("a, b, c", "g1 : And_2 ;\n", "a, b", "c", "g1 ( a, b ; c ) ;\n"));
  gate_C* g = gate_named("g1");
  g->no_inputs_i = 3;
  EXPECT_FATAL(prob_compute_contby(), "prob_compute_contby: Problems with number of gate inputs");
  g->no_inputs_i = 2;
  for (char type : {FLIPFLOP_GATE, SEQUENTIAL_GATE, UNDEFINED_GATE}) {
    g->gate_type_c = type;
    EXPECT_FATAL(prob_compute_contby(), "prob_compute_contby: not implemented for sequential gates");
  }
  g->gate_type_c = AND_GATE;
  prob_compute_contby();
  g->gate_type_c = FLIPFLOP_GATE;
  EXPECT_FATAL(prob_compute_observaby(), "prob_compute_observaby: not implemented for sequential gates");
}

}  // namespace
