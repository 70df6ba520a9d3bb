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
  quarn_run_t run = run_quarn({stem + ".cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 0) << run.output;
  return run;
}

size_t occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
  return n;
}

void expect_lines(const std::string& text, const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;
}

// The names listed under a title, up to the next blank line.
std::vector<std::string> section(const std::string& text, const std::string& title) {
  std::vector<std::string> names;
  const size_t at = text.rfind(title);
  EXPECT_NE(at, std::string::npos) << title;
  std::istringstream in(at == std::string::npos ? "" : text.substr(at + title.size()));
  for (std::string line; std::getline(in, line) && !line.empty();) names.push_back(line);
  return names;
}

const std::vector<std::string> redundant_titles = {"\n\n\nRedundant Faults (s_a_1 and s_a_0):\n",
                                                   "\ns_a_0 Redundant Faults:\n",
                                                   "\ns_a_1 Redundant Faults:\n"};
const std::vector<std::string> aborted_titles = {"\n\n\nAborted Faults (s_a_1 and s_a_0):\n",
                                                 "\n\n\ns_a_0 Aborted Faults:\n",
                                                 "\n\n\ns_a_1 Aborted Faults:\n"};

TEST(Report, RunWithoutRedundantOrAbortedFaultsListsNothingAndGivesItsTimes) {
  // A full adder has no redundant fault: every line reaches an output
  // through exclusive ors or a single and-or level.
  const quarn_run_t run = run_on_copy(example_circuit("fulladd.cir"), "fulladd");
  const std::string stat = read_file("fulladd.stat");
  EXPECT_NE(
      stat.find(redundant_titles[0] + "none\n" + redundant_titles[1] + "none\n" + redundant_titles[2] +
                "none\n" + aborted_titles[0] + "none\n" + aborted_titles[1] + "none\n" + aborted_titles[2] +
                "none\n\n\n\nThe other lines were tested with regard to the fault model\n"),
      std::string::npos)
      << stat;
  ASSERT_TRUE(file_exists("fulladd.red"));
  EXPECT_EQ(read_file("fulladd.red"), "");
  for (const std::string& text : {stat, run.output}) {
    expect_lines(text, {"Number of Redundancies:  0\n", "Number of Redundant Classes : 0\n",
                        "Number of Aborted Faults:  0\n", "Number of Aborted Classes : 0\n",
                        "Fault Coverage:  100 %\n"});
  }
  // A run this small takes well under a second of each kind; in the file
  // each time starts after a blank line.
  std::string times = "Efficiency of Test generation:  100 %\n";
  for (const char* kind : {"test generation", "fault simulation", "preprocessing", "rest"}) {
    times += std::string("(\n)?CPU time for ") + kind + ":  0 sec\\. : [0-9]{1,3} sec\\./1000\n";
  }
  EXPECT_TRUE(std::regex_search(run.output, std::regex(times + "$"))) << run.output;
  EXPECT_TRUE(std::regex_search(stat, std::regex(times + "$"))) << stat;
  EXPECT_EQ(occurrences(stat, "\n\nCPU time for "), 4u);
  EXPECT_EQ(occurrences(run.output, "\n\nCPU time for "), 0u);
}

TEST(Report, RedundantConsensusTermIsListedAndLowersTheCoverage) {
  const quarn_run_t run = run_on_copy(example_circuit("redundant.cir"), "redundant");
  const std::string stat = read_file("redundant.stat");
  // t3 stuck-at-0 and the two branches into its And gate, which are
  // equivalent to it; nothing else is redundant and nothing aborted.
  const std::vector<std::string> listed = section(stat, redundant_titles[1]);
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()),
            (std::set<std::string>{"t3", "b->t3__2", "c->t3__2"}));
  EXPECT_EQ(section(stat, redundant_titles[0]), std::vector<std::string>{"none"});
  EXPECT_EQ(section(stat, redundant_titles[2]), std::vector<std::string>{"none"});
  for (const std::string& title : aborted_titles)
    EXPECT_EQ(section(stat, title), std::vector<std::string>{"none"});
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
  std::ostringstream coverage;
  coverage << "Fault Coverage:  " << 100 - 100.0 / 17 << " %\n";
  for (const std::string& text : {stat, run.output}) {
    expect_lines(text, {"Number of Equivalent Classes : 17\n", "Number of Redundancies:  3\n",
                        "Number of Redundant Classes : 1\n", "Number of Aborted Faults:  0\n", coverage.str(),
                        "Efficiency of Test generation:  100 %\n"});
  }
  // The progress line starts at one target per class and is rewritten in
  // place: 13 backspaces back over a two-digit count, 12 over one digit.
  EXPECT_NE(run.output.find("Compute Testpattern\nRemaining Faults: 17" + std::string(10, ' ') +
                            std::string(13, '\b') + " "),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find(" 0" + std::string(10, ' ') + std::string(12, '\b')), std::string::npos);
}

