// Turning the circuit as read into the form test generation needs: fanout
// gates at every stem, no dangling logic, flip-flops cut.
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
#include "support/paths.h"
#include "support/run_quarn.h"

namespace {

using names_t = std::vector<std::string>;

const std::string read_and_transform = "Read Circuit   Name = circuit.cir\nTransform Circuit\n";

std::string deleting(const std::string& name) {
  return "WARNING: " + name + " not connected!!!      DELETING\n";
}

// The shape the circuit check relies on: one driver unless a primary input
// (whose driver can only be a cut flip-flop), one successor unless a primary
// output, and gates connected as declared.
void expect_transformed_shape() {
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    EXPECT_LE(l->nachfolger_C.anzahl_i, 1) << l->name_s;
    EXPECT_LE(l->vorgaenger_C.anzahl_i, 1) << l->name_s;
    if (!l->primary_input_b) {
      EXPECT_EQ(l->vorgaenger_C.anzahl_i, 1) << l->name_s;
    }
    if (!l->primary_output_b) {
      EXPECT_EQ(l->nachfolger_C.anzahl_i, 1) << l->name_s;
    }
  }
  for (int i = 0; i < gates_C.anzahl_i; i++) {
    gate_C* g = gates_C[i];
    EXPECT_EQ(g->inputs_C.anzahl_i, g->no_inputs_i) << g->name_s;
    EXPECT_EQ(g->outputs_C.anzahl_i, g->no_outputs_i) << g->name_s;
    if (g->gate_type_c != FANOUT_GATE) {
      EXPECT_EQ(g->no_outputs_i, 1) << g->name_s;
    }
  }
}

// The circuit check, run where its failure cannot end the test process.
void expect_check_passes() {
  child_result_t run = run_in_child([] { proof(); });
  EXPECT_EQ(run.exit_status, 0) << run.output;
  EXPECT_EQ(run.output, "");
}

// ------------------------------------------------------------ fanout gates

TEST(Fanout, StemGetsAFanoutGateWithBranchesNamedAfterTheSuccessorOutputs) {
  output_capture_C out;
  load_circuit(circuit_text({.nodes = "a, b, x, y",
                             .gates = {"g1 : And_2", "g2 : Or_2"},
                             .inputs = "a, b",
                             .outputs = "x, y",
                             .instances = {"g1 ( a, b ; x )", "g2 ( b, a ; y )"}}));
  EXPECT_EQ(out.text(), read_and_transform);
  // Branch numbers count per stem, in the order of the stem's successors.
  EXPECT_EQ(names_of(lines_C), (names_t{"a", "b", "x", "y", "a->x__1", "a->y__2", "b->x__1", "b->y__2"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"g1", "g2", "a", "b"}));
  EXPECT_EQ(statistic_u.no_fanout_gates_i, 2);
  EXPECT_EQ(statistic_u.no_fanout_branches_i, 4);

  gate_C* fanout = gate_named("a");
  ASSERT_NE(fanout, nullptr);
  EXPECT_EQ(fanout->gate_type_c, FANOUT_GATE);
  EXPECT_EQ(names_of(fanout->inputs_C), (names_t{"a"}));
  EXPECT_EQ(names_of(fanout->outputs_C), (names_t{"a->x__1", "a->y__2"}));
  EXPECT_EQ(fanout->no_inputs_i, 1);
  EXPECT_EQ(fanout->no_outputs_i, 2);
  line_C* stem = signal_named("a");
  EXPECT_EQ(names_of(stem->nachfolger_C), (names_t{"a"}));
  EXPECT_FALSE(stem->fanout_b);
  // Each gate reads its own branch in the place where it read the stem.
  EXPECT_EQ(names_of(gate_named("g1")->inputs_C), (names_t{"a->x__1", "b->x__1"}));
  EXPECT_EQ(names_of(gate_named("g2")->inputs_C), (names_t{"b->y__2", "a->y__2"}));
  line_C* branch = signal_named("a->y__2");
  EXPECT_EQ(branch->vorgaenger_C[0], fanout);
  EXPECT_EQ(names_of(branch->nachfolger_C), (names_t{"g2"}));
  EXPECT_FALSE(branch->primary_input_b || branch->primary_output_b || branch->fanout_b);
  expect_transformed_shape();
  expect_check_passes();
}

