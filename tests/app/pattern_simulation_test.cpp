// Fault simulation of an existing pattern file (fault_simu): a run's own
// patterns give back what the run reported, patterns from elsewhere what the
// tests' own evaluator finds, and every malformed file its message.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/run.h"
#include "model/line.h"
#include "support/circuit_text.h"
#include "support/output_files.h"
#include "support/paths.h"
#include "support/reference_circuit.h"
#include "support/run_quarn.h"

namespace {

const std::string banner_end = "\n\t\tQUARN includes:";

std::vector<std::string> undetected(const std::string& stat) {
  std::vector<std::string> faults;
  for (const char* title : {"\n\n\nAborted Faults (s_a_1 and s_a_0):\n", "\n\n\ns_a_0 Aborted Faults:\n",
                            "\n\n\ns_a_1 Aborted Faults:\n"}) {
    for (const std::string& name : stat_section(stat, title)) {
      if (title[3] != 's' || title[7] == '0') faults.push_back(name + "/0");
      if (title[3] != 's' || title[7] == '1') faults.push_back(name + "/1");
    }
  }
  return faults;
}

TEST(PatternSimulation, ARunsOwnPatternsDetectWhatTheRunReported) {
  for (const char* model : {"STUCK_AT", "STUCK_AT_WITHOUT_BRANCHES", "IDDQ"}) {
    for (const std::string& source : {example_circuit("adder4.cir"), example_circuit("redundant.cir"),
                                      bench_circuit("c432"), bench_circuit("s298")}) {
      SCOPED_TRACE(std::string(model) + " " + source);
      write_file("own.cir", read_file(source));
      const quarn_run_t generated = run_quarn({"own.cir", "10", model});
      ASSERT_EQ(generated.exit_status, 0);
      const quarn_run_t simulated = run_quarn({"own.cir", "10", model, "fault_simu"});
      ASSERT_EQ(simulated.exit_status, 0) << simulated.output;
      EXPECT_NE(simulated.output.find("Simulate Circuit for"), std::string::npos);
      EXPECT_NE(simulated.output.find("\tPattern File is own.pat\n"), std::string::npos);
      // What the run proved redundant the file cannot detect, so it counts as
      // aborted there. Without branches the run credits some targets that the
      // three-valued re-simulation of a pattern with open inputs cannot: an
      // effect meeting an input that is unknown in the faulty circuit stops.
      const long lost = last_figure(generated.output, "Number of Redundancies:  ") +
                        last_figure(generated.output, "Number of Aborted Faults:  ");
      const long aborted = last_figure(simulated.output, "Number of Aborted Faults:  ");
      const std::string cov = "Fault Coverage:  ";
      const std::string a = generated.output.substr(generated.output.rfind(cov));
      const std::string b = simulated.output.substr(simulated.output.rfind(cov));
      if (std::string(model) == "STUCK_AT_WITHOUT_BRANCHES") {
        EXPECT_GE(aborted, lost);
        EXPECT_LE(std::stod(b.substr(cov.size())), std::stod(a.substr(cov.size())));
      } else {
        EXPECT_EQ(aborted, lost);
        EXPECT_EQ(a.substr(0, a.find('\n')), b.substr(0, b.find('\n')));
      }
      if (std::string(model) == "STUCK_AT") {
        EXPECT_EQ(last_figure(simulated.output, "Number of Aborted Classes : "),
                  last_figure(generated.output, "Number of Redundant Classes : "));
      }
    }
  }
}

// A file of random patterns: with every input given, the faults the report
// leaves undetected are exactly those no pattern detects; with open inputs,
// every fault it credits is detected under every filling.
TEST(PatternSimulation, PatternsFromElsewhereDetectWhatTheEvaluatorFinds) {
  const std::string text = read_file(bench_circuit("c432"));
  const reference_circuit_t ref(text);
  for (bool open_inputs : {false, true}) {
    SCOPED_TRACE(open_inputs ? "with X" : "fully specified");
    std::mt19937_64 rng(open_inputs ? 7 : 8);
    const line_liste_C& lines = load_circuit(text, true, "random.cir").circuit.lines_C;
    std::string file = "* Input_lines: ";
    for (int i = 0; i < current_run().circuit.input_lines_C.anzahl_i; i++)
      file += current_run().circuit.input_lines_C[i]->name_s + " ";
    file += "\n* Output_lines: ";
    for (int i = 0; i < current_run().circuit.output_lines_C.anzahl_i; i++)
      file += current_run().circuit.output_lines_C[i]->name_s + " ";
    file += "\n";
    std::vector<std::vector<uint64_t>> fillings;
    for (int p = 0; p < 40; p++) {
      std::string pattern;
      std::vector<uint64_t> words;
      for (const std::string& name : ref.inputs()) {
        (void)name;
        const int r = int(rng() % (open_inputs ? 4 : 2));
        pattern += r == 0 ? '0' : r == 1 ? '1' : 'X';
        words.push_back(r == 0 ? 0ULL : r == 1 ? ~0ULL : (rng() & ~3ULL) | 2ULL);
      }
      fillings.push_back(words);
      file += pattern + "   " + std::string(ref.outputs().size(), 'X') + " * nowhere  0 Backtracks\n";
      if (p == 20) file += "* a comment line\n";
    }
    write_file("random.pat", file);
    write_file("random.cir", text);
    const quarn_run_t run = run_quarn({"random.cir", "10", "STUCK_AT", "fault_simu"});
    ASSERT_EQ(run.exit_status, 0) << run.output;
    const std::vector<std::string> listed = undetected(read_file("random.stat"));
    const std::set<std::string> left(listed.begin(), listed.end());
    for (int i = 0; i < lines.anzahl_i; i++) {
      const line_C* l = lines[i];
      for (bool one : {false, true}) {
        const std::string fault = l->name_s + (one ? "/1" : "/0");
        bool every_filling = false;
        for (const auto& words : fillings)
          every_filling |= ref.detecting_patterns(words, ref.fault_of(l, one)) == ~0ULL;
        if (!left.count(fault)) {
          EXPECT_TRUE(every_filling) << fault << " credited";
        } else if (!open_inputs) {
          EXPECT_FALSE(every_filling) << fault << " left undetected";
        }
      }
    }
  }
}

TEST(PatternSimulation, MalformedFilesEndTheRunWithTheirMessage) {
  const std::string half_adder = cir_text("a, b, s, c", "g1 : Exor ;\ng2 : And_2 ;\n", "a, b", "s, c",
                                          "g1 ( a, b ; s ) ;\ng2 ( a, b ; c ) ;\n");
  write_file("ha.cir", half_adder);
  const std::string header = "* Input_lines: a b \n* Output_lines: s c \n";
  const std::pair<std::string, std::string> cases[] = {
      {"*Input_lines: a b \n", "simulate_circuit: Pattern File corrupt (1. Line)"},
      {"* Inputs: a b \n", "simulate_circuit: Pattern File corrupt (Input_lines: not found)"},
      {"* Input_lines: b a \n* Output_lines: s c \n",
       "Index: 0     input: b\nERROR!!!\nsimulate_circuit: Order of input lines not correct"},
      {"* Input_lines: a b \n+ Output_lines: s c \n", "simulate_circuit: Pattern File corrupt (2. Line)"},
      {"* Input_lines: a b \n* Outputs: s c \n",
       "simulate_circuit: Pattern File corrupt (Output_lines: not found)"},
      {header + "01   10 * a  0 Backtracks\n1   1X * b  0 Backtracks\n",
       "forall_index: 1     t: 1\n\nERROR!!!\nsimulate_circuit: Unknown Value found in pattern file"},
      {header + "0Z   XX\n",
       "forall_index: 1     t: 0Z\n\nERROR!!!\nsimulate_circuit: Unknown Value found in pattern file"},
  };
  for (const auto& [file, ending] : cases) {
    SCOPED_TRACE(file);
    write_file("ha.pat", file);
    const quarn_run_t run = run_quarn({"ha.cir", "10", "STUCK_AT", "fault_simu"});
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_NE(run.output.find(ending), std::string::npos) << run.output;
  }
  std::remove("ha.pat");
  const quarn_run_t missing = run_quarn({"ha.cir", "10", "STUCK_AT", "fault_simu"});
  EXPECT_EQ(missing.exit_status, 1);
  EXPECT_NE(missing.output.find("simulate_circuit: Pattern File not found"), std::string::npos);
}

TEST(PatternSimulation, CommentsAnywhereLongTokensAndSwappedOutputNamesAreAccepted) {
  write_file("ha.cir", cir_text("a, b, s, c", "g1 : Exor ;\ng2 : And_2 ;\n", "a, b", "s, c",
                                "g1 ( a, b ; s ) ;\ng2 ( a, b ; c ) ;\n"));
  // Every fault of the half adder is detected by 01, 10 and 11; the token
  // 11XYZ has more characters than inputs.
  write_file("ha.pat",
             "* Input_lines: a b \n* Output_lines: c s \n* Non Robust Pattern:\n01   10 * x\n"
             "* a comment\n10\n11XYZ   01 * y  3 Backtracks\n");
  const quarn_run_t run = run_quarn({"ha.cir", "10", "STUCK_AT_WITHOUT_BRANCHES", "fault_simu"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find(
                "Index: 0     Output: c\nWARNING:  simulate_circuit: Order of output lines not correct"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(last_figure(run.output, "Number of Aborted Faults:  "), 0);
  EXPECT_FALSE(file_exists("ha.tests"));  // no log in this mode
  // A header alone leaves every fault undetected.
  write_file("ha.pat", "* Input_lines: a b \n* Output_lines: s c \n");
  const quarn_run_t empty = run_quarn({"ha.cir", "10", "STUCK_AT_WITHOUT_BRANCHES", "fault_simu"});
  EXPECT_EQ(last_figure(empty.output, "Number of Aborted Faults:  "), 8);
  // Path delay has no simulation of its own: said so, instead of a coverage
  // of no paths at all.
  const quarn_run_t paths = run_quarn({"ha.cir", "10", "PATH_DELAY", "fault_simu"});
  EXPECT_EQ(paths.exit_status, 1);
  EXPECT_NE(paths.output.find("Pattern-file simulation does not cover path delay faults"), std::string::npos);
  EXPECT_EQ(paths.output.find("nan"), std::string::npos);
}

}  // namespace
