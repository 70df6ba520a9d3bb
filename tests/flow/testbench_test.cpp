// quarn-testbench: the patterns quarn writes replay in Icarus Verilog on the
// module written from the circuit with no mismatch, for combinational
// circuits and for sequential ones cut at their flip-flops; a wrong expected
// value is caught and named.
#include "flow/testbench.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/flow_tools.h"
#include "support/paths.h"
#include "support/run_quarn.h"

namespace {

// The file's pattern lines: neither header nor comment nor blank, with
// their line numbers from 1.
std::vector<std::pair<int, std::string>> pattern_lines(const std::string& text) {
  std::vector<std::pair<int, std::string>> lines;
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); number++) {
    if (line.empty() || line[0] == '*') continue;
    lines.emplace_back(number, line);
  }
  return lines;
}

std::string copy_circuit(const std::string& source, const std::string& stem) {
  write_file(stem + ".cir", read_file(source));
  return stem + ".cir";
}

struct replay_case_t {
  std::string stem, source, model;
};

std::ostream& operator<<(std::ostream& out, const replay_case_t& c) {
  return out << c.stem << " " << c.model;
}

class Replay : public testing::TestWithParam<replay_case_t> {};

TEST_P(Replay, PatternsQuarnWritesReplayWithoutMismatch) {
  SKIP_WITHOUT("iverilog");
  const replay_case_t& c = GetParam();
  const std::string circuit = copy_circuit(c.source, c.stem);
  ASSERT_EQ(run_quarn({circuit, "10", c.model}).exit_status, 0);
  const size_t count = pattern_lines(read_file(c.stem + ".pat")).size();
  ASSERT_GT(count, 0u);
  const quarn_run_t replay = run_command_with_errors("quarn-testbench", {circuit, "--run"});
  EXPECT_EQ(replay.exit_status, 0) << replay.output;
  EXPECT_NE(replay.output.find("PASS: " + std::to_string(count) + " patterns, 0 mismatches"),
            std::string::npos)
      << replay.output;
  EXPECT_EQ(replay.output.find("MISMATCH"), std::string::npos) << replay.output;
}

std::vector<replay_case_t> replay_cases() {
  std::vector<replay_case_t> cases;
  for (const char* stem : {"halfadd", "fulladd", "adder4", "redundant", "sequential", "reconv", "bridge"}) {
    cases.push_back({stem, example_circuit(std::string(stem) + ".cir"), "STUCK_AT"});
  }
  for (const char* stem : {"c17", "c432", "c499", "c880", "s27", "s208", "s298", "s344", "s386", "s1494"}) {
    cases.push_back({stem, bench_circuit(stem), "STUCK_AT"});
  }
  // Two-pattern models: the init lines are replayed too.
  cases.push_back({"fulladd", example_circuit("fulladd.cir"), "TRANSITION"});
  cases.push_back({"s27", bench_circuit("s27"), "PATH_DELAY"});
  cases.push_back({"c17", bench_circuit("c17"), "STUCK_OPEN"});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Circuits, Replay, testing::ValuesIn(replay_cases()),
                         [](const testing::TestParamInfo<replay_case_t>& info) {
                           return info.param.stem + "_" + info.param.model;
                         });

// adder4 with its patterns; output s1 of the first pattern after the
// second that expects it at 0 or 1 is changed.
struct corrupted_t {
  int pattern, line_number;
  char expected, written;
};

corrupted_t corrupt_adder4(char replacement_for_flip) {
  const std::string circuit = copy_circuit(example_circuit("adder4.cir"), "adder4");
  EXPECT_EQ(run_quarn({circuit, "10", "STUCK_AT"}).exit_status, 0);
  std::string text = read_file("adder4.pat");
  const auto lines = pattern_lines(text);
  // The outputs s0 s1 s2 s3 cout follow the nine input values and blanks.
  size_t pattern = 2;
  auto s1_of = [&](size_t p) { return lines[p].second[lines[p].second.find_first_not_of(' ', 9) + 1]; };
  while (pattern < lines.size() && s1_of(pattern) == 'X') pattern++;
  EXPECT_LT(pattern, lines.size());
  const auto [number, line] = lines[pattern];
  const size_t outputs = line.find_first_not_of(' ', 9);
  const char original = line[outputs + 1];
  const char written = replacement_for_flip != 0 ? replacement_for_flip : (original == '0' ? '1' : '0');
  size_t at = 0;
  for (int n = 1; n < number; n++) at = text.find('\n', at) + 1;
  text[at + outputs + 1] = written;
  write_file("adder4.pat", text);
  return {static_cast<int>(pattern) + 1, number, original, written};
}

TEST(Testbench, AWrongExpectedValueIsReportedWithItsPatternLineAndOutput) {
  SKIP_WITHOUT("iverilog");
  const corrupted_t c = corrupt_adder4(0);
  const size_t count = pattern_lines(read_file("adder4.pat")).size();
  const quarn_run_t replay = run_command_with_errors("quarn-testbench", {"adder4.cir", "--run"});
  EXPECT_EQ(replay.exit_status, 1) << replay.output;
  const std::string mismatch = "MISMATCH pattern " + std::to_string(c.pattern) + " (line " +
                               std::to_string(c.line_number) + "): output s1 expected " + c.written +
                               " got " + c.expected;
  EXPECT_NE(replay.output.find(mismatch), std::string::npos) << replay.output;
  EXPECT_NE(replay.output.find("FAIL: " + std::to_string(count) + " patterns, 1 mismatches"),
            std::string::npos)
      << replay.output;
  EXPECT_NE(replay.output.find("ERROR: the replay of adder4.pat failed"), std::string::npos) << replay.output;

  // The files alone let a script tell: the simulation's exit status is not 0.
  ASSERT_EQ(run_tool({"iverilog", "-o", "sim.vvp", "adder4_tb.v", "adder4_comb.v"}).exit_status, 0);
  const quarn_run_t simulation = run_tool({"vvp", "-n", "sim.vvp"});
  EXPECT_NE(simulation.exit_status, 0);
  EXPECT_NE(simulation.output.find(mismatch), std::string::npos) << simulation.output;
}

