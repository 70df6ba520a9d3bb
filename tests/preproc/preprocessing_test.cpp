// What a run shows of preprocessing, through the built program.
#include <gtest/gtest.h>

#include <string>

#include "support/circuit_text.h"
#include "support/run_quarn.h"

namespace {

TEST(PreprocessingRun, TitlesInOrderAndTheStatisticsOfTheCircuit) {
  // Nand and Or feed each other through a flip-flop; d and e fan out.
  write_file(
      "small.cir",
      cir_text("a, b, c, d, e, f, g, h",
               "g1 : Nand_2 ;\ng2 : Or_2 ;\ng3 : Inverter ;\ng4 : Exor ;\nff : Dflipflop ;\n", "a, b, c",
               "f, g",
               "g1 ( a, b ; d ) ;\ng2 ( d, h ; e ) ;\ng3 ( e ; f ) ;\ng4 ( d, c ; g ) ;\nff ( e ; h ) ;\n"));
  quarn_run_t run = run_quarn({"small.cir", "10", "STUCK_AT"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
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
  // d feeds g2 and g4, e feeds g3 and the flip-flop: two fanout gates with
  // two branches each; 8 signals and 4 branches are 12 target faults. The
  // flip-flop cuts the only loop. The block opens the file.
  const std::string statistics =
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
  EXPECT_EQ(read_file("small.stat").substr(0, statistics.size()), statistics);
}

TEST(PreprocessingRun, GateLoopEndsTheRunAfterTheMissingLevels) {
  write_file("loop.cir", cir_text("a, x, y", "g1 : And_2 ;\ng2 : Inverter ;\n", "a", "x",
                                  "g1 ( a, y ; x ) ;\ng2 ( x ; y ) ;\n"));
  quarn_run_t run = run_quarn({"loop.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 1);
  const std::string planes = "\nWARNING:  calculate_planes: not all line planes are discovered\n";
  const std::string depths = "\nWARNING:  calculate_planes: not all output depths are discovered\n";
  // Signals in list order, the fanout branches of x last. Only a has a level
  // and only the output branch a depth.
  EXPECT_TRUE(run.output.ends_with("\tFind Planes\na" + depths + "x" + planes + "x" + depths + "y" + planes +
                                   "y" + depths + "x->output__1" + planes + "x->y__2" + planes + "x->y__2" +
                                   depths + "\nERROR!!!\n \nPrint the hole Datastructure in .debug File\n"))
      << run.output;
}

TEST(PreprocessingRun, BlockGateEndsTheRunAsAFailure) {
  write_file("block.cir", cir_text("a, b, c", "g1 : Block_2 ;\n", "a, b", "c", "g1 ( a, b ; c ) ;\n"));
  quarn_run_t run = run_quarn({"block.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_TRUE(
      run.output.ends_with("\tGet Block Cubes, if there are any Blocks\nBlocks not implemented anymore"))
      << run.output;
}

}  // namespace
