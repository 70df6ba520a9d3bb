#include "flow/replay.h"

#include "app/run.h"
#include "base/messages.h"
#include "flow/process.h"
#include "input/check.h"
#include "input/parser.h"
#include "input/transform.h"
#include "model/line.h"

std::unique_ptr<run_C> load_transformed_circuit(const std::string& path) {
  auto run = std::make_unique<run_C>();
  run->settings.schaltungsname_s = path;
  read_circuit(run->circuit, run->settings);
  transform_circuit(run->circuit);
  proof(run->circuit);
  return run;
}

namespace {

void compare_names(const line_liste_C& lines, const std::vector<std::string>& names, const char* what,
                   const std::string& pattern_path) {
  const size_t count = static_cast<size_t>(lines.anzahl_i);
  for (size_t i = 0; i < std::max(count, names.size()); i++) {
    const std::string circuit_name = i < count ? lines[static_cast<int>(i)]->name_s : "(none)";
    const std::string file_name = i < names.size() ? names[i] : "(none)";
    if (circuit_name != file_name) {
      error(string_C("the pattern file " + pattern_path + " does not belong to the circuit: its " + what +
                     " " + std::to_string(i + 1) + " is " + file_name + ", the circuit's is " +
                     circuit_name));
    }
  }
}

}  // namespace

void check_pattern_header(const run_C& run, const pattern_set_t& patterns, const std::string& pattern_path) {
  compare_names(run.circuit.input_lines_C, patterns.input_names, "input", pattern_path);
  compare_names(run.circuit.output_lines_C, patterns.output_names, "output", pattern_path);
}

replay_t replay_with_icarus(const std::string& testbench, const std::string& module) {
  for (const char* program : {"iverilog", "vvp"}) {
    if (!on_path(program)) {
      error(string_C(std::string(program) +
                     " is not on PATH: the replay needs Icarus Verilog (Debian package iverilog)"));
    }
  }
  private_directory_t directory;
  const std::string compiled = directory.file("replay.vvp");
  const program_run_t compile =
      run_program({"iverilog", "-o", compiled, as_operand(testbench), as_operand(module)});
  if (compile.exit_status != 0) {
    error(string_C("iverilog failed (exit status " + std::to_string(compile.exit_status) + "):\n" +
                   compile.output));
  }
  // -n: a $stop in the design ends the simulation instead of waiting for input.
  const program_run_t simulation = run_program({"vvp", "-n", compiled});
  const std::string output = compile.output + simulation.output;
  const bool pass_line = output.rfind("\nPASS: ") != std::string::npos || output.rfind("PASS: ", 0) == 0;
  return {simulation.exit_status == 0 && pass_line, output};
}
