// What a complete run reports: the result report in the statistics file and
// on standard output, the redundancy file, the run log, the pattern file
// header and the progress line, checked against what the circuits make them
// say.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/bench_reference.h"
#include "support/circuit_text.h"
#include "support/output_files.h"
#include "support/paths.h"
#include "support/run_quarn.h"

namespace {

// Runs the program on a copy of the circuit in the present directory: it
// writes its files next to the circuit.
quarn_run_t run_on_copy(const std::string& source, const std::string& stem) {
  write_file(stem + ".cir", read_file(source));
  return run_quarn({stem + ".cir", "10", "STUCK_AT"});
}

size_t occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
  return n;
}

// The names listed under a title of the signal lists, up to the next blank
// line.
std::vector<std::string> section(const std::string& text, const std::string& title) {
  const size_t at = text.rfind(title);
  if (at == std::string::npos) {
    ADD_FAILURE() << "no section " << title;
    return {};
  }
  std::vector<std::string> names;
  std::istringstream in(text.substr(at + title.size()));
  for (std::string line; std::getline(in, line) && !line.empty();) names.push_back(line);
  return names;
}

// Each of the six stuck-at sections with "none" under it.
const std::string empty_lists =
    "\n\n\nRedundant Faults (s_a_1 and s_a_0):\nnone\n"
    "\ns_a_0 Redundant Faults:\nnone\n"
    "\ns_a_1 Redundant Faults:\nnone\n"
    "\n\n\nAborted Faults (s_a_1 and s_a_0):\nnone\n"
    "\n\n\ns_a_0 Aborted Faults:\nnone\n"
    "\n\n\ns_a_1 Aborted Faults:\nnone\n"
    "\n\n\nThe other lines were tested with regard to the fault model\n";

std::string coverage_line(double percent) {
  std::ostringstream line;
  line << "Fault Coverage:  " << percent << " %\n";
  return line.str();
}

TEST(Report, RunWithoutRedundantOrAbortedFaultsListsNothing) {
  // A full adder has no redundant fault: every line reaches an output
  // through exclusive ors or a single and-or level.
  quarn_run_t run = run_on_copy(example_circuit("fulladd.cir"), "fulladd");
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const std::string stat = read_file("fulladd.stat");
  EXPECT_NE(stat.find(empty_lists), std::string::npos) << stat;
  ASSERT_TRUE(file_exists("fulladd.red"));
  EXPECT_EQ(read_file("fulladd.red"), "");
  for (const std::string& text : {stat, run.output}) {
    for (const char* line : {"Number of Redundancies:  0\n", "Number of Redundant Classes : 0\n",
                             "Number of Aborted Faults:  0\n", "Number of Aborted Classes : 0\n",
                             "Fault Coverage:  100 %\n", "Efficiency of Test generation:  100 %\n"}) {
      EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;
    }
  }
}

TEST(Report, RedundantConsensusTermIsListedAndLowersTheCoverage) {
  quarn_run_t run = run_on_copy(example_circuit("redundant.cir"), "redundant");
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const std::string stat = read_file("redundant.stat");
  // t3 stuck-at-0 and the two branches into its And gate, which are
  // equivalent to it; nothing else is redundant and nothing aborted.
  const std::vector<std::string> listed = section(stat, "\ns_a_0 Redundant Faults:\n");
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()),
            (std::set<std::string>{"t3", "b->t3__2", "c->t3__2"}));
  EXPECT_EQ(section(stat, "\n\n\nRedundant Faults (s_a_1 and s_a_0):\n"), std::vector<std::string>{"none"});
  EXPECT_EQ(section(stat, "\ns_a_1 Redundant Faults:\n"), std::vector<std::string>{"none"});
  for (const char* title : {"\n\n\nAborted Faults (s_a_1 and s_a_0):\n", "\n\n\ns_a_0 Aborted Faults:\n",
                            "\n\n\ns_a_1 Aborted Faults:\n"}) {
    EXPECT_EQ(section(stat, title), std::vector<std::string>{"none"}) << title;
  }
  // The redundancy file names the same faults in the same order.
  std::string red;
  for (const std::string& name : listed) red += "s-a-0 " + name + "\n";
  EXPECT_EQ(read_file("redundant.red"), red);

  // 14 lines (8 signals, 6 branches) give 28 faults in 17 classes: the
  // stuck-at-0 faults of each And gate's inputs and output form one class
  // each, with the inverter's faults joining the one of and2; the
  // stuck-at-1 faults of the Or gate's inputs and output form one class; the
  // inverter's input stuck-at-0 and output stuck-at-1 one more; f stuck-at-0,
  // the five other branch stuck-at-1 faults and the six stem faults are
  // alone. One of the 17 is redundant.
  for (const std::string& text : {stat, run.output}) {
    for (const std::string& line :
         {std::string("Number of Equivalent Classes : 17\n"), std::string("Number of Redundancies:  3\n"),
          std::string("Number of Redundant Classes : 1\n"), std::string("Number of Aborted Faults:  0\n"),
          coverage_line(100 - 100.0 / 17), std::string("Efficiency of Test generation:  100 %\n")}) {
      EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;
    }
  }
}

