// quarn-compact end to end: the compacted file keeps every detection the
// original cubes guarantee, judged by the tests' own evaluator, and its
// command line, its errors and its chart behave as documented.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/child.h"
#include "support/output_files.h"
#include "support/paths.h"
#include "support/reference_circuit.h"
#include "support/run_quarn.h"

namespace {

// The command with its standard error kept in err.txt.
child_result_t compact(const std::vector<std::string>& arguments) {
  const std::string binary = std::string(QUARN_COMMAND_DIR) + "/quarn-compact";
  std::vector<const char*> argv{binary.c_str()};
  for (const std::string& a : arguments) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  return run_in_child([&] {
    const int err = open("err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, STDERR_FILENO);
    execv(argv[0], const_cast<char* const*>(argv.data()));
    std::_Exit(127);
  });
}

// Patterns [first, first + 64) as the reference's input words, per
// reference input, after the pattern file's header order.
struct applied_t {
  std::vector<uint64_t> values;                // two-valued; X counts as 0
  reference_circuit_t::dual_rail_t dual_rail;  // X may be either
  uint64_t valid = 0;
};
applied_t apply(const reference_circuit_t& ref, const pattern_file_t& file, size_t first) {
  const size_t n = ref.inputs().size();
  applied_t a{std::vector<uint64_t>(n, 0), {std::vector<uint64_t>(n, 0), std::vector<uint64_t>(n, 0)}, 0};
  std::map<std::string, size_t> position;
  for (size_t i = 0; i < n; i++) position[ref.inputs()[i]] = i;
  for (size_t b = 0; b < 64 && first + b < file.patterns.size(); b++) {
    a.valid |= 1ULL << b;
    const std::string& in = file.patterns[first + b].inputs;
    for (size_t h = 0; h < file.inputs.size(); h++) {
      const size_t i = position.at(file.inputs[h]);
      if (in[h] == '1') a.values[i] |= 1ULL << b;
      if (in[h] != '1') a.dual_rail.may_be_0[i] |= 1ULL << b;
      if (in[h] != '0') a.dual_rail.may_be_1[i] |= 1ULL << b;
    }
  }
  return a;
}

// Runs quarn and quarn-compact on a circuit and checks the compacted file
// against the original with the reference evaluator.
void check_compaction(const std::string& cir_path, const std::string& stem,
                      const std::vector<std::string>& options = {}) {
  SCOPED_TRACE(stem);
  const std::string text = read_file(cir_path);
  write_file(stem + ".cir", text);
  ASSERT_EQ(run_quarn({stem + ".cir", "10", "STUCK_AT"}).exit_status, 0);
  std::vector<std::string> arguments{stem + ".cir"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  const child_result_t run = compact(arguments);
  ASSERT_EQ(run.exit_status, 0) << run.output << read_file("err.txt");
  const pattern_file_t original = read_pattern_file(stem + ".pat");
  const pattern_file_t compacted = read_pattern_file(stem + ".compact.pat");
  EXPECT_EQ(compacted.inputs, original.inputs);
  EXPECT_EQ(compacted.outputs, original.outputs);
  EXPECT_LE(compacted.patterns.size(), original.patterns.size());
  EXPECT_FALSE(compacted.patterns.empty());

  const reference_circuit_t ref(text);
  ASSERT_EQ(std::set<std::string>(original.inputs.begin(), original.inputs.end()),
            std::set<std::string>(ref.inputs().begin(), ref.inputs().end()));
  // Expected outputs are the fault-free ones, and no input is left open.
  for (size_t first = 0; first < compacted.patterns.size(); first += 64) {
    const applied_t a = apply(ref, compacted, first);
    const std::vector<uint64_t> out = ref.simulate(a.values);
    for (size_t b = 0; first + b < compacted.patterns.size() && b < 64; b++) {
      const pattern_line_t& p = compacted.patterns[first + b];
      EXPECT_EQ(p.inputs.find('X'), std::string::npos) << "pattern " << first + b + 1;
      for (size_t o = 0; o < compacted.outputs.size(); o++) {
        // An output on a fanout branch ("stem->successor__n") carries its stem's value.
        const std::string& name = compacted.outputs[o];
        const char expected = out[ref.output_position(name.substr(0, name.find("->")))] >> b & 1 ? '1' : '0';
        EXPECT_EQ(p.outputs[o], expected)
            << "pattern " << first + b + 1 << ", output " << compacted.outputs[o];
      }
    }
  }
  // Every fault some original cube detects whatever its open inputs are,
  // the compacted file detects.
  int guaranteed = 0;
  for (const reference_fault_t& fault : ref.all_faults()) {
    bool by_original = false, by_compacted = false;
    for (size_t first = 0; first < original.patterns.size() && !by_original; first += 64) {
      const applied_t a = apply(ref, original, first);
      by_original = ref.guaranteed_detections(a.dual_rail, fault) & a.valid;
    }
    if (!by_original) continue;
    guaranteed++;
    for (size_t first = 0; first < compacted.patterns.size() && !by_compacted; first += 64) {
      const applied_t a = apply(ref, compacted, first);
      by_compacted = ref.detecting_patterns(a.values, fault) & a.valid;
    }
    EXPECT_TRUE(by_compacted) << "fault kind " << fault.kind << " index " << fault.index << " pin "
                              << fault.pin << " stuck at " << fault.stuck_at_one;
  }
  EXPECT_GT(guaranteed, 0);
}

TEST(Compact, KeepsEveryDetectionOfTheExamples) {
  for (const char* name : {"adder4", "fulladd", "halfadd", "reconv", "redundant", "sequential"}) {
    check_compaction(example_circuit(std::string(name) + ".cir"), name);
  }
}

TEST(Compact, KeepsEveryDetectionOfBenchmarkCircuits) {
  for (const char* name : {"c17", "c432", "c499", "c880", "s27", "s208", "s298", "s386", "s1494"}) {
    check_compaction(bench_circuit(name), name);
  }
}

TEST(Compact, TheClassicWayKeepsEveryDetectionToo) {
  for (const char* name : {"c432", "s298"}) check_compaction(bench_circuit(name), name, {"--classic"});
  check_compaction(example_circuit("adder4.cir"), "adder4", {"--classic", "--seed", "99"});
}

TEST(Compact, OtherFillingsAndPassesKeepEveryDetection) {
  check_compaction(bench_circuit("c499"), "c499", {"--fillings", "1", "--passes", "0", "--seed", "3"});
  check_compaction(bench_circuit("s344"), "s344", {"--fillings", "3", "--passes", "9"});
}

// The report's figures: "<label>  <number>".
double reported(const std::string& output, const std::string& label) {
  const std::regex figure(label + R"(\s+([0-9.]+))");
  std::smatch m;
  if (!std::regex_search(output, m, figure)) return -1;
  return std::stod(m[1]);
}

TEST(Compact, ShrinksTheSetAndReportsWhatQuarnsOwnSimulationFinds) {
  write_file("c880.cir", read_file(bench_circuit("c880")));
  ASSERT_EQ(run_quarn({"c880.cir", "10", "STUCK_AT"}).exit_status, 0);
  const child_result_t run = compact({"c880.cir", "-o", "small.pat"});
  ASSERT_EQ(run.exit_status, 0) << read_file("err.txt");
  const double before = reported(run.output, "coverage before"),
               after = reported(run.output, "coverage after");
  EXPECT_EQ(reported(run.output, "patterns before"), 405);
  EXPECT_LT(reported(run.output, "patterns after"), 405 / 2);
  EXPECT_EQ(reported(run.output, "patterns after"), read_pattern_file("small.pat").patterns.size());
  EXPECT_GE(after, before);
  // The generating run detects every class (no redundancy in c880), and a
  // test cube detects its target under any filling.
  EXPECT_EQ(before, 100);
  // Quarn's pattern-file simulation of the compacted set, which has no open
  // inputs, is exact and must find the same coverage.
  std::filesystem::create_directory("sim");
  write_file("sim/c880.cir", read_file("c880.cir"));
  write_file("sim/c880.pat", read_file("small.pat"));
  ASSERT_EQ(chdir("sim"), 0);
  const child_result_t sim = run_quarn({"c880.cir", "10", "STUCK_AT", "fault_simu"});
  ASSERT_EQ(chdir(".."), 0);
  EXPECT_EQ(sim.exit_status, 0);
  EXPECT_DOUBLE_EQ(last_figure(read_file("sim/c880.stat"), "Number of Aborted Classes : "), 0);
  EXPECT_NE(read_file("sim/c880.stat").find("Fault Coverage:  100 %"), std::string::npos);
}

// y = a and b: a stuck-at-1 only 01 detects, b stuck-at-1 only 10, and the
// class of a, b, y stuck-at-0 only 11. Nothing can be dropped.
const char* const and_gate =
    "Circuit and1 ;\nNode a, b, y : bit ;\nCon ( delay : 1 )\n  g : And_2 ;\nInput a, b ;\nOutput y ;\n"
    "Strobe STROBEALL : y ;\nbegin\n  g ( a, b ; y ) ;\nend.\n";
const char* const and_header = "* Input_lines: a b \n* Output_lines: y \n";

TEST(Compact, AMinimalSetStaysAsItIs) {
  write_file("and1.cir", and_gate);
  write_file("and1.pat",
             std::string(and_header) +
                 "01   0 * t1  0 Backtracks\n10   0 * t2  0 Backtracks\n11   1 * t3  0 Backtracks\n");
  const child_result_t run = compact({"and1.cir"});
  ASSERT_EQ(run.exit_status, 0) << read_file("err.txt");
  const pattern_file_t out = read_pattern_file("and1.compact.pat");
  std::multiset<std::string> patterns;
  for (const pattern_line_t& p : out.patterns) patterns.insert(p.inputs + " " + p.outputs + " " + p.target);
  // Each keeps the target its line named.
  EXPECT_EQ(patterns, (std::multiset<std::string>{"01 0 t1", "10 0 t2", "11 1 t3"}));
  EXPECT_EQ(reported(run.output, "coverage before"), 100);
  EXPECT_EQ(reported(run.output, "coverage after"), 100);
  // A comment line after the header says what was done.
  EXPECT_EQ(text_lines(read_file("and1.compact.pat"))[2],
            "* quarn-compact: 3 patterns for the 3 of and1.pat (test cubes merged, open inputs filled "
            "pseudo-randomly, seed 1)");
}

TEST(Compact, RepeatsAndCubesThatAgreeBecomeOnePattern) {
  // 0X agrees with 01 and X0 with 10, which stay as they are; 11 comes twice.
  write_file("and1.cir", and_gate);
  write_file("and1.pat",
             std::string(and_header) +
                 "01   0 * t1  0 Backtracks\n11   1 * t2  0 Backtracks\n0X   0 * t3  0 Backtracks\n"
                 "10   0 * t4  0 Backtracks\n11   1 * t5  0 Backtracks\nX0   0 * t6  0 Backtracks\n");
  const child_result_t run = compact({"and1.cir", "--curve", "and1.svg"});
  ASSERT_EQ(run.exit_status, 0) << read_file("err.txt");
  EXPECT_EQ(read_pattern_file("and1.compact.pat").patterns.size(), 3u);
  EXPECT_EQ(reported(run.output, "patterns before"), 6);
  EXPECT_EQ(reported(run.output, "patterns after"), 3);
}

// The points of every polyline of a chart.
std::vector<std::vector<std::pair<double, double>>> polylines(const std::string& svg) {
  std::vector<std::vector<std::pair<double, double>>> lines;
  const std::regex polyline(R"re(<polyline[^>]*points="([^"]*)")re");
  for (std::sregex_iterator it(svg.begin(), svg.end(), polyline), end; it != end; ++it) {
    std::vector<std::pair<double, double>> points;
    const std::string text = (*it)[1];
    const std::regex point(R"(([-0-9.]+),([-0-9.]+))");
    for (std::sregex_iterator p(text.begin(), text.end(), point); p != end; ++p) {
      points.emplace_back(std::stod((*p)[1]), std::stod((*p)[2]));
    }
    lines.push_back(points);
  }
  return lines;
}

TEST(Compact, DrawsBothCoverageCurves) {
  write_file("c432.cir", read_file(bench_circuit("c432")));
  ASSERT_EQ(run_quarn({"c432.cir", "10", "STUCK_AT"}).exit_status, 0);
  ASSERT_EQ(compact({"c432.cir", "--curve", "curve.svg"}).exit_status, 0) << read_file("err.txt");
  const std::string svg = read_file("curve.svg");
  ASSERT_EQ(svg.rfind("<svg", 0), 0u);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
  EXPECT_NE(svg.find("Stuck-at fault coverage"), std::string::npos);
  const auto lines = polylines(svg);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), read_pattern_file("c432.pat").patterns.size() + 1);
  EXPECT_EQ(lines[1].size(), read_pattern_file("c432.compact.pat").patterns.size() + 1);
  for (const auto& line : lines) {
    // Coverage never falls (y grows downwards), starts at 0 % and both
    // curves end at the same height: the same classes are detected.
    for (size_t k = 1; k < line.size(); k++) EXPECT_LE(line[k].second, line[k - 1].second);
    EXPECT_GT(line.front().second, line.back().second);
  }
  EXPECT_EQ(lines[0].front().second, lines[1].front().second);
  EXPECT_EQ(lines[0].back().second, lines[1].back().second);
  // The compacted curve is the shorter one, on the same axis.
  EXPECT_LT(lines[1].back().first, lines[0].back().first);
}

TEST(Compact, DrawsALogarithmicPatternAxis) {
  write_file("c432.cir", read_file(bench_circuit("c432")));
  ASSERT_EQ(run_quarn({"c432.cir", "10", "STUCK_AT"}).exit_status, 0);
  ASSERT_EQ(compact({"c432.cir", "--curve", "log.svg", "--log"}).exit_status, 0) << read_file("err.txt");
  const std::string svg = read_file("log.svg");
  // 148 patterns: ticks at 1, 10, 100 and 1000, a decade apart.
  std::vector<double> ticks;
  for (const char* label : {">1<", ">10<", ">100<", ">1000<"}) {
    const size_t at = svg.find(label);
    ASSERT_NE(at, std::string::npos) << label;
    const size_t x = svg.rfind("<text x=\"", at);
    ticks.push_back(std::stod(svg.substr(x + 9)));
  }
  EXPECT_NEAR(ticks[1] - ticks[0], ticks[2] - ticks[1], 0.02);
  EXPECT_NEAR(ticks[2] - ticks[1], ticks[3] - ticks[2], 0.02);
  const auto lines = polylines(svg);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), read_pattern_file("c432.pat").patterns.size() + 1);
  for (const auto& line : lines) {
    // The point before the first pattern and the first one lie on the axis
    // at 1; the tenth pattern at the tick of 10.
    EXPECT_NEAR(line[0].first, ticks[0], 0.01);
    EXPECT_NEAR(line[1].first, ticks[0], 0.01);
    EXPECT_NEAR(line[10].first, ticks[1], 0.01);
    for (size_t k = 2; k < line.size(); k++) EXPECT_GT(line[k].first, line[k - 1].first);
  }
}

TEST(Compact, AnswersHelpAndRejectsBadArguments) {
  const child_result_t help = compact({"--help"});
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_NE(help.output.find("usage: quarn-compact"), std::string::npos);
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"a.cir", "b.cir"},
                                             {"a.cir", "--frobnicate"},
                                             {"a.cir", "-o"},
                                             {"a.cir", "--seed", "minus"},
                                             {"a.cir", "--fillings", "0"},
                                             {"a.cir", "-p", "same.pat", "-o", "same.pat"}}) {
    const child_result_t run = compact(args);
    EXPECT_EQ(run.exit_status, 2) << args.size();
    EXPECT_NE(read_file("err.txt").find("usage: quarn-compact"), std::string::npos);
  }
}

