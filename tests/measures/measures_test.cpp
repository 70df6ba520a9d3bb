// The probabilistic and the level measure.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <tuple>

#include "app/run.h"
#include "measures/level.h"
#include "measures/probabilistic.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/circuit_text.h"

namespace {

constexpr double line_C::*one = &line_C::contby_1_d, line_C::*zero = &line_C::contby_0_d,
                 line_C::*seen = &line_C::observaby_d;

void expect(std::initializer_list<std::tuple<const char*, double line_C::*, double>> figures) {
  for (const auto& [n, figure, value] : figures) EXPECT_DOUBLE_EQ(line_named(n)->*figure, value) << n;
}

TEST(Probabilistic, AndAndExorOfTwoInputs) {
  for (const auto& [keyword, to_one] : {std::pair{"Exor", 0.5}, {"And_2", 0.25}}) {
    read_checked_circuit(
        "m", cir_text("a, b, c", std::string("g : ") + keyword + " ;\n", "a, b", "c", "g ( a, b ; c ) ;\n"));
    prob_compute_contby(current_run().circuit);
    expect({{"c", one, to_one}, {"c", zero, 1 - to_one}});
  }
  prob_compute_observaby(current_run().circuit);  // ends with the reciprocals; a is seen when b is 1
  expect({{"c", one, 4.0}, {"c", zero, 4.0 / 3.0}, {"c", seen, 1.0}, {"a", seen, 2.0}});
}

TEST(Level, AndIsHardToSetToZeroAndAnInverterSwapsThatAndPassesObservabilityBack) {
  // x = a b, y = x', z = y d: y is seen when d is 1, and x as well as y.
  read_checked_circuit("m", cir_text("a, b, d, x, y, z", "g1, g3 : And_2 ;\ng2 : Inverter ;\n", "a, b, d",
                                     "z", "g1 ( a, b ; x ) ;\ng2 ( x ; y ) ;\ng3 ( y, d ; z ) ;\n"));
  level_compute_contby(current_run().circuit);
  level_compute_observaby(current_run().circuit);
  expect({{"x", one, 2.0}, {"x", zero, 350001.0}, {"y", one, 350001.0}, {"y", zero, 2.0}});
  expect({{"y", seen, 2.0}, {"x", seen, 2.0}, {"a", seen, 3.0}});
}

TEST(Measures, InverterChainKeepsEveryLevelFigureAtOneAndAnOutputFeedingAGateIsFullyObservable) {
  // Cutting the flip-flop makes c, the end of the chain a, b, c, an output that still feeds it.
  read_checked_circuit("m", cir_text("a, b, c, q, d", "g1, g2, g3 : Inverter ;\nff : Dflipflop ;\n", "a", "d",
                                     "g1 ( a ; b ) ;\ng2 ( b ; c ) ;\nff ( c ; q ) ;\ng3 ( q ; d ) ;\n"));
  prob_compute_contby(current_run().circuit);
  prob_compute_observaby(current_run().circuit);
  expect({{"c", seen, 1.0}});
  level_compute_contby(current_run().circuit);
  level_compute_observaby(current_run().circuit);
  for (const char* n : {"a", "b", "c"}) expect({{n, one, 1.0}, {n, zero, 1.0}, {n, seen, 1.0}});
}

TEST(Measures, AndWithAHundredAndFiftyInputs) {
  // The circuit file allows at most 99 inputs per gate, so y = i0 ... i149 is built directly.
  constexpr int wide = 150;
  circuit_C circuit;
  const line_liste_C& lines_C = circuit.lines_C;
  for (int i = 0; i <= wide; i++) {
    line_C* l = circuit.new_line(i < wide ? std::string("i").append(std::to_string(i)) : "y", 1);
    (i < wide ? l->primary_input_b : l->primary_output_b) = 1;
    circuit.add_line(l);
    if (i < wide) {
      circuit.add_input(l);
    } else {
      circuit.add_output(l);
    }
  }
  gate_C* g = circuit.new_gate("g");
  circuit.add_gate(g);
  g->belege_gate(AND_GATE, wide, 1);
  g->connect_input(circuit.input_lines_C);
  g->connect_output(circuit.output_lines_C);
  const line_C* y = lines_C[wide];
  prob_compute_contby(circuit);
  EXPECT_DOUBLE_EQ(y->contby_1_d, std::ldexp(1.0, -wide));
  prob_compute_observaby(circuit);
  EXPECT_DOUBLE_EQ(y->contby_1_d, std::ldexp(1.0, wide));
  // Each input is seen when the 149 others are 1.
  for (int i : {0, wide - 1}) EXPECT_DOUBLE_EQ(lines_C[i]->observaby_d, std::ldexp(1.0, wide - 1));
  level_compute_contby(circuit);
  level_compute_observaby(circuit);
  EXPECT_DOUBLE_EQ(y->contby_1_d, 2.0);
  EXPECT_DOUBLE_EQ(y->contby_0_d, 350001.0);
  EXPECT_DOUBLE_EQ(lines_C[wide - 1]->observaby_d, 2.0);
}

TEST(Measures, StemWithTwentyThousandBranches) {
  // a and b feed Exors y1 .. y19998, then a feeds the And y19999 with b and
  // the inverter y20000: the least and the most observable branch come last.
  constexpr int n = 20000;
  std::string nodes = "a, b", outputs = "y1", exors = "x1", instances;
  for (int i = 1; i <= n; i++) {
    const std::string k = std::to_string(i);
    nodes += ", y" + k;
    if (i > 1) outputs += ", y" + k;
    if (i > 1 && i <= n - 2) exors += ", x" + k;
    if (i <= n - 2) instances += "x" + k + " ( a, b ; y" + k + " ) ;\n";
  }
  instances += "and ( a, b ; y19999 ) ;\ninv ( a ; y20000 ) ;\n";
  read_checked_circuit("stem", cir_text(nodes, exors + " : Exor ;\nand : And_2 ;\ninv : Inverter ;\n", "a, b",
                                        outputs, instances));
  ASSERT_EQ(line_named("a")->successor()->outputs_C.anzahl_i, n);
  prob_compute_contby(current_run().circuit);
  prob_compute_observaby(current_run().circuit);
  expect({{"a", seen, 2.0}, {"b", seen, 2.0}});  // the reciprocal of 0.5, through the And
  level_compute_contby(current_run().circuit);
  level_compute_observaby(current_run().circuit);
  expect({{"a", seen, 1.0}, {"b", seen, 2.0}});  // a through the inverter
}

}  // namespace
