// quarn-testbench: a circuit and its pattern file as a Verilog module and a
// testbench that replays the patterns, optionally run in Icarus Verilog.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/run.h"
#include "base/messages.h"
#include "flow/command.h"
#include "flow/pattern_file.h"
#include "flow/replay.h"
#include "flow/testbench.h"
#include "flow/verilog_module.h"

namespace {

const char* const usage =
    "Usage: quarn-testbench <circuit> [options]\n"
    "Writes the combinational part of the circuit (flip-flops cut, their outputs and\n"
    "inputs made ports, ports in the pattern file's order) as a structural Verilog\n"
    "module, and a testbench that applies every line of the pattern file (init\n"
    "patterns too, each line one combinational evaluation) and compares every\n"
    "output the file expects as 0 or 1; X expectations are not compared.\n"
    "\n"
    "Options:\n"
    "  -p, --patterns FILE    the pattern file (default: <stem>.pat beside the circuit)\n"
    "  -o, --module FILE      the module file (default: <stem>_comb.v)\n"
    "  -t, --testbench FILE   the testbench file (default: <stem>_tb.v)\n"
    "  --fill 0|1|random      what inputs left open (X) are driven with (default: 0);\n"
    "                         the testbench states it in a comment\n"
    "  --seed N               seed of --fill random (default: 1)\n"
    "  --run                  compile with iverilog, run vvp; exit status 0 only when\n"
    "                         no output differs\n"
    "  --                     the argument after it is the circuit, even when it\n"
    "                         starts with \"-\"\n"
    "\n"
    "The testbench prints \"MISMATCH pattern <n> (line <l>): output <name> expected\n"
    "<v> got <v>\" per difference and ends with \"PASS: <n> patterns, 0 mismatches\",\n"
    "or \"FAIL: <n> patterns, <m> mismatches\" and $fatal (vvp exits with status 1).\n"
    "Exit status: 0 done (and passed), 1 error or mismatches, 2 bad arguments.\n";

void write_text_file(const std::string& path, const std::function<void(std::ostream&)>& write) {
  std::ofstream out(path);
  if (!out) error(string_C("cannot write " + path));
  write(out);
  out.flush();
  if (!out) error(string_C("cannot write " + path));
}

int body(const std::vector<std::string>& args) {
  std::string circuit, patterns, module_file, testbench_file;
  testbench_options_t options;
  bool run = false;
  for (argument_reader_C arg(args); arg.next();) {
    const std::string& w = arg.word();
    if (!arg.is_option()) {
      if (!circuit.empty()) throw usage_error_t{"one circuit only"};
      circuit = w;
    } else if (w == "-p" || w == "--patterns") {
      patterns = arg.value();
    } else if (w == "-o" || w == "--module") {
      module_file = arg.value();
    } else if (w == "-t" || w == "--testbench") {
      testbench_file = arg.value();
    } else if (w == "--fill") {
      const std::string& fill = arg.value();
      if (fill == "0") {
        options.fill = x_fill_t::zero;
      } else if (fill == "1") {
        options.fill = x_fill_t::one;
      } else if (fill == "random") {
        options.fill = x_fill_t::random;
      } else {
        throw usage_error_t{"--fill takes 0, 1 or random"};
      }
    } else if (w == "--seed") {
      options.seed = static_cast<uint32_t>(arg.number(0, 999999999));
    } else if (w == "--run") {
      run = true;
    } else {
      arg.unknown_option();
    }
  }
  if (circuit.empty()) throw usage_error_t{"no circuit named"};
  const std::string stem = circuit_stem(circuit);
  if (patterns.empty()) patterns = stem + ".pat";
  if (module_file.empty()) module_file = stem + "_comb.v";
  if (testbench_file.empty()) testbench_file = stem + "_tb.v";
  if (module_file == testbench_file) throw usage_error_t{"the module and the testbench need two files"};

  const std::unique_ptr<run_C> loaded = load_transformed_circuit(circuit);
  const pattern_set_t set = read_pattern_set(patterns);
  check_pattern_header(*loaded, set, patterns);
  options.module_name = std::filesystem::path(circuit).stem().string();
  options.pattern_file = patterns;
  write_text_file(module_file, [&](std::ostream& out) {
    write_verilog_module(out, loaded->circuit, options.module_name);
  });
  write_text_file(testbench_file, [&](std::ostream& out) { write_testbench(out, set, options); });
  std::cout << "Wrote " << module_file << " and " << testbench_file << " (" << set.patterns.size()
            << " pattern lines)\n";
  if (!run) return 0;
  const replay_t replay = replay_with_icarus(testbench_file, module_file);
  std::cout << replay.output << std::flush;
  if (!replay.passed) error(string_C("the replay of " + patterns + " failed"));
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  return run_command(argc, argv, usage, body);
}
