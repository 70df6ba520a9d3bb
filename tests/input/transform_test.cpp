// Turning the circuit as read into the form test generation needs (fanout
// gates at every stem, no dangling logic, flip-flops cut), and the structural
// check of the result.
#include "input/transform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/statistic.h"
#include "input/check.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/capture_output.h"
#include "support/child.h"
#include "support/circuit_text.h"

namespace {

using names_t = std::vector<std::string>;

// The circuit check, run where a finding cannot end the test process: it must
// pass silently, or end with exactly the finding given.
void expect_check(const std::string& finding = "") {
  child_result_t run = run_in_child([] { proof(); });
  EXPECT_EQ(run.exit_status, finding.empty() ? 0 : 1);
  EXPECT_EQ(run.output, finding.empty()
                            ? ""
                            : "\nERROR!!!\n" + finding + "\nPrint the hole Datastructure in .debug File\n");
}

std::string deleting(const std::string& name) {
  return "WARNING: " + name + " not connected!!!      DELETING\n";
}

TEST(Transform, StemsGetAFanoutGateAndEachReaderItsOwnBranch) {
  // g1 reads A and a: matching without regard to case would give A the branch of a.
  load_circuit(circuit_text({.nodes = "a, A, x, y",
                             .gates = {"g1 : And_2", "g2 : Or_2"},
                             .inputs = "a, A",
                             .outputs = "x, y",
                             .instances = {"g1 ( A, a ; x )", "g2 ( x, a ; y )"}}));
  // Branches are numbered per stem in the order of its readers; a primary
  // output that is read hands its output role to a first branch.
  EXPECT_EQ(names_of(lines_C),
            (names_t{"a", "A", "x", "y", "a->x__1", "a->y__2", "x->output__1", "x->y__2"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"g1", "g2", "a", "x"}));
  EXPECT_EQ(names_of(output_lines_C), (names_t{"y", "x->output__1"}));
  EXPECT_FALSE(signal_named("x")->primary_output_b);
  EXPECT_EQ(names_of(gate_named("g1")->inputs_C), (names_t{"A", "a->x__1"}));
  EXPECT_EQ(names_of(gate_named("g2")->inputs_C), (names_t{"x->y__2", "a->y__2"}));
  EXPECT_EQ(names_of(signal_named("A")->nachfolger_C), (names_t{"g1"}));
  gate_C* fanout = gate_named("a");
  EXPECT_EQ(fanout->gate_type_c, FANOUT_GATE);
  EXPECT_EQ(names_of(fanout->inputs_C), (names_t{"a"}));
  EXPECT_EQ(names_of(fanout->outputs_C), (names_t{"a->x__1", "a->y__2"}));
  EXPECT_EQ(signal_named("a->y__2")->vorgaenger_C[0], fanout);
  EXPECT_EQ(statistic_u.no_fanout_gates_i, 2);
  EXPECT_EQ(statistic_u.no_fanout_branches_i, 4);
  expect_check();
}

TEST(Transform, DanglingLogicIsDeletedBackThroughItsFanouts) {
  output_capture_C out;
  load_circuit(
      circuit_text({.nodes = "a, b, c, y, n1, d",
                    .gates = {"keep : And_2", "dead : Nor_3", "inv : Inverter"},
                    .inputs = "a, b, c",
                    .outputs = "y",
                    .instances = {"keep ( a, b ; y )", "dead ( b, n1, n1 ; d )", "inv ( c ; n1 )"}}));
  // The inputs of a deleted gate go in order; a fanout gate goes with its
  // stem once its last branch is gone.
  EXPECT_EQ(out.text(), "Read Circuit   Name = circuit.cir\nTransform Circuit\n" + deleting("d") +
                            deleting("b->d__2") + deleting("n1->d__1") + deleting("n1->d__2") +
                            deleting("n1") + deleting("c"));
  EXPECT_EQ(names_of(lines_C), (names_t{"a", "b", "y", "b->y__1"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"keep", "b"}));
  EXPECT_EQ(names_of(input_lines_C), (names_t{"a", "b"}));
  EXPECT_EQ(gate_named("b")->no_outputs_i, 1);
  for (const char* deleted : {"c", "n1", "d", "n1->d__1"})
    EXPECT_EQ(signal_named(deleted), nullptr) << deleted;
  for (const char* deleted : {"dead", "inv", "n1"}) EXPECT_EQ(gate_named(deleted), nullptr) << deleted;
  // The counters describe the expansion, not what is left of it.
  EXPECT_EQ(statistic_u.no_fanout_gates_i, 2);
  EXPECT_EQ(statistic_u.no_fanout_branches_i, 4);
  expect_check();
}

TEST(Transform, FlipFlopsAreCutIntoAPseudoOutputAndAPseudoInput) {
  load_circuit(circuit_text({.nodes = "a, d, q, y",
                             .gates = {"g : Nand_2", "ff : Dflipflop", "h : Inverter"},
                             .inputs = "a",
                             .outputs = "y",
                             .instances = {"g ( a, q ; d )", "ff ( d ; q )", "h ( q ; y )"}}));
  EXPECT_EQ(names_of(output_lines_C), (names_t{"y", "d"}));
  EXPECT_EQ(names_of(input_lines_C), (names_t{"a", "q"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"g", "h", "q"}));
  EXPECT_TRUE(signal_named("d")->primary_output_b);
  EXPECT_TRUE(signal_named("q")->primary_input_b);
  EXPECT_EQ(names_of(signal_named("q")->nachfolger_C), (names_t{"q"}));
  expect_check();
}

TEST(Check, FindingsEndTheRunWithTheNameOfTheRecord) {
  load_circuit(circuit_text({.nodes = "a, floating, y",
                             .gates = {"g : Nor_2"},
                             .inputs = "a",
                             .outputs = "y",
                             .instances = {"g ( a, floating ; y )"}}));
  expect_check("proof: line without sender must be input:  floating");
  load_circuit(circuit_text({.nodes = "a, b, y",
                             .gates = {"g1, g2 : Inverter"},
                             .inputs = "a, b",
                             .outputs = "y",
                             .instances = {"g1 ( a ; y )", "g2 ( b ; y )"}}));
  expect_check("proof: too many sender of:  y");
  load_circuit(circuit_text({.nodes = "a, y",
                             .gates = {"g : Inverter", "lonely : Or_2"},
                             .inputs = "a",
                             .outputs = "y",
                             .instances = {"g ( a ; y )"}}));
  expect_check("proof: too less outputs at:  lonely");
}

}  // namespace
