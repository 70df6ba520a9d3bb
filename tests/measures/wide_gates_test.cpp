// Both measures on gates wider than the usual working storage.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "measures/level.h"
#include "measures/probabilistic.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/preproc_circuit.h"

namespace {

constexpr int wide = 150;

// The circuit file allows at most 99 inputs per gate, so this one is built
// directly: y = And of i0 .. i149.
void build_wide_and() {
  lines_C.init(max_lines);
  input_lines_C.init(max_lines);
  output_lines_C.init(max_lines);
  gates_C.init(max_gates);
  line_liste_C inputs;
  inputs.init(wide);
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
  line_liste_C outputs;
  outputs.init(1);
  outputs.fuege_ein(y);
  gate_C* g = new gate_C(string_C("g"));
  gates_C.fuege_ein(g);
  g->belege_gate(AND_GATE, wide, 1);
  g->connect_input(inputs);
  g->connect_output(outputs);
}

TEST(WideGates, AndWithAHundredAndFiftyInputs) {
  build_wide_and();
  prob_compute_contby();
  const line_C* y = line_named("y");
  EXPECT_DOUBLE_EQ(y->contby_1_d, std::ldexp(1.0, -wide));
  prob_compute_observaby();
  EXPECT_DOUBLE_EQ(y->contby_1_d, std::ldexp(1.0, wide));
  EXPECT_DOUBLE_EQ(y->contby_0_d, 1.0);  // 1 - 2^-150 is 1 in double precision
  for (int i = 0; i < wide; i++) {
    // Seen when the 149 others are 1.
    EXPECT_DOUBLE_EQ(lines_C[i]->observaby_d, std::ldexp(1.0, wide - 1)) << i;
  }
  level_compute_contby();
  level_compute_observaby();
  EXPECT_DOUBLE_EQ(y->contby_1_d, 2.0);
  EXPECT_DOUBLE_EQ(y->contby_0_d, 350001.0);
  for (int i = 0; i < wide; i++) EXPECT_DOUBLE_EQ(lines_C[i]->observaby_d, 2.0) << i;
}

TEST(WideGates, StemWithFiveThousandBranches) {
  // a and b feed Exors y1 .. y4998, then a feeds the And y4999 with b and
  // the inverter y5000: the least and the most observable branch come last.
  constexpr int n = 5000;
  std::string nodes = "a, b";
  std::string outputs;
  std::string instances;
  for (int i = 1; i <= n; i++) {
    std::string y = "y" + std::to_string(i);
    nodes += ", " + y;
    outputs += (i > 1 ? ", " : "") + y;
    if (i <= n - 2) {
      instances += "x" + std::to_string(i) + " ( a, b ; " + y + " ) ;\n";
    }
  }
  instances += "and ( a, b ; y4999 ) ;\ninv ( a ; y5000 ) ;\n";
  std::string exors = "x1";
  for (int i = 2; i <= n - 2; i++) exors += ", x" + std::to_string(i);
  read_checked_circuit("stem", cir_text(nodes, exors + " : Exor ;\nand : And_2 ;\ninv : Inverter ;\n", "a, b",
                                        outputs, instances));
  ASSERT_EQ(line_named("a")->successor()->outputs_C.anzahl_i, n);

  prob_compute_contby();
  for (int i = 0; i < output_lines_C.anzahl_i; i++) output_lines_C[i]->prob_compute_observaby();
  EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 0.5);  // through the And
  EXPECT_DOUBLE_EQ(line_named("b")->observaby_d, 0.5);

  level_compute_contby();
  level_compute_observaby();
  EXPECT_DOUBLE_EQ(line_named("a")->observaby_d, 1.0);  // through the inverter
  EXPECT_DOUBLE_EQ(line_named("b")->observaby_d, 2.0);
}

}  // namespace
