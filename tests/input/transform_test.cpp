// Fanout gates at every stem, no dangling logic, flip-flops cut, and the structural check of the result.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/run.h"
#include "input/check.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/capture_output.h"
#include "support/circuit_text.h"
#include "support/fatal.h"

namespace {

using names_t = std::vector<std::string>;

std::pair<int, int> fanout_counts() {
  const statistic_t& s = current_run().circuit.statistic_u;
  return {s.no_fanout_gates_i, s.no_fanout_branches_i};
}

// The circuit check passes silently or ends with exactly the finding given.
void expect_check(const std::string& finding = "") {
  const fatal_result_t run = run_to_fatal_error([] { proof(current_run().circuit); });
  EXPECT_EQ(run.fatal, !finding.empty());
  const std::string end = "\nERROR!!!\nproof: " + finding + "\nPrint the hole Datastructure in .debug File\n";
  EXPECT_EQ(run.output, finding.empty() ? "" : end);
}

// The search steps through the first driver, successor and output and the
// stem of a branch kept in the records: they must agree with the connection
// lists the transformation left.
void expect_links_follow_lists() {
  const circuit_C& circuit = current_run().circuit;
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    const line_C* l = circuit.lines_C[i];
    const gate_C* driver = l->vorgaenger_C.anzahl_i > 0 ? l->vorgaenger_C[0] : nullptr;
    if (driver != nullptr) {
      EXPECT_EQ(l->driver(), driver) << l->name_s;
    }
    if (l->nachfolger_C.anzahl_i > 0) {
      EXPECT_EQ(l->successor(), l->nachfolger_C[0]) << l->name_s;
    }
    const bool branch = driver != nullptr && driver->gate_type_c == FANOUT_GATE;
    EXPECT_EQ(l->stem_p, branch ? driver->inputs_C[0] : nullptr) << l->name_s;
  }
  for (int i = 0; i < circuit.gates_C.anzahl_i; i++) {
    const gate_C* g = circuit.gates_C[i];
    EXPECT_EQ(g->output(), g->outputs_C[0]) << g->name_s;
  }
}

TEST(Transform, StemsGetAFanoutGateAndEachReaderItsOwnBranchAndFlipFlopsAreCut) {
  // g1 reads A and a: matching without regard to case would give A the branch of a.
  load_circuit(cir_text("a, A, x, y", "g1 : And_2 ;\ng2 : Or_2 ;\n", "a, A", "x, y",
                        "g1 ( A, a ; x ) ;\ng2 ( x, a ; y ) ;\n"));
  // Branches are numbered per stem in reader order; a read primary output hands its role to a first branch.
  EXPECT_EQ(names_of(current_run().circuit.lines_C),
            (names_t{"a", "A", "x", "y", "a->x__1", "a->y__2", "x->output__1", "x->y__2"}));
  EXPECT_EQ(names_of(current_run().circuit.gates_C), (names_t{"g1", "g2", "a", "x"}));
  EXPECT_EQ(names_of(current_run().circuit.output_lines_C), (names_t{"y", "x->output__1"}));
  EXPECT_FALSE(signal_named("x")->primary_output_b);
  EXPECT_EQ(names_of(gate_named("g1")->inputs_C), (names_t{"A", "a->x__1"}));
  EXPECT_EQ(names_of(gate_named("g2")->inputs_C), (names_t{"x->y__2", "a->y__2"}));
  EXPECT_EQ(names_of(signal_named("A")->nachfolger_C), (names_t{"g1"}));
  gate_C* fanout = gate_named("a");
  EXPECT_EQ(fanout->gate_type_c, FANOUT_GATE);
  EXPECT_EQ(names_of(fanout->inputs_C), (names_t{"a"}));
  EXPECT_EQ(names_of(fanout->outputs_C), (names_t{"a->x__1", "a->y__2"}));
  EXPECT_EQ(signal_named("a->y__2")->vorgaenger_C[0], fanout);
  EXPECT_EQ(fanout_counts(), std::pair(2, 4));
  expect_check();
  expect_links_follow_lists();
  // Flip-flops are cut into a pseudo output and a pseudo input.
  load_circuit(cir_text("a, d, q, y", "g : Nand_2 ;\nff : Dflipflop ;\nh : Inverter ;\n", "a", "y",
                        "g ( a, q ; d ) ;\nff ( d ; q ) ;\nh ( q ; y ) ;\n"));
  EXPECT_EQ(names_of(current_run().circuit.output_lines_C), (names_t{"y", "d"}));
  EXPECT_EQ(names_of(current_run().circuit.input_lines_C), (names_t{"a", "q"}));
  EXPECT_EQ(names_of(current_run().circuit.gates_C), (names_t{"g", "h", "q"}));
  EXPECT_TRUE(signal_named("d")->primary_output_b && signal_named("q")->primary_input_b);
  EXPECT_EQ(names_of(signal_named("q")->nachfolger_C), (names_t{"q"}));
  expect_check();
  expect_links_follow_lists();
}

