// The pattern file of a run: a header naming the primary inputs and outputs,
// then one line per pattern with the input values, the fault-free output
// values and the target it was generated for.
#pragma once

#include <fstream>
#include <string>
#include <vector>

class circuit_C;
class paths_C;
class fault_simulation_C;
class implication_C;
class line_C;
struct settings_C;

class pattern_writer_C {
 public:
  pattern_writer_C(const circuit_C& circuit, const settings_C& settings, const implication_C& imp,
                   fault_simulation_C& simulation, const paths_C& paths);

  // Patterns written, for the report.
  int tests_i = 0;
  int inits_i = 0;
  int no_testpattern_i = 0;
  int no_non_robust_pattern_i = 0;

  // Writes the pattern the last search left on the primary inputs; an
  // initialisation pattern is kept and written in front of the next test.
  void print_testpattern(line_C* target, int sub_pass);

 private:
  const circuit_C& circuit_;
  const settings_C& settings_;
  const implication_C& imp_;
  fault_simulation_C& simulation_;
  const paths_C& paths_;
  std::ofstream pattern_F;
  char erster_eingang_b = 1;
  char robust_test_b = 1;
  char last_init_set_b = 0;
  std::vector<char> last_init_p;

  // What the simulation of the stored initialisation pattern detected.
  std::string last_init_detections_s;

  void write_values(const std::vector<char>& inputs, const std::vector<char>& outputs);
  void count_pattern();
  // Ends the log line of a pattern line with what that pattern detected.
  void end_log_entry(const std::string& detections);
};
