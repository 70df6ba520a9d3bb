// The preprocessing phases on their own, on a very deep circuit and in a run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/large_stack.h"
#include "app/run.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "preproc/feedback.h"
#include "preproc/levels.h"
#include "preproc/line_structure.h"
#include "preproc/preprocessing.h"
#include "support/circuit_text.h"
#include "support/run_quarn.h"
#include "support/stuck_at_model.h"

namespace {

using names_t = std::vector<std::string>;

// x = a And y, y = not x.
const std::string loop =
    cir_text("a, x, y", "g1 : And_2 ;\ng2 : Inverter ;\n", "a", "x", "g1 ( a, y ; x ) ;\ng2 ( x ; y ) ;\n");

// The names of the signals or gates of a list whose flag is set, in list order.
template <class List, class Flag>
names_t marked(const List& list, Flag flag) {
  names_t names;
  for (int i = 0; i < list.anzahl_i; i++)
    if (list[i]->*flag) names.push_back(list[i]->name_s);
  return names;
}

// s<i> of an n-inverter chain counts up from the input and down to the output.
const line_C* expect_chain_levels(int n, int i) {
  const line_C* l = line_named(std::string("s").append(std::to_string(i)));
  EXPECT_EQ(l->plane_i, i + 1) << i;
  EXPECT_EQ(l->nummer_i, i + 1) << i;
  EXPECT_EQ(l->output_depth_i, n + 1 - i) << i;
  return l;
}

TEST(Levels, InverterChainCountsUpFromTheInputAndDownToTheOutput) {
  run_C& run = read_checked_circuit("chain", inverter_chain(3));
  calculate_planes(run.circuit, run.messages);
  for (int i = 0; i <= 3; i++) expect_chain_levels(3, i);
}

TEST(LineStructure, FanoutStemIsAHeadAndAFreeLineMeetingABoundOneBecomesAHead) {
  // a fans out to the And, which d2 = not d also feeds, and to an inverter.
  read_checked_circuit("head", cir_text("a, d, d2, c, e", "g0, g2 : Inverter ;\ng1 : And_2 ;\n", "a, d",
                                        "c, e", "g0 ( d ; d2 ) ;\ng1 ( a, d2 ; c ) ;\ng2 ( a ; e ) ;\n"));
  line_structure(current_run().circuit);
  const std::pair<const char*, int> expected[] = {
      {"a", HEAD_LINE},  {"a->c__1", BOUND_LINE}, {"a->e__2", BOUND_LINE}, {"c", BOUND_LINE},
      {"e", BOUND_LINE}, {"d", FREE_LINE},        {"d2", HEAD_LINE}};
  for (const auto& [name, type] : expected) EXPECT_EQ(line_named(name)->line_type_c, type) << name;
  EXPECT_EQ(names_of(current_run().circuit.free_lines_C), (names_t{"a", "d", "d2"}));
}

TEST(Feedback, LoopSetsTheFlagAndMarksEverySignalAndGateOnIt) {
  // On the loop: the stem x, the fanout gate named after it, its branch to g2, g1, g2 and y.
  circuit_C& circuit = read_checked_circuit("loop", loop).circuit;
  feedback_analyse(circuit);
  EXPECT_EQ(circuit.statistic_u.feedback_b, 1);
  EXPECT_EQ(marked(circuit.lines_C, &line_C::in_feedback_b), (names_t{"x", "y", "x->y__2"}));
  EXPECT_EQ(marked(circuit.gates_C, &gate_C::in_feedback_b), (names_t{"g1", "g2", "x"}));
  EXPECT_TRUE(marked(circuit.lines_C, &line_C::reconvergent_b).empty());
}

TEST(Preprocessing, ChainOfTwoHundredThousandInvertersIsPreprocessed) {
  constexpr int n = 200000;
  run_on_large_stack([&] {
    run_C& run = read_checked_circuit("deep", inverter_chain(n));
    select_pure_stuck_at_model(run);
    run.preprocessing.praeprocessing(0);
  });
  const run_C& run = current_run();
  EXPECT_EQ(run.circuit.statistic_u.feedback_b, 0);
  EXPECT_EQ(run.circuit.free_lines_C.anzahl_i, n + 1);
  EXPECT_EQ(run.collapsing.aequivalenzen_zahl_i, 2);  // the faults alternate in kind along the chain
  const line_C* s0 = line_named("s0");
  for (int i : {0, 1, 99999, n}) {
    const line_C* l = expect_chain_levels(n, i);
    EXPECT_EQ(l->line_type_c, FREE_LINE) << i;
    EXPECT_EQ(l->aequi_class_0_i, i % 2 ? s0->aequi_class_1_i : s0->aequi_class_0_i) << i;
  }
}

TEST(PreprocessingRun, TitlesInOrderAndTheStatisticsOfTheCircuit) {
  // Nand and Or feed each other through a flip-flop; d and e fan out, never reconverging.
  const std::string gates = "g1 : Nand_2 ;\ng2 : Or_2 ;\ng3 : Inverter ;\ng4 : Exor ;\nff : Dflipflop ;\n";
  write_file("small.cir", cir_text("a, b, c, d, e, f, g, h", gates, "a, b, c", "f, g",
                                   "g1 ( a, b ; d ) ;\ng2 ( d, h ; e ) ;\ng3 ( e ; f ) ;\n"
                                   "g4 ( d, c ; g ) ;\nff ( e ; h ) ;\n"));
  quarn_run_t run = run_quarn({"small.cir", "10", "STUCK_AT"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_THAT(run.output, testing::HasSubstr(
                              "Check_Circuit\nPreprocessing\n\tFeedback Analysis\n\tPrint Circuit Statistic\n"
                              "\tFind Planes\n\tFind Free-Lines, Bound-Lines and Head-Lines\n"
                              "\tFind Dominators to Fanouts\n\tGet Block Cubes, if there are any Blocks\n"
                              "\tCreate Fault-List\n\tSort Fault List\n\tLearning Implications\n"
                              "\t1 learn phases used\n\t0 global implications learned\n"
                              "\tReconvergency Analysis for Blocks\n\tSend Constraints to Switch-Level\n"
                              "Test Circuit for Stuck-at Faults\n"));
  // d and e fan out twice each: 8 signals and 4 branches are 12 target faults; ff cuts the only loop.
  const std::string statistics =
      "Number of gates:   5\nNumber of Or gates:   1\nNumber of And gates:   0\nNumber of Nand gates:   1\n"
      "Number of Nor gates:   0\nNumber of Exor gates:   1\nNumber of Drivers:   0\n"
      "Number of Inverters:   1\nNumber of Blocks (Transistor Nets or Complex gates):   0\n"
      "Number of Flip-Flops:   1\nNumber of Signals:   8\nNumber of primary inputs:   3\n"
      "Number of primary outputs:   2\nNumber of Fanout gates:   2\nNumber of Fanout branches:   4\n"
      "Number of target faults:   12\nFeedback in circuit:   0\n";
  EXPECT_EQ(read_file("small.stat").substr(0, statistics.size()), statistics);
}

TEST(PreprocessingRun, GateLoopOrBlockEndsTheRunAsAFailure) {
  const std::string planes = "\nWARNING:  calculate_planes: not all line planes are discovered\n";
  const std::string depths = "\nWARNING:  calculate_planes: not all output depths are discovered\n";
  // Loop: signals in list order, branches last; only a has a level, only x->output__1 a depth.
  const std::pair<std::string, std::string> cases[] = {
      {loop, "\tFind Planes\na" + depths + "x" + planes + "x" + depths + "y" + planes + "y" + depths +
                 "x->output__1" + planes + "x->y__2" + planes + "x->y__2" + depths +
                 "\nERROR!!!\n \nPrint the hole Datastructure in .debug File\n"},
      {cir_text("a, b, c", "g1 : Block_2 ;\n", "a, b", "c", "g1 ( a, b ; c ) ;\n"),
       "\tGet Block Cubes, if there are any Blocks\nBlocks not implemented anymore"}};
  for (const auto& [text, ending] : cases) {
    write_file("bad.cir", text);
    quarn_run_t run = run_quarn({"bad.cir", "10", "STUCK_AT"});
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_TRUE(run.output.ends_with(ending)) << run.output;
  }
}

}  // namespace