TEST(Report, CpuTimesAreWrittenInSecondsAndThousandths) {
  quarn_run_t run = run_on_copy(example_circuit("fulladd.cir"), "fulladd");
  ASSERT_EQ(run.exit_status, 0) << run.output;
  // A run this small takes well under a second of each kind.
  const std::string time = "0 sec\\. : [0-9]{1,3} sec\\./1000\n";
  const std::regex on_screen("Efficiency of Test generation:  100 %\nCPU time for test generation:  " + time +
                             "CPU time for fault simulation:  " + time +
                             "CPU time for preprocessing:  " + time + "CPU time for rest:  " + time + "$");
  EXPECT_TRUE(std::regex_search(run.output, on_screen)) << run.output;
  // In the statistics file each time starts after a blank line.
  const std::regex in_file("Efficiency of Test generation:  100 %\n\nCPU time for test generation:  " + time +
                           "\nCPU time for fault simulation:  " + time +
                           "\nCPU time for preprocessing:  " + time + "\nCPU time for rest:  " + time + "$");
  const std::string stat = read_file("fulladd.stat");
  EXPECT_TRUE(std::regex_search(stat, in_file)) << stat;
}

TEST(Report, EveryRunAppendsOneRowToTheRunLog) {
  std::filesystem::remove("statistik");
  struct expected_row_t {
    std::string stem;
    int redundancies;
  };
  // redundant.cir has the three redundant faults of the consensus term,
  // the full adder none; neither has aborted faults.
  const std::vector<expected_row_t> expected = {{"redundant", 3}, {"fulladd", 0}};
  std::vector<quarn_run_t> runs;
  for (const expected_row_t& e : expected) {
    runs.push_back(run_on_copy(example_circuit(e.stem + ".cir"), e.stem));
    ASSERT_EQ(runs.back().exit_status, 0) << runs.back().output;
  }
  const std::vector<std::string> rows = text_lines(read_file("statistik"));
  ASSERT_EQ(rows.size(), expected.size());
  const std::regex row("([^\t]+)\t([0-9]+)\t([0-9]+)\t([0-9]+)\t([0-9]+)\t100%\t([0-9]+)\t([0-9]+)");
  for (size_t i = 0; i < rows.size(); i++) {
    SCOPED_TRACE(rows[i]);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(rows[i], m, row));
    const expected_row_t& e = expected[i];
    const std::string& out = runs[i].output;
    EXPECT_EQ(m[1], e.stem);
    EXPECT_EQ(std::stol(m[2]), last_figure(out, "Number of Backtracks:  "));
    EXPECT_EQ(std::stoi(m[3]), e.redundancies);
    EXPECT_EQ(std::stoi(m[4]), 0);
    EXPECT_EQ(std::stoul(m[5]), read_pattern_file(e.stem + ".pat").patterns.size());
    EXPECT_EQ(std::stol(m[6]), last_figure(out, "CPU time for test generation:  "));
    EXPECT_EQ(std::stol(m[7]), last_figure(out, "CPU time for fault simulation:  "));
  }
}

