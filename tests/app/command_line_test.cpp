// The command line through the built program.
#include <gtest/gtest.h>

#include <string>

#include "support/run_quarn.h"

namespace {

const std::string usage_text =
    "\n\nCalling Syntax of QUARN:\n"
    "Please use quarn <circuit_name> <number_of_backtracks> <fault_model> <2phases or fault_simu>\n"
    "Only the last parameter is optional, the first three parameters are required\n\n"
    "A circuit name must end with:\n\t.cir: when it is described on gate-level\n\t"
    ".net: if it is a spice netlist\n\nFor the number of backtracks you can use any"
    " integer value\n10 is recommended\n\nThe following fault models are supported:\n\t"
    "IDDQ: Stuck-at fault model, overcurrent measurement\n\tSTUCK_AT: Simple stuck-at fault model"
    "\n\tSTUCK_AT_WITHOUT_BRANCHES: Stuck-at without generating tests for fanout branches"
    "\n\tSTUCK_ON: Stuck_on fault model with overcurrent detection\n\t"
    "TRANSITION: Switching and observing a simple transition at every signal of the circuit\n\t"
    "STUCK_OPEN: The Stuck-open fault model switching single input transistions at primitive gates\n\t"
    "BRIDGING_IDDQ: Bridging faults with overcurrent detection\n\t"
    "BRIDGING: Bridging fault detection with propagation\n\t"
    "PATH_DELAY: Path delay fault model switching single paths\n"
    "\nIf the last parameter is '2phases' the third phase of test generation will not be executed\n"
    "If the last parameter is 'fault_simu', only fault simulation is performed with the pattern file\n"
    "\t\t\t<circuit_name>.pat\n"
    "\nFor further information look into README and the manual\n\n\n"
    "HAPPY TEST GENERATION USING QUARN\n\n";

const std::string banner_start = "Automatic Test Pattern Generation with QUARN (";
const std::string banner_end = "\n\n\t\tQUARN Version 2.2 May 1994";

TEST(CommandLine, WrongArgumentsPrintBannerAndUsageAndFail) {
  for (auto args : {std::vector<std::string>{},
                    {"adder.cir"},
                    {"adder.cir", "10"},
                    {"adder.cir", "10", "STUCK_AT", "4phases"}}) {
    quarn_run_t run = run_quarn(args);
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_TRUE(run.output.starts_with(banner_start)) << run.output;
    EXPECT_NE(run.output.find(banner_end), std::string::npos);
    EXPECT_TRUE(run.output.ends_with("\n\t\tQUARN includes:" + usage_text)) << run.output;
  }
  EXPECT_FALSE(file_exists("adder.cir.stat"));
  quarn_run_t run = run_quarn({std::string(800, 'a'), "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.output.find("at most 799 are allowed"), std::string::npos);
}

TEST(CommandLine, UnknownFaultModelWarnsIntoTheStatisticsFileOfTheWholeArgument) {
  quarn_run_t run = run_quarn({"adder.cir", "10", "bridgingx"});
  EXPECT_NE(run.output.find("\nWARNING:  Fault Model set to Multiple-input-Transition\n"), std::string::npos);
  // The circuit file is missing, so the run ends before the circuit name is
  // cut to its stem: the error lands in the same file.
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(read_file("adder.cir.stat"),
            "WARNING:  Fault Model set to Multiple-input-Transition\nERROR!!!\t\tfile not found\n");
  EXPECT_TRUE(file_exists("adder.cir.debug"));
}

TEST(CommandLine, KnownFaultModelsAndModesAreNotWarnedAbout) {
  write_file("known.cir",
             "Circuit known ;\nNode a, b, s : bit ;\nCon ( delay : 1 )\n  g : Exor ;\nInput a, b ;\n"
             "Output s ;\nStrobe STROBEALL : s ;\nbegin\n  g ( a, b ; s ) ;\nend.\n");
  const std::pair<std::vector<std::string>, std::string> invocations[] = {
      {{"known.cir", "10", "stuck_at"}, "Test Circuit for Stuck-at Faults\n"},
      {{"known.cir", "10", "STUCK_ATX", "2phases"}, "Test Circuit for Stuck-at Faults\n"},
      {{"known.cir", "10", "Stuck_At_Without_Branches"},
       "Test Circuit for Stuck-at Faults without testing Fanout Branches\n"},
      {{"known.cir", "x", "iddq", "fault_simu"}, "Simulate Circuit for IDDQ-measurement\n"},
      {{"known.cir", "10", "Bridging", "only"},
       "Simulate Circuit for Bridging faults with Voltage based detection\n"},
      {{"known.cir", "10", "STUCK_ONX", "3PHASES"}, "Test Circuit for Stuck-on faults with IDDQ\n"},
  };
  for (const auto& [args, title] : invocations) {
    quarn_run_t run = run_quarn(args);
    EXPECT_EQ(run.output.find("WARNING"), std::string::npos) << args[2];
    EXPECT_EQ(run.output.find("Calling Syntax"), std::string::npos) << args[2];
    EXPECT_NE(run.output.find("Send Constraints to Switch-Level\n" + title), std::string::npos) << run.output;
  }
  EXPECT_FALSE(file_exists("known.cir.stat"));
}

}  // namespace