TEST(Report, EveryRunAppendsOneRowToTheRunLog) {
  std::filesystem::remove("statistik");
  // redundant.cir has the three redundant faults of the consensus term, the
  // full adder none; neither has aborted faults.
  const std::vector<std::pair<std::string, int>> expected = {{"redundant", 3}, {"fulladd", 0}};
  std::vector<quarn_run_t> runs;
  for (const auto& [stem, redundancies] : expected)
    runs.push_back(run_on_copy(example_circuit(stem + ".cir"), stem));
  const std::vector<std::string> rows = text_lines(read_file("statistik"));
  ASSERT_EQ(rows.size(), expected.size());
  const std::regex row("([^\t]+)\t([0-9]+)\t([0-9]+)\t0\t([0-9]+)\t100%\t([0-9]+)\t([0-9]+)");
  for (size_t i = 0; i < rows.size(); i++) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(rows[i], m, row)) << rows[i];
    const std::string& out = runs[i].output;
    EXPECT_EQ(m[1], expected[i].first);
    EXPECT_EQ(std::stol(m[2]), last_figure(out, "Number of Backtracks:  "));
    EXPECT_EQ(std::stoi(m[3]), expected[i].second);
    EXPECT_EQ(std::stoul(m[4]), read_pattern_file(expected[i].first + ".pat").patterns.size());
    EXPECT_EQ(std::stol(m[5]), last_figure(out, "CPU time for test generation:  "));
    EXPECT_EQ(std::stol(m[6]), last_figure(out, "CPU time for fault simulation:  "));
  }
}

TEST(Report, EveryPhaseChangeWritesAnIntermediateReport) {
  const quarn_run_t run = run_on_copy(bench_circuit("c432"), "c432");
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
  // the end of the output list. The counter's flip-flops add their outputs
  // as inputs and their inputs as outputs, after the declared ones.
  write_file("fanout_output.cir", circuit_text({.nodes = "a, b, c, x, y",
                                                .gates = {"g1 : And_2", "g2 : Or_2"},
                                                .inputs = "a, b, c",
                                                .outputs = "x, y",
                                                .instances = {"g1 ( a, b ; x )", "g2 ( x, c ; y )"}}));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"fanout_output", "* Input_lines: a b c \n* Output_lines: y x->output__1 \n* Non Robust Pattern:\n"},
      {"sequential", "* Input_lines: en q0 q1 q2 \n* Output_lines: wrap d0 d1 d2 \n* Non Robust Pattern:\n"}};
  write_file("sequential.cir", read_file(example_circuit("sequential.cir")));
  for (const auto& [stem, header] : expected) {
    EXPECT_EQ(run_quarn({stem + ".cir", "10", "STUCK_AT"}).exit_status, 0);
    const std::string pat = read_file(stem + ".pat");
    EXPECT_TRUE(pat.starts_with(header)) << pat;
    EXPECT_EQ(occurrences(pat, "* Non Robust Pattern:\n"), 1u);
    // Every other line is a pattern line of the layout the reader checks.
    EXPECT_EQ(read_pattern_file(stem + ".pat").patterns.size(), text_lines(pat).size() - 3);
  }
}

TEST(Progress, RemainingFaultsAreRewrittenInPlace) {
  // s1494 starts with over a thousand targets: one per equivalence class.
  const quarn_run_t run = run_on_copy(bench_circuit("s1494"), "s1494");
  const size_t start = run.output.find("Compute Testpattern\nRemaining Faults: ");
  ASSERT_NE(start, std::string::npos) << run.output;
  const std::string progress = run.output.substr(start);
  const std::regex update("(Remaining Faults: | )([0-9]+) {10}(\b*)");
  std::set<size_t> digits;
  std::vector<int> counts;
  for (std::sregex_iterator it(progress.begin(), progress.end(), update), end; it != end; ++it) {
    const size_t width = (*it)[2].length();
    // Back to the blank in front of the count: 12 plus one per digit beyond the first.
    EXPECT_EQ(size_t((*it)[3].length()), 11 + width) << (*it)[2];
    digits.insert(width);
    counts.push_back(std::stoi((*it)[2]));
  }
  ASSERT_FALSE(counts.empty());
  EXPECT_EQ(counts.front(), published_figures("s1494").collapsed);
  EXPECT_EQ(counts.back(), 0);
  EXPECT_EQ(digits, (std::set<size_t>{1, 2, 3, 4}));
}

}  // namespace
