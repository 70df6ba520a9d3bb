// Which signal of a bridge carries its effect, and the detection of a bridge
// by current, whatever the order in which the pair names its signals.
#include "faults/bridging.h"

#include <gtest/gtest.h>

#include "app/run.h"
#include "model/line.h"
#include "preproc/levels.h"
#include "support/circuit_text.h"
#include "support/paths.h"
#include "support/run_quarn.h"

namespace {

// The bridge example (inputs a, b, c; n1 Nand, n2 Nor, y And, d Driver) or
// reconv (m, u, v, y all Nand).
run_C& example(const std::string& stem, fault_model_t model) {
  run_C& run = read_checked_circuit(stem, read_file(example_circuit(stem + ".cir")));
  run.settings.select_fault_model(model);
  calculate_planes(run.circuit, run.messages);
  return run;
}

void set(const char* name, char value) {
  line_named(name)->good_value_c = value;
}

line_C* carrier(const char* a, const char* b) {
  return appoint_propagation_signal(line_named(a), line_named(b));
}

TEST(BridgingRules, TheWeakerSignalCarriesTheEffectInEitherOrder) {
  example("bridge", fault_model_t::bridging);
  // A Nand output at 0 against a driver at 1 takes the 1; at 1 it wins.
  set("n1", ZERO);
  set("d", ONE);
  EXPECT_EQ(carrier("n1", "d"), line_named("n1"));
  EXPECT_EQ(carrier("d", "n1"), line_named("n1"));
  set("n1", ONE);
  set("d", ZERO);
  EXPECT_EQ(carrier("n1", "d"), nullptr);
  // A Nor output loses at 1; an And against a driver never shows.
  set("n2", ONE);
  set("y", ZERO);
  EXPECT_EQ(carrier("y", "n2"), line_named("n2"));
  EXPECT_EQ(carrier("n2", "y"), line_named("n2"));
  EXPECT_EQ(carrier("y", "d"), nullptr);
  // A Nand against a Nor has no rule.
  set("n1", ZERO);
  EXPECT_EQ(carrier("n1", "n2"), nullptr);

  example("reconv", fault_model_t::bridging);
  // Between two Nand outputs the one at 0 carries the effect.
  set("m", ZERO);
  set("u", ONE);
  EXPECT_EQ(carrier("m", "u"), line_named("m"));
  EXPECT_EQ(carrier("u", "m"), line_named("m"));
}

TEST(BridgingRules, ActivationGivesTheLosingValueToTheCarrierAndNeedsNoOrder) {
  example("bridge", fault_model_t::bridging);
  for (const auto& [first, second] : {std::pair{"n1", "d"}, std::pair{"d", "n1"}}) {
    set("n1", X);
    set("d", X);
    EXPECT_EQ(signal_to_propagate(line_named(first), line_named(second)), line_named("n1"));
    EXPECT_EQ(line_named("n1")->good_value_c, ZERO);
    EXPECT_EQ(line_named("d")->good_value_c, ONE);
  }
  // No second polarity for a Nand against a driver; none at all for two
  // drivers or a Nand against a Nor, and then nothing is set.
  EXPECT_EQ(signal_to_propagate_2nd(line_named("n1"), line_named("d")), nullptr);
  set("a", X);
  EXPECT_EQ(signal_to_propagate(line_named("a"), line_named("d")), nullptr);
  EXPECT_EQ(signal_to_propagate(line_named("n2"), line_named("n1")), nullptr);
  EXPECT_EQ(line_named("a")->good_value_c, X);

  example("reconv", fault_model_t::bridging);
  EXPECT_EQ(signal_to_propagate(line_named("u"), line_named("v")), line_named("u"));
  EXPECT_EQ(line_named("u")->good_value_c, ZERO);
  EXPECT_EQ(signal_to_propagate_2nd(line_named("u"), line_named("v")), line_named("v"));
  EXPECT_EQ(line_named("u")->good_value_c, ONE);
  EXPECT_EQ(line_named("v")->good_value_c, ZERO);
}

TEST(BridgingRules, CurrentFlowsBetweenOppositeValuesInEitherOrder) {
  run_C& run = example("bridge", fault_model_t::bridging_iddq);
  line_line_liste_C& pairs = run.target_list.zielfehler2_C;
  pairs.fuege_ein(line_named("a"), line_named("b"));
  pairs.fuege_ein(line_named("b"), line_named("a"));
  pairs.fuege_ein(line_named("a"), line_named("c"));
  pairs.fuege_ein(line_named("b"), line_named("c"));
  run.target_list.elements_to_test_i = pairs.anzahl();
  set("a", ONE);
  set("b", ZERO);
  set("c", ONE);
  run.simulation.iddq_fault_simulation();
  EXPECT_EQ(pairs[0]->pair_state_c, PAIR_DETECTED);
  EXPECT_EQ(pairs[1]->pair_state_c, PAIR_DETECTED);
  EXPECT_EQ(pairs[2]->pair_state_c, PAIR_UNTESTED);  // both at 1
  EXPECT_EQ(pairs[3]->pair_state_c, PAIR_DETECTED);
  EXPECT_EQ(run.target_list.elements_to_test_i, 1);
  EXPECT_EQ(run.simulation.detections_s, "a  <-->  b, b  <-->  a, b  <-->  c, ");
  // A pair once detected is not detected again.
  run.simulation.detections_s.clear();
  set("c", ZERO);
  run.simulation.iddq_fault_simulation();
  EXPECT_EQ(run.simulation.detections_s, "a  <-->  c, ");
  EXPECT_EQ(run.target_list.elements_to_test_i, 0);
}

}  // namespace