TEST(Fanout, PrimaryOutputThatIsReadHandsItsOutputRoleToItsFirstBranch) {
  load_circuit(circuit_text({.nodes = "a, b, c, x",
                             .gates = {"g0 : Inverter", "g1 : Nand_2"},
                             .inputs = "b, c",
                             .outputs = "a, x",
                             .instances = {"g0 ( c ; a )", "g1 ( a, b ; x )"}}));
  EXPECT_EQ(names_of(output_lines_C), (names_t{"x", "a->output__1"}));
  EXPECT_FALSE(signal_named("a")->primary_output_b);
  line_C* output_branch = signal_named("a->output__1");
  ASSERT_NE(output_branch, nullptr);
  EXPECT_TRUE(output_branch->primary_output_b);
  EXPECT_EQ(output_branch->nachfolger_C.anzahl_i, 0);
  EXPECT_EQ(names_of(gate_named("a")->outputs_C), (names_t{"a->output__1", "a->x__2"}));
  EXPECT_EQ(names_of(gate_named("g1")->inputs_C), (names_t{"a->x__2", "b"}));
  EXPECT_EQ(statistic_u.no_fanout_gates_i, 1);
  EXPECT_EQ(statistic_u.no_fanout_branches_i, 2);
  expect_transformed_shape();
  expect_check_passes();
}

TEST(Fanout, GateReadingTheStemTwiceGetsOneBranchPerInput) {
  load_circuit(circuit_text({.nodes = "a, x",
                             .gates = {"g : Exor"},
                             .inputs = "a",
                             .outputs = "x",
                             .instances = {"g ( a, a ; x )"}}));
  EXPECT_EQ(names_of(gate_named("g")->inputs_C), (names_t{"a->x__1", "a->x__2"}));
  EXPECT_EQ(names_of(gate_named("a")->outputs_C), (names_t{"a->x__1", "a->x__2"}));
  EXPECT_EQ(statistic_u.no_fanout_gates_i, 1);
  EXPECT_EQ(statistic_u.no_fanout_branches_i, 2);
  expect_transformed_shape();
  expect_check_passes();
}

TEST(Fanout, StemIsReplacedByIdentityNotByNameInAnyCase) {
  // g reads A before a: matching names without regard to case would replace
  // A by the branch of a.
  load_circuit(circuit_text({.nodes = "a, A, x, y",
                             .gates = {"g : And_2", "h : Inverter"},
                             .inputs = "a, A",
                             .outputs = "x, y",
                             .instances = {"g ( A, a ; x )", "h ( a ; y )"}}));
  EXPECT_EQ(names_of(gate_named("g")->inputs_C), (names_t{"A", "a->x__1"}));
  EXPECT_EQ(names_of(gate_named("h")->inputs_C), (names_t{"a->y__2"}));
  EXPECT_EQ(names_of(signal_named("A")->nachfolger_C), (names_t{"g"}));
  EXPECT_EQ(gate_named("A"), nullptr);
  expect_transformed_shape();
  expect_check_passes();
}

