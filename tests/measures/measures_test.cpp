// The probabilistic and the level measure.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "measures/level.h"
#include "measures/probabilistic.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/circuit_text.h"

namespace {

void read_gate(const std::string& keyword) {
  read_checked_circuit("gate",
                       cir_text("a, b, c", "g1 : " + keyword + " ;\n", "a, b", "c", "g1 ( a, b ; c ) ;\n"));
}

void level_measure() {
  level_compute_contby();
  level_compute_observaby();
}

TEST(Probabilistic, AndAndExorOfTwoInputs) {
  read_gate("And_2");
  prob_compute_contby();
  const line_C* c = line_named("c");
  EXPECT_DOUBLE_EQ(c->contby_1_d, 0.25);
  EXPECT_DOUBLE_EQ(c->contby_0_d, 0.75);
  prob_compute_observaby();  // ends with the reciprocals
  EXPECT_DOUBLE_EQ(c->contby_1_d, 4.0);
  EXPECT_DOUBLE_EQ(c->contby_0_d, 4.0 / 3.0);
  EXPECT_DOUBLE_EQ(c->observaby_d, 1.0);
  EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 2.0);  // seen when b is 1
  read_gate("Exor");
  prob_compute_contby();
  EXPECT_DOUBLE_EQ(line_named("c")->contby_1_d, 0.5);
  EXPECT_DOUBLE_EQ(line_named("c")->contby_0_d, 0.5);
}

TEST(Level, InverterChainKeepsEveryFigureAtOneAndAndIsHardToZero) {
  read_checked_circuit(
      "chain", cir_text("a, b, c", "g1, g2 : Inverter ;\n", "a", "c", "g1 ( a ; b ) ;\ng2 ( b ; c ) ;\n"));
  level_measure();
  for (const char* name : {"a", "b", "c"}) {
    const line_C* l = line_named(name);
    EXPECT_DOUBLE_EQ(l->contby_1_d, 1.0) << name;
    EXPECT_DOUBLE_EQ(l->contby_0_d, 1.0) << name;
    EXPECT_DOUBLE_EQ(l->observaby_d, 1.0) << name;
  }
  read_gate("And_2");
  level_measure();
  EXPECT_DOUBLE_EQ(line_named("c")->contby_1_d, 2.0);
  EXPECT_DOUBLE_EQ(line_named("c")->contby_0_d, 350001.0);
  EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 2.0);
}

TEST(Level, InverterPassesTheObservabilityOfItsOutputBack) {
  // x = a And b, y = not x, z = y And d.
  read_checked_circuit("inv", cir_text("a, b, d, x, y, z", "g1, g3 : And_2 ;\ng2 : Inverter ;\n", "a, b, d",
                                       "z", "g1 ( a, b ; x ) ;\ng2 ( x ; y ) ;\ng3 ( y, d ; z ) ;\n"));
  level_measure();
  EXPECT_DOUBLE_EQ(line_named("y")->observaby_d, 2.0);
  EXPECT_DOUBLE_EQ(line_named("x")->observaby_d, 2.0);
  EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 3.0);
  // The inverter swaps the figures.
  EXPECT_DOUBLE_EQ(line_named("y")->contby_1_d, 350001.0);
  EXPECT_DOUBLE_EQ(line_named("y")->contby_0_d, 2.0);
}

TEST(Measures, OutputThatFeedsAGateIsFullyObservable) {
  // Cutting the flip-flop makes b an output that still feeds it.
  read_checked_circuit("ff", cir_text("a, b, q, c", "g1, g2 : Inverter ;\nff : Dflipflop ;\n", "a", "c",
                                      "g1 ( a ; b ) ;\nff ( b ; q ) ;\ng2 ( q ; c ) ;\n"));
  prob_compute_contby();
  prob_compute_observaby();
  EXPECT_DOUBLE_EQ(line_named("b")->observaby_d, 1.0);
  level_measure();
  EXPECT_DOUBLE_EQ(line_named("b")->observaby_d, 1.0);
}

TEST(Measures, AndWithAHundredAndFiftyInputs) {
  // The circuit file allows at most 99 inputs per gate, so y = And of i0 ..
  // i149 is built directly.
  constexpr int wide = 150;
  lines_C.init(max_lines);
  input_lines_C.init(max_lines);
  output_lines_C.init(max_lines);
  gates_C.init(max_gates);
  line_liste_C inputs, outputs;
  inputs.init(wide);
  outputs.init(1);
  for (int i = 0; i < wide; i++) {
    line_C* l = new line_C(("i" + std::to_string(i)).c_str(), 1);
    l->primary_input_b = 1;
    lines_C.fuege_ein(l);
    input_lines_C.fuege_ein(l);
    inputs.fuege_ein(l);
  }
  line_C* y = new line_C("y", 1);
  y->primary_output_b = 1;
  lines_C.fuege_ein(y);
  output_lines_C.fuege_ein(y);
  outputs.fuege_ein(y);
  gate_C* g = new gate_C(string_C("g"));
  gates_C.fuege_ein(g);
  g->belege_gate(AND_GATE, wide, 1);
  g->connect_input(inputs);
  g->connect_output(outputs);

  prob_compute_contby();
  EXPECT_DOUBLE_EQ(y->contby_1_d, std::ldexp(1.0, -wide));
  prob_compute_observaby();
  EXPECT_DOUBLE_EQ(y->contby_1_d, std::ldexp(1.0, wide));
  // Each input is seen when the 149 others are 1.
  EXPECT_DOUBLE_EQ(lines_C[0]->observaby_d, std::ldexp(1.0, wide - 1));
  EXPECT_DOUBLE_EQ(lines_C[wide - 1]->observaby_d, std::ldexp(1.0, wide - 1));
  level_measure();
  EXPECT_DOUBLE_EQ(y->contby_1_d, 2.0);
  EXPECT_DOUBLE_EQ(y->contby_0_d, 350001.0);
  EXPECT_DOUBLE_EQ(lines_C[wide - 1]->observaby_d, 2.0);
}

}  // namespace
