// The preprocessing sequence: through the built program for what a run
// shows, in process for a very deep circuit.
#include "preproc/preprocessing.h"

#include <gtest/gtest.h>

#include <string>

#include "app/large_stack.h"
#include "app/statistic.h"
#include "model/circuit.h"
#include "model/line.h"
#include "preproc/line_structure.h"
#include "support/preproc_circuit.h"
#include "support/run_quarn.h"

namespace {

bool ends_with(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Nand and Or feed each other through a flip-flop; d and e fan out.
const std::string small_circuit = cir_text(
    "a, b, c, d, e, f, g, h", "g1 : Nand_2 ;\ng2 : Or_2 ;\ng3 : Inverter ;\ng4 : Exor ;\nff : Dflipflop ;\n",
    "a, b, c", "f, g",
    "g1 ( a, b ; d ) ;\ng2 ( d, h ; e ) ;\ng3 ( e ; f ) ;\ng4 ( d, c ; g ) ;\nff ( e ; h ) ;\n");

TEST(PreprocessingRun, TitlesFollowTheCircuitCheckInOrder) {
  write_file("small.cir", small_circuit);
  quarn_run_t run = run_quarn({"small.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find("Check_Circuit\n"
                            "Preprocessing\n"
                            "\tFeedback Analysis\n"
                            "\tPrint Circuit Statistic\n"
                            "\tFind Planes\n"
                            "\tFind Free-Lines, Bound-Lines and Head-Lines\n"
                            "\tFind Dominators to Fanouts\n"
                            "\tGet Block Cubes, if there are any Blocks\n"
                            "\tCreate Fault-List\n"
                            "\tSort Fault List\n"
                            // Without reconvergent fanout nothing is learned.
                            "\tLearning Implications\n"
                            "\t1 learn phases used\n"
                            "\t0 global implications learned\n"
                            "\tReconvergency Analysis for Blocks\n"
                            "\tSend Constraints to Switch-Level\n"
                            "Test Circuit for Stuck-at Faults\n"),
            std::string::npos)
      << run.output;
}

TEST(PreprocessingRun, FaultListIsBuiltForEveryModelButPathDelayAndBridging) {
  write_file("small.cir", small_circuit);
  const std::string blocks = "\tGet Block Cubes, if there are any Blocks\n";
  const std::string last = "\tLearning Implications\n";
  struct model_case_t {
    std::string keyword;
    std::string fault_list_titles;
  };
  const model_case_t cases[] = {
      {"TRANSITION", "\tCreate Fault-List\n\tSort Fault List\n"},
      {"STUCK_AT_WITHOUT_BRANCHES", "\tCreate Fault-List\n\tSort Fault List\n"},
      // The paths are enumerated during test generation.
      {"PATH_DELAY", "\tCreate Fault-List\n"},
      // Bridging pairs are the targets there.
      {"BRIDGING", ""},
      {"BRIDGING_IDDQ", ""},
  };
  for (const auto& model : cases) {
    quarn_run_t run = run_quarn({"small.cir", "10", model.keyword});
    // Test generation for these models is not built yet: the run stops
    // after preprocessing and says so.
    EXPECT_EQ(run.exit_status, model.keyword == "STUCK_AT_WITHOUT_BRANCHES" ? 0 : 1)
        << model.keyword << run.output;
    EXPECT_NE(run.output.find(blocks + model.fault_list_titles + last), std::string::npos)
        << model.keyword << run.output;
  }
}

TEST(PreprocessingRun, StatisticsFileCountsTheCircuitAsDeclaredPlusItsFanouts) {
  write_file("small.cir", small_circuit);
  quarn_run_t run = run_quarn({"small.cir", "10", "STUCK_AT"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  // d feeds g2 and g4, e feeds g3 and the flip-flop: two fanout gates with
  // two branches each; 8 signals and 4 branches are 12 target faults. The
  // flip-flop cuts the only loop.
  // The block opens the file; the result report follows it.
  const std::string statistics_block =
      "Number of gates:   5\n"
      "Number of Or gates:   1\n"
      "Number of And gates:   0\n"
      "Number of Nand gates:   1\n"
      "Number of Nor gates:   0\n"
      "Number of Exor gates:   1\n"
      "Number of Drivers:   0\n"
      "Number of Inverters:   1\n"
      "Number of Blocks (Transistor Nets or Complex gates):   0\n"
      "Number of Flip-Flops:   1\n"
      "Number of Signals:   8\n"
      "Number of primary inputs:   3\n"
      "Number of primary outputs:   2\n"
      "Number of Fanout gates:   2\n"
      "Number of Fanout branches:   4\n"
      "Number of target faults:   12\n"
      "Feedback in circuit:   0\n";
  EXPECT_EQ(read_file("small.stat").substr(0, statistics_block.size()), statistics_block);
}

TEST(PreprocessingRun, GateLoopIsReportedAndEndsTheRunAfterTheMissingLevels) {
  write_file("loop.cir", cir_text("a, x, y", "g1 : And_2 ;\ng2 : Inverter ;\n", "a", "x",
                                  "g1 ( a, y ; x ) ;\ng2 ( x ; y ) ;\n"));
  quarn_run_t run = run_quarn({"loop.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 1);
  const std::string planes = "\nWARNING:  calculate_planes: not all line planes are discovered\n";
  const std::string depths = "\nWARNING:  calculate_planes: not all output depths are discovered\n";
  // Signals in list order, the fanout branches of x last. Only a has a level
  // and only the output branch a depth.
  EXPECT_TRUE(ends_with(run.output,
                        "\tFind Planes\n"
                        "a" +
                            depths + "x" + planes + "x" + depths + "y" + planes + "y" + depths +
                            "x->output__1" + planes + "x->y__2" + planes + "x->y__2" + depths +
                            "\nERROR!!!\n \nPrint the hole Datastructure in .debug File\n"))
      << run.output;
  // The statistics block comes first; the warnings follow it, the prefix
  // before the first one only.
  std::string stat = read_file("loop.stat");
  const std::string block_end = "Number of target faults:   5\nFeedback in circuit:   1\n";
  size_t end = stat.find(block_end);
  ASSERT_NE(end, std::string::npos) << stat;
  EXPECT_EQ(stat.substr(end + block_end.size()),
            "WARNING:  calculate_planes: not all output depths are discovered\n"
            "calculate_planes: not all line planes are discovered\n"
            "calculate_planes: not all output depths are discovered\n"
            "calculate_planes: not all line planes are discovered\n"
            "calculate_planes: not all output depths are discovered\n"
            "calculate_planes: not all line planes are discovered\n"
            "calculate_planes: not all line planes are discovered\n"
            "calculate_planes: not all output depths are discovered\n"
            "ERROR!!!\t\t \n");
}

TEST(PreprocessingRun, BlockGateEndsTheRunAsAFailure) {
  write_file("block.cir", cir_text("a, b, c", "g1 : Block_2 ;\n", "a, b", "c", "g1 ( a, b ; c ) ;\n"));
  quarn_run_t run = run_quarn({"block.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_TRUE(
      ends_with(run.output, "\tGet Block Cubes, if there are any Blocks\nBlocks not implemented anymore"))
      << run.output;
  EXPECT_NE(read_file("block.stat").find("Number of Blocks (Transistor Nets or Complex gates):   1\n"),
            std::string::npos);
}

std::string inverter_chain(int length) {
  std::string nodes = "n0";
  std::string gates = "g1";
  std::string instances;
  for (int i = 1; i <= length; i++) {
    nodes += ", n" + std::to_string(i);
    if (i > 1) gates += ", g" + std::to_string(i);
    instances +=
        "g" + std::to_string(i) + " ( n" + std::to_string(i - 1) + " ; n" + std::to_string(i) + " ) ;\n";
  }
  return cir_text(nodes, gates + " : Inverter ;\n", "n0", "n" + std::to_string(length), instances);
}

TEST(Preprocessing, ChainOfTwoHundredThousandInvertersIsPreprocessed) {
  constexpr int length = 200000;
  bool consistent = true;
  run_on_large_stack([&] {
    read_checked_circuit("deep", inverter_chain(length));
    praeprocessing(0);
    for (int i = 0; i <= length && consistent; i++) {
      const line_C* l = lines_C[i];
      consistent = l->name_s == "n" + std::to_string(i) && l->plane_i == i + 1 && l->nummer_i == i + 1 &&
                   l->output_depth_i == length + 1 - i && l->line_type_c == FREE_LINE &&
                   free_lines_C[i] == l && !l->in_feedback_b && !l->reconvergent_b;
      EXPECT_TRUE(consistent) << "at n" << i;
    }
  });
  EXPECT_TRUE(consistent);
  EXPECT_EQ(lines_C.anzahl_i, length + 1);
  EXPECT_EQ(free_lines_C.anzahl_i, length + 1);
  EXPECT_EQ(statistic_u.feedback_b, 0);
}

}  // namespace