TEST(Fanout, DeclaredGateNamedLikeAStemEndsTheRun) {
  child_result_t run = run_in_child([] {
    load_circuit(circuit_text({.nodes = "a, b, x, y",
                               .gates = {"b : And_2", "g : Or_2"},
                               .inputs = "a, b",
                               .outputs = "x, y",
                               .instances = {"b ( a, b ; x )", "g ( a, b ; y )"}}));
  });
  EXPECT_EQ(run.exit_status, 1);
  // The stem a comes first and gets its fanout gate; b collides.
  EXPECT_NE(run.output.find(
                "\n\n\n\nGate name: b\n\nERROR!!!\nquarn_add_to_gate_tree: gate was already in the list\n"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(read_file("circuit.stat"), "ERROR!!!\t\tquarn_add_to_gate_tree: gate was already in the list\n");
}

// ---------------------------------------------------------- dangling logic

TEST(DanglingLogic, PrimaryInputFeedingNothingIsDeleted) {
  output_capture_C out;
  load_circuit(circuit_text({.nodes = "a, unused, b, y",
                             .gates = {"g : Or_2"},
                             .inputs = "a, unused, b",
                             .outputs = "y",
                             .instances = {"g ( a, b ; y )"}}));
  EXPECT_EQ(out.text(), read_and_transform + deleting("unused"));
  EXPECT_EQ(names_of(input_lines_C), (names_t{"a", "b"}));
  EXPECT_EQ(names_of(lines_C), (names_t{"a", "b", "y"}));
  EXPECT_EQ(statistic_u.no_primary_inputs_i, 3);  // counts the file, not the result
  expect_check_passes();
}

TEST(DanglingLogic, SignalsNeitherDrivenNorReadAreAllFound) {
  // Deleting u1 moves u2 into its place; the walk must look there again.
  output_capture_C out;
  load_circuit(circuit_text({.nodes = "a, u1, u2, y, u3",
                             .gates = {"g : Driver"},
                             .inputs = "a",
                             .outputs = "y",
                             .instances = {"g ( a ; y )"}}));
  EXPECT_EQ(out.text(), read_and_transform + deleting("u1") + deleting("u2") + deleting("u3"));
  EXPECT_EQ(names_of(lines_C), (names_t{"a", "y"}));
}

TEST(DanglingLogic, GateFeedingNothingGoesWithItsPrivateInputsAndOneBranch) {
  output_capture_C out;
  load_circuit(circuit_text({.nodes = "a, b, c, y, d",
                             .gates = {"g1 : And_2", "g2 : Or_2"},
                             .inputs = "a, b, c",
                             .outputs = "y",
                             .instances = {"g1 ( a, b ; y )", "g2 ( b, c ; d )"}}));
  // d's driver goes with its inputs in order: the branch of b, then c.
  EXPECT_EQ(out.text(), read_and_transform + deleting("d") + deleting("b->d__2") + deleting("c"));
  EXPECT_EQ(names_of(lines_C), (names_t{"a", "b", "y", "b->y__1"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"g1", "b"}));
  EXPECT_EQ(names_of(input_lines_C), (names_t{"a", "b"}));
  // The fanout gate keeps the branch that still leads somewhere.
  gate_C* fanout = gate_named("b");
  EXPECT_EQ(names_of(fanout->outputs_C), (names_t{"b->y__1"}));
  EXPECT_EQ(fanout->no_outputs_i, 1);
  EXPECT_EQ(gate_named("g2"), nullptr);
  // The counters describe the expansion, not what is left of it.
  EXPECT_EQ(statistic_u.no_fanout_gates_i, 1);
  EXPECT_EQ(statistic_u.no_fanout_branches_i, 2);
  expect_transformed_shape();
  expect_check_passes();
}

TEST(DanglingLogic, FanoutGateGoesWithItsStemWhenItsLastBranchGoes) {
  output_capture_C out;
  load_circuit(circuit_text({.nodes = "a, b, y, d, e",
                             .gates = {"g1 : Driver", "g2 : Inverter", "g3 : Inverter"},
                             .inputs = "a, b",
                             .outputs = "y",
                             .instances = {"g1 ( a ; y )", "g2 ( b ; d )", "g3 ( b ; e )"}}));
  EXPECT_EQ(out.text(), read_and_transform + deleting("d") + deleting("b->d__1") + deleting("e") +
                            deleting("b->e__2") + deleting("b"));
  EXPECT_EQ(names_of(lines_C), (names_t{"a", "y"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"g1"}));
  EXPECT_EQ(names_of(input_lines_C), (names_t{"a"}));
  EXPECT_EQ(signal_named("b"), nullptr);
  EXPECT_EQ(gate_named("b"), nullptr);
  EXPECT_EQ(statistic_u.no_fanout_gates_i, 1);
  EXPECT_EQ(statistic_u.no_fanout_branches_i, 2);
  expect_check_passes();
}

TEST(DanglingLogic, ReconvergingConeIsDeletedWhole) {
  // n1 fans out to both inputs of the dangling gate: the second branch
  // empties the fanout gate, which takes n1 and its input a along.
  output_capture_C out;
  load_circuit(circuit_text({.nodes = "a, b, y, n1, n2",
                             .gates = {"keep : Driver", "inv : Inverter", "both : And_2"},
                             .inputs = "a, b",
                             .outputs = "y",
                             .instances = {"keep ( b ; y )", "inv ( a ; n1 )", "both ( n1, n1 ; n2 )"}}));
  EXPECT_EQ(out.text(), read_and_transform + deleting("n2") + deleting("n1->n2__1") + deleting("n1->n2__2") +
                            deleting("n1") + deleting("a"));
  EXPECT_EQ(names_of(lines_C), (names_t{"b", "y"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"keep"}));
  EXPECT_EQ(names_of(input_lines_C), (names_t{"b"}));
  expect_check_passes();
}

// -------------------------------------------------------------- flip-flops

TEST(FlipFlops, CutIntoAPseudoOutputAndAPseudoInput) {
  load_circuit(circuit_text({.nodes = "a, d, q, y",
                             .gates = {"g : Nand_2", "ff : Dflipflop", "h : Inverter"},
                             .inputs = "a",
                             .outputs = "y",
                             .instances = {"g ( a, q ; d )", "ff ( d ; q )", "h ( q ; y )"}}),
               false);
  gate_C* flipflop = gate_named("ff");
  transform_circuit();
  EXPECT_EQ(names_of(output_lines_C), (names_t{"y", "d"}));
  EXPECT_EQ(names_of(input_lines_C), (names_t{"a", "q"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"g", "h", "q"}));
  line_C* d = signal_named("d");
  line_C* q = signal_named("q");
  EXPECT_TRUE(d->primary_output_b);
  EXPECT_FALSE(d->primary_input_b);
  EXPECT_TRUE(q->primary_input_b);
  EXPECT_FALSE(q->primary_output_b);
  // The flip-flop is out of the circuit, but its signals still name it.
  EXPECT_EQ(names_of(d->nachfolger_C), (names_t{"ff"}));
  EXPECT_EQ(q->vorgaenger_C[0], flipflop);
  EXPECT_EQ(statistic_u.no_flipflop_i, 1);
  expect_transformed_shape();
  expect_check_passes();
}

TEST(FlipFlops, ConsecutiveFlipFlopsAreAllCut) {
  load_circuit(circuit_text({.nodes = "a, q1, q2, y",
                             .gates = {"ff1, ff2 : Dflipflop", "g : Inverter"},
                             .inputs = "a",
                             .outputs = "y",
                             .instances = {"ff1 ( a ; q1 )", "ff2 ( q1 ; q2 )", "g ( q2 ; y )"}}));
  EXPECT_EQ(names_of(gates_C), (names_t{"g"}));
  EXPECT_EQ(names_of(input_lines_C), (names_t{"a", "q1", "q2"}));
  EXPECT_EQ(names_of(output_lines_C), (names_t{"y", "a", "q1"}));
  EXPECT_TRUE(signal_named("q1")->primary_input_b && signal_named("q1")->primary_output_b);
  expect_check_passes();
}

// -------------------------------------------------------------- benchmarks

TEST(TransformBenchmarks, CombinationalC17) {
  load_circuit(read_file(bench_circuit("iscas85", "c17")), true, "c17.cir");
  // N3, N11 and N16 each feed two gates.
  EXPECT_EQ(statistic_u.no_fanout_gates_i, 3);
  EXPECT_EQ(statistic_u.no_fanout_branches_i, 6);
  EXPECT_EQ(lines_C.anzahl_i, 11 + 6);
  EXPECT_EQ(gates_C.anzahl_i, 6 + 3);
  EXPECT_EQ(input_lines_C.anzahl_i, 5);
  EXPECT_EQ(output_lines_C.anzahl_i, 2);
  EXPECT_EQ(names_of(gate_named("N11")->outputs_C), (names_t{"N11->N16__1", "N11->N19__2"}));
  expect_transformed_shape();
  expect_check_passes();
}

TEST(TransformBenchmarks, SequentialS27) {
  load_circuit(read_file(bench_circuit("iscas89", "s27")), true, "s27.cir");
  // NG14, NG8 and NG12 feed two gates each, NG11 three; three flip-flops.
  EXPECT_EQ(statistic_u.no_fanout_gates_i, 4);
  EXPECT_EQ(statistic_u.no_fanout_branches_i, 9);
  EXPECT_EQ(lines_C.anzahl_i, 17 + 9);
  EXPECT_EQ(gates_C.anzahl_i, 13 - 3 + 4);
  EXPECT_EQ(input_lines_C.anzahl_i, 4 + 3);
  EXPECT_EQ(output_lines_C.anzahl_i, 1 + 3);
  expect_transformed_shape();
  expect_check_passes();
}

}  // namespace
