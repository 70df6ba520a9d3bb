// Robust marking of the values after a two-pattern test, and the hazard
// analysis with its memo per gate.
#include "faults/robustness.h"

#include <gtest/gtest.h>

#include <string>

#include "app/run.h"
#include "model/gate.h"
#include "model/hazard.h"
#include "model/line.h"
#include "support/circuit_text.h"
#include "support/search_state.h"

namespace {

// y = a op b, z = not y: a gate between two inputs and an output.
circuit_C& two_inputs(const std::string& op) {
  return prepare_search("g", cir_text("a, b, y, z", "g : " + op + " ;\ninv : Inverter ;\n", "a, b", "z",
                                      "g ( a, b ; y ) ;\ninv ( y ; z ) ;\n"))
      .circuit;
}

// Gives each named line its first (init) and second (good) value: "a10" is
// a falling a.
void transitions(const std::string& values) {
  for (size_t i = 0; i + 2 < values.size() + 1; i += 4) {
    line_C* l = line_named(values.substr(i, 1));
    l->init_value_c = values[i + 1] == '1' ? ONE : values[i + 1] == '0' ? ZERO : X;
    l->good_value_c = values[i + 2] == '1' ? ONE : values[i + 2] == '0' ? ZERO : X;
  }
}

TEST(RobustMarking, StableOutputsAreRobustOnlyWhenAStableControllingInputHoldsThem) {
  const std::pair<std::string, unsigned char> cases[] = {
      // A Nand stays 1: robust while one input stays 0, not while one falls and the other rises.
      {"Nand_2|a00 b11 y11 z00", ONE_ROBUST},
      {"Nand_2|a10 b01 y11 z00", ONE},
      // An output that switches is robust at its new value.
      {"Nand_2|a11 b01 y10 z01", ZERO_ROBUST},
      // An And that stays 1 through robust inputs, an Or that stays 0.
      {"And_2|a11 b11 y11 z00", ONE_ROBUST},
      {"Or_2|a00 b00 y00 z11", ZERO_ROBUST},
      {"Or_2|a10 b01 y11 z00", ONE},
      // An Exor with both inputs switching keeps its value, not robustly.
      {"Exor|a10 b10 y00 z11", ZERO},
  };
  for (const auto& [text, y] : cases) {
    SCOPED_TRACE(text);
    circuit_C& circuit = two_inputs(text.substr(0, text.find('|')));
    transitions(text.substr(text.find('|') + 1));
    mark_robust_signals(circuit);
    EXPECT_EQ(line_named("y")->good_value_c, y);
    EXPECT_EQ(line_named("z")->good_value_c, mynot(y));  // through the inverter
    const unsigned char a = line_named("a")->good_value_c;
    EXPECT_TRUE(a == ZERO_ROBUST || a == ONE_ROBUST);  // every primary input is robust
  }
}

TEST(HazardAnalysis, AStableControllingInputPreventsAHazardAndTheMemoHoldsUntilCleared) {
  // An And that stays 0 while one input rises and the other falls can glitch;
  // with an input that stays at 0 it cannot.
  circuit_C& circuit = two_inputs("And_2");
  transitions("a01 b10 y00 z11");
  EXPECT_EQ(hazard_test(line_named("y")), 1);
  gate_C* g = line_named("y")->driver();
  EXPECT_EQ(g->hazard_state_c, 2);
  // The memo answers until it is cleared, whatever the inputs do meanwhile.
  transitions("a00 b00 y00 z11");
  EXPECT_EQ(hazard_test(line_named("y")), 1);
  line_named("z")->driver()->hazard_state_c = 1;
  clear_hazard_bits(g);
  EXPECT_EQ(g->hazard_state_c, 0);
  EXPECT_EQ(line_named("z")->driver()->hazard_state_c, 0);  // and what it feeds
  EXPECT_EQ(hazard_test(line_named("y")), 0);
  EXPECT_EQ(g->hazard_state_c, 1);
  // An Exor whose inputs both switch can glitch; a primary output is never examined.
  two_inputs("Exor");
  transitions("a01 b10 y11 z00");
  EXPECT_EQ(hazard_test(line_named("y")), 1);
  EXPECT_EQ(robustness_test(line_named("z"), RISING), 0);
  EXPECT_EQ(robustness_test(line_named("y"), RISING), 1);  // a test through y: y itself can glitch
  (void)circuit;
}

TEST(HazardAnalysis, HazardModeSimulationFoldsTheRobustCodesBack) {
  circuit_C& circuit = two_inputs("Nand_2");
  transitions("a00 b11 y11 z00");
  implication_C& imp = current_run().imp;
  imp.hazard_test_ein_b = 1;
  current_run().simulation.fault_simulation(line_named("a"), RISING);
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    const unsigned char v = circuit.lines_C[i]->good_value_c;
    EXPECT_TRUE(v == ZERO || v == ONE || v == X) << circuit.lines_C[i]->name_s << " " << int(v);
  }
}

}  // namespace