TEST(Report, EveryPhaseChangeWritesAnIntermediateReport) {
  quarn_run_t run = run_on_copy(bench_circuit("iscas85", "c432"), "c432");
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const size_t changes =
      occurrences(run.output, "2. Phase of Test Generation\n") +
      occurrences(run.output, "3. Phase of Test Generation and Redundancy Identification\n");
  const std::string stat = read_file("c432.stat");
  EXPECT_EQ(occurrences(stat, "Number of Equivalent Classes : "), changes + 1);
  EXPECT_EQ(occurrences(stat, "The other lines were tested with regard to the fault model\n"), changes + 1);
  EXPECT_EQ(occurrences(run.output, "Number of Equivalent Classes : "), changes + 1);
}

TEST(PatternFile, HeaderNamesInputsAndOutputsInTheProgramsOrder) {
  // x is an output and feeds g2: the branch x->output__1 takes its place at
  // the end of the output list.
  circuit_parts_t parts;
  parts.name = "fanout_output";
  parts.nodes = "a, b, c, x, y";
  parts.gates = {"g1 : And_2", "g2 : Or_2"};
  parts.inputs = "a, b, c";
  parts.outputs = "x, y";
  parts.instances = {"g1 ( a, b ; x )", "g2 ( x, c ; y )"};
  write_file("fanout_output.cir", circuit_text(parts));
  // The counter's flip-flops add their outputs as inputs and their inputs
  // as outputs, after the declared ones.
  write_file("sequential.cir", read_file(example_circuit("sequential.cir")));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"fanout_output", "* Input_lines: a b c \n* Output_lines: y x->output__1 \n* Non Robust Pattern:\n"},
      {"sequential", "* Input_lines: en q0 q1 q2 \n* Output_lines: wrap d0 d1 d2 \n* Non Robust Pattern:\n"}};
  for (const auto& [stem, header] : expected) {
    SCOPED_TRACE(stem);
    quarn_run_t run = run_quarn({stem + ".cir", "10", "STUCK_AT"});
    ASSERT_EQ(run.exit_status, 0) << run.output;
    const std::string pat = read_file(stem + ".pat");
    EXPECT_EQ(pat.substr(0, header.size()), header);
    EXPECT_EQ(occurrences(pat, "* Non Robust Pattern:\n"), 1u);
    // Every other line is a pattern line of the layout the reader checks.
    EXPECT_EQ(read_pattern_file(stem + ".pat").patterns.size(), text_lines(pat).size() - 3);
  }
}

// The number of backspaces that bring the cursor back to the blank in
// front of a count of remaining faults.
int backspaces(int count) {
  int n = 12;
  for (int threshold : {9, 99, 999, 9999, 99999}) {
    if (count > threshold) n++;
  }
  return n;
}

TEST(Progress, RemainingFaultsAreRewrittenInPlace) {
  // s1494 starts with over a thousand targets.
  quarn_run_t run = run_on_copy(bench_circuit("iscas89", "s1494"), "s1494");
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const size_t start = run.output.find("Compute Testpattern\nRemaining Faults: ");
  ASSERT_NE(start, std::string::npos) << run.output;
  const std::string progress = run.output.substr(start);
  const std::regex update("(Remaining Faults: | )([0-9]+) {10}(\b*)");
  std::set<size_t> digits;
  std::vector<int> counts;
  for (auto it = std::sregex_iterator(progress.begin(), progress.end(), update); it != std::sregex_iterator();
       ++it) {
    const int count = std::stoi((*it)[2]);
    EXPECT_EQ((*it)[3].length(), backspaces(count)) << "count " << count;
    digits.insert((*it)[2].length());
    counts.push_back(count);
  }
  ASSERT_FALSE(counts.empty());
  // One target per equivalence class at the start, none left at the end.
  EXPECT_EQ(counts.front(), published_figures("s1494").collapsed);
  EXPECT_EQ(counts.back(), 0);
  EXPECT_EQ(digits, (std::set<size_t>{1, 2, 3, 4}));
}

TEST(Progress, FirstCountOfASmallCircuitIsFollowedByThirteenBackspaces) {
  // redundant.cir has 17 equivalence classes, one target each.
  quarn_run_t run = run_on_copy(example_circuit("redundant.cir"), "redundant");
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find("Compute Testpattern\nRemaining Faults: 17" + std::string(10, ' ') +
                            std::string(13, '\b') + " "),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find(" 0" + std::string(10, ' ') + std::string(12, '\b')), std::string::npos);
}

}  // namespace