TEST(Compact, AMissingOrMalformedPatternFileEndsWithAMessage) {
  write_file("and1.cir", and_gate);
  EXPECT_EQ(compact({"and1.cir"}).exit_status, 1);
  EXPECT_NE(read_file("err.txt").find("ERROR: cannot read the pattern file and1.pat"), std::string::npos);

  write_file("and1.pat", std::string(and_header) + "01   0 * t1\n1    0 * t2\n");
  EXPECT_EQ(compact({"and1.cir"}).exit_status, 1);
  EXPECT_NE(read_file("err.txt").find("ERROR: and1.pat, line 4: expected 2 input values"), std::string::npos);

  write_file("other.pat", "* Input_lines: b a \n* Output_lines: y \n01   0 * t1\n");
  EXPECT_EQ(compact({"and1.cir", "-p", "other.pat"}).exit_status, 1);
  EXPECT_NE(read_file("err.txt").find("does not name the circuit's inputs and outputs"), std::string::npos);

  EXPECT_EQ(compact({"absent.cir"}).exit_status, 1);
  EXPECT_NE(read_file("err.txt").find("ERROR: "), std::string::npos);
  EXPECT_FALSE(file_exists("and1.compact.pat"));
}

TEST(Compact, RejectsTwoPatternTests) {
  write_file("fulladd.cir", read_file(example_circuit("fulladd.cir")));
  ASSERT_EQ(run_quarn({"fulladd.cir", "10", "STUCK_OPEN"}).exit_status, 0);
  EXPECT_EQ(compact({"fulladd.cir"}).exit_status, 1);
  EXPECT_NE(read_file("err.txt").find("two-pattern tests"), std::string::npos);
  EXPECT_FALSE(file_exists("fulladd.compact.pat"));
}

}  // namespace