TEST(Testbench, AnExpectedXIsNotCompared) {
  SKIP_WITHOUT("iverilog");
  corrupt_adder4('X');
  const quarn_run_t replay = run_command_with_errors("quarn-testbench", {"adder4.cir", "--run"});
  EXPECT_EQ(replay.exit_status, 0) << replay.output;
  EXPECT_NE(replay.output.find("0 mismatches"), std::string::npos) << replay.output;
}

TEST(Testbench, OpenInputsAreFilledAsChosenAndTheTestbenchSaysHow) {
  uint64_t state = 5;
  EXPECT_EQ(filled_inputs("X01X", x_fill_t::zero, state), "0010");
  EXPECT_EQ(filled_inputs("X01X", x_fill_t::one, state), "1011");
  std::string all_x(64, 'X');
  uint64_t first = 9, again = 9;
  const std::string drawn = filled_inputs(all_x, x_fill_t::random, first);
  EXPECT_EQ(drawn, filled_inputs(all_x, x_fill_t::random, again));  // the seed decides
  EXPECT_NE(drawn.find('0'), std::string::npos);
  EXPECT_NE(drawn.find('1'), std::string::npos);
  EXPECT_EQ(filled_inputs("0110", x_fill_t::random, first), "0110");

  SKIP_WITHOUT("iverilog");
  // c432's patterns leave inputs open: every filling replays cleanly.
  const std::string circuit = copy_circuit(bench_circuit("c432"), "c432");
  ASSERT_EQ(run_quarn({circuit, "10", "STUCK_AT"}).exit_status, 0);
  ASSERT_NE(read_file("c432.pat").find('X'), std::string::npos);
  const struct {
    std::vector<std::string> options;
    std::string comment;
  } fills[] = {{{}, "are driven as 0."},
               {{"--fill", "1"}, "are driven as 1."},
               {{"--fill", "random", "--seed", "7"}, "are driven as random values (seed 7)."}};
  std::vector<std::string> testbenches;
  for (const auto& fill : fills) {
    std::vector<std::string> arguments = {circuit, "--run"};
    arguments.insert(arguments.end(), fill.options.begin(), fill.options.end());
    const quarn_run_t replay = run_command_with_errors("quarn-testbench", arguments);
    EXPECT_EQ(replay.exit_status, 0) << replay.output;
    testbenches.push_back(read_file("c432_tb.v"));
    EXPECT_NE(testbenches.back().find(fill.comment), std::string::npos) << fill.comment;
  }
  EXPECT_NE(testbenches[0], testbenches[1]);
  EXPECT_NE(testbenches[1], testbenches[2]);
}

TEST(Testbench, OutputFilesCanBeNamedAndAnotherPatternFileChosen) {
  const std::string circuit = copy_circuit(example_circuit("fulladd.cir"), "-fulladd");
  ASSERT_EQ(run_quarn({"./" + circuit, "10", "STUCK_AT"}).exit_status, 0);
  write_file("other.pat", read_file("-fulladd.pat"));
  std::remove("-fulladd.pat");
  const quarn_run_t run = run_command_with_errors(
      "quarn-testbench", {"-p", "other.pat", "-o", "m.v", "-t", "t.v", "--", circuit});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(read_file("m.v").find("module \\-fulladd  ("), std::string::npos);
  EXPECT_NE(read_file("t.v").find("module \\-fulladd_tb ;"), std::string::npos);
  EXPECT_NE(read_file("t.v").find("other.pat"), std::string::npos);
}

TEST(Testbench, APatternFileOfAnotherCircuitIsRefused) {
  copy_circuit(example_circuit("fulladd.cir"), "fulladd");
  const std::string circuit = copy_circuit(example_circuit("halfadd.cir"), "halfadd");
  ASSERT_EQ(run_quarn({"fulladd.cir", "10", "STUCK_AT"}).exit_status, 0);
  const quarn_run_t run = run_command_with_errors("quarn-testbench", {circuit, "-p", "fulladd.pat"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(
      run.output.find("ERROR: the pattern file fulladd.pat does not belong to the circuit: its input 3 is "
                      "cin, the circuit's is (none)"),
      std::string::npos)
      << run.output;
  const quarn_run_t absent = run_command_with_errors("quarn-testbench", {circuit});
  EXPECT_EQ(absent.exit_status, 1);
  EXPECT_NE(absent.output.find("ERROR: cannot read the pattern file halfadd.pat"), std::string::npos)
      << absent.output;
}

TEST(Testbench, HelpAndBadArguments) {
  const quarn_run_t help = run_command("quarn-testbench", {"--help"});
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_NE(help.output.find("Usage: quarn-testbench"), std::string::npos);
  EXPECT_NE(help.output.find("--fill 0|1|random"), std::string::npos);
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{},
                                             {"a.cir", "--fill", "2"},
                                             {"a.cir", "--fill"},
                                             {"a.cir", "--seed", "x"},
                                             {"a.cir", "--bogus"},
                                             {"a.cir", "b.cir"},
                                             {"a.cir", "-o", "same.v", "-t", "same.v"}}) {
    const quarn_run_t run = run_command_with_errors("quarn-testbench", bad);
    EXPECT_EQ(run.exit_status, 2) << testing::PrintToString(bad);
    EXPECT_NE(run.output.find("Usage: quarn-testbench"), std::string::npos);
  }
}

}  // namespace
