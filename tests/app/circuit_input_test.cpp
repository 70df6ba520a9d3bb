// Reading, transforming and checking a circuit through the built program:
// where its messages go and which files they land in.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/circuit_text.h"
#include "support/run_quarn.h"

namespace {

const std::string banner_end = "\n\t\tQUARN includes:";

// Everything the program printed after its banner.
std::string after_banner(const std::string& output) {
  size_t at = output.find(banner_end);
  return at == std::string::npos ? output : output.substr(at + banner_end.size());
}

TEST(CircuitInput, ErrorAfterTheCircuitStatementLandsInTheFilesOfTheStem) {
  // The Circuit statement names foo, the file is bar.cir: the stem is bar.
  write_file("bar.cir", circuit_text({.name = "foo",
                                      .nodes = "a, y",
                                      .gates = {"g : Inverter", "lonely : And_2"},
                                      .inputs = "a",
                                      .outputs = "y",
                                      .instances = {"g ( a ; y )"}}));
  quarn_run_t run = run_quarn({"bar.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(after_banner(run.output),
            "Read Circuit   Name = bar.cir\nTransform Circuit\nCheck_Circuit\n"
            "\nERROR!!!\nproof: too less outputs at:  lonely\n"
            "Print the hole Datastructure in .debug File\n");
  EXPECT_EQ(read_file("bar.stat"), "ERROR!!!\t\tproof: too less outputs at:  lonely\n");
  EXPECT_NE(read_file("bar.debug").find("Name:   lonely\n"), std::string::npos);
  EXPECT_FALSE(file_exists("bar.cir.stat"));
  EXPECT_FALSE(file_exists("foo.stat"));
}

TEST(CircuitInput, StemKeepsTheDirectoryEvenWithADotInIt) {
  std::filesystem::create_directories("sub.d");
  write_file("sub.d/bar.cir", "Circuit bar ;\nNode a, a : bit ;\n");
  quarn_run_t run = run_quarn({"sub.d/bar.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(read_file("sub.d/bar.stat"),
            "ERROR!!!\t\tquarn_add_to_line_tree: Line was already in the list\n");
  EXPECT_TRUE(file_exists("sub.d/bar.debug"));
  EXPECT_FALSE(file_exists("sub.stat"));
}

TEST(CircuitInput, ParseErrorBeforeTheCircuitStatementUsesTheWholeFileName) {
  write_file("bar.cir", "Circuit\t;\n");
  quarn_run_t run = run_quarn({"bar.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 1);
  // The tab is echoed, and does not count in the column.
  EXPECT_EQ(after_banner(run.output),
            "Read Circuit   Name = bar.cir\n\t\nLine: 1, Column: 9\nERROR!!!\nparse error\n"
            "Print the hole Datastructure in .debug File\n");
  EXPECT_EQ(read_file("bar.cir.stat"), "ERROR!!!\t\tparse error\n");
}

TEST(CircuitInput, DeletedLogicIsReportedOnStandardOutputOnly) {
  write_file("dangle.cir", circuit_text({.nodes = "a, b, y, d",
                                         .gates = {"g : Driver", "h : Inverter"},
                                         .inputs = "a, b",
                                         .outputs = "y",
                                         .instances = {"g ( a ; y )", "h ( b ; d )"}}));
  quarn_run_t run = run_quarn({"dangle.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(
      after_banner(run.output)
          .rfind("Read Circuit   Name = dangle.cir\nTransform Circuit\n"
                 "WARNING: d not connected!!!      DELETING\nWARNING: b not connected!!!      DELETING\n"
                 "Check_Circuit\n",
                 0),
      0u);
  EXPECT_EQ(read_file("dangle.stat").find("not connected"), std::string::npos);
}

}  // namespace
