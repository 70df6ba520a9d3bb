// Runs made one after the other in one process write what separate runs of
// the built program write: no state is left over from a run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "app/run.h"
#include "support/capture_output.h"
#include "support/paths.h"
#include "support/run_quarn.h"

namespace {

// CPU times are the only figures allowed to differ between two runs.
std::string without_times(const std::string& text) {
  static const std::regex times("(CPU time for[^\n]*:  )[^\n]*");
  static const std::regex log_seconds(
      "([^\t\n]*\t[^\t\n]*\t[^\t\n]*\t[^\t\n]*\t[^\t\n]*\t[^\t\n]*\t)[0-9]+\t[0-9]+\n");
  return std::regex_replace(std::regex_replace(text, times, "$1#"), log_seconds, "$1#\t#\n");
}

// What a run of the circuit stem left in the present directory, and what it printed.
std::vector<std::string> results(const std::string& stem, const std::string& output) {
  std::vector<std::string> texts{without_times(output)};
  for (const char* extension : {".pat", ".tests", ".red", ".stat", ".debug"}) {
    texts.push_back(file_exists(stem + extension) ? without_times(read_file(stem + extension)) : "(none)");
  }
  texts.push_back(without_times(read_file("statistik")));
  return texts;
}

// Runs the program on each circuit in turn inside the test process, in the
// folder together, and as separate programs in the folder separate.
void expect_same_results(const std::vector<std::pair<std::string, std::string>>& circuits) {
  const std::string here = std::filesystem::current_path().string();
  for (const char* folder : {"together", "separate"}) {
    std::filesystem::create_directory(folder);
    for (const auto& [stem, source] : circuits)
      write_file(std::string(folder) + "/" + stem + ".cir", read_file(source));
  }
  for (const auto& [stem, source] : circuits) {
    SCOPED_TRACE(stem);
    const std::string file = stem + ".cir";
    ASSERT_EQ(chdir((here + "/separate").c_str()), 0);
    const quarn_run_t separate = run_quarn({file, "10", "STUCK_AT"});
    const std::vector<std::string> expected = results(stem, separate.output);
    ASSERT_EQ(chdir((here + "/together").c_str()), 0);
    std::vector<std::string> arguments{"quarn", file, "10", "STUCK_AT"};
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    int status = 0;
    std::string output;
    {
      output_capture_C out;
      status = mmain(static_cast<int>(argv.size()), argv.data());
      output = out.text();
    }
    EXPECT_EQ(status, separate.exit_status);
    EXPECT_EQ(results(stem, output), expected);
    ASSERT_EQ(chdir(here.c_str()), 0);
  }
}

TEST(RunsInOneProcess, TwoCircuitsAndTheSameCircuitTwiceWriteWhatSeparateRunsWrite) {
  expect_same_results({{"c17", bench_circuit("c17")},
                       {"adder4", example_circuit("adder4.cir")},
                       {"redundant", example_circuit("redundant.cir")},
                       {"adder4", example_circuit("adder4.cir")}});
}

}  // namespace