TEST(Transform, DanglingLogicIsDeletedBackThroughItsFanouts) {
  output_capture_C out;
  load_circuit(cir_text("a, b, c, y, n1, d", "keep : And_2 ;\ndead : Nor_3 ;\ninv : Inverter ;\n", "a, b, c",
                        "y", "keep ( a, b ; y ) ;\ndead ( b, n1, n1 ; d ) ;\ninv ( c ; n1 ) ;\n"));
  // A deleted gate's inputs go in order; a fanout gate goes with its stem once its last branch is gone.
  std::string deleted;
  for (const char* name : {"d", "b->d__2", "n1->d__1", "n1->d__2", "n1", "c"})
    deleted += "WARNING: " + std::string(name) + " not connected!!!      DELETING\n";
  EXPECT_EQ(out.text(), "Read Circuit   Name = circuit.cir\nTransform Circuit\n" + deleted);
  EXPECT_EQ(names_of(current_run().circuit.lines_C), (names_t{"a", "b", "y", "b->y__1"}));
  EXPECT_EQ(names_of(current_run().circuit.gates_C), (names_t{"keep", "b"}));
  EXPECT_EQ(names_of(current_run().circuit.input_lines_C), (names_t{"a", "b"}));
  EXPECT_EQ(gate_named("b")->no_outputs_i, 1);
  for (const char* gone : {"c", "n1", "d", "n1->d__1"}) EXPECT_EQ(signal_named(gone), nullptr) << gone;
  for (const char* gone : {"dead", "inv", "n1"}) EXPECT_EQ(gate_named(gone), nullptr) << gone;
  // The counters describe the expansion, not what is left of it.
  EXPECT_EQ(fanout_counts(), std::pair(2, 4));
  expect_check();
  // What is left of the fanout gate of b is its branch to y.
  EXPECT_EQ(gate_named("b")->output(), signal_named("b->y__1"));
  expect_links_follow_lists();
}

TEST(Check, FindingsEndTheRunWithTheNameOfTheRecord) {
  const std::pair<std::string, const char*> cases[] = {
      {cir_text("a, floating, y", "g : Nor_2 ;\n", "a", "y", "g ( a, floating ; y ) ;\n"),
       "line without sender must be input:  floating"},
      {cir_text("a, b, y", "g1, g2 : Inverter ;\n", "a, b", "y", "g1 ( a ; y ) ;\ng2 ( b ; y ) ;\n"),
       "too many sender of:  y"},
      {cir_text("a, y", "g : Inverter ;\nlonely : Or_2 ;\n", "a", "y", "g ( a ; y ) ;\n"),
       "too less outputs at:  lonely"},
  };
  for (const auto& [text, finding] : cases) {
    load_circuit(text);
    expect_check(finding);
  }
}

}  // namespace
