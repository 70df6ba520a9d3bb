// quarn-compact: a smaller stuck-at test set that detects every fault the
// original set detects.
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <iostream>

#include "base/messages.h"
#include "flow/command.h"
#include "flow/compaction.h"
#include "flow/coverage_chart.h"
#include "flow/flat_circuit.h"
#include "flow/pattern_file.h"

namespace {

const char* const usage =
    "usage: quarn-compact <circuit.cir> [-p <patterns.pat>] [-o <compacted.pat>]\n"
    "                     [--curve <chart.svg> [--log]] [--classic] [--fillings <n>]\n"
    "                     [--seed <n>] [--passes <n>]\n"
    "\n"
    "Writes a smaller pattern file that detects every collapsed stuck-at fault class\n"
    "the original patterns detect, and reports patterns and coverage before and after.\n"
    "\n"
    "  -p <file>       the patterns to compact (default: <stem>.pat beside the circuit)\n"
    "  -o <file>       the file to write (default: <stem>.compact.pat beside the circuit)\n"
    "  --curve <file>  also draw coverage against patterns, original and compacted, as SVG\n"
    "  --log           the chart's pattern axis logarithmic\n"
    "  --classic       reverse-order fault simulation only, no merging of test cubes\n"
    "  --fillings <n>  fillings of each merged cube the cover chooses from (default 8)\n"
    "  --seed <n>      seed of the pseudo-random filling of open inputs (default 1)\n"
    "  --passes <n>    shuffled passes removing redundant patterns (default 4)\n"
    "\n"
    "Open inputs (X) are filled pseudo-randomly; coverage before counts what the original\n"
    "patterns detect with that filling. The faults are single stuck-at faults, counted by\n"
    "collapsed class as quarn's STUCK_AT coverage counts them, whatever model wrote the\n"
    "file; files with two-pattern tests (Init-Pattern lines) are refused.\n";

struct arguments_t {
  std::string circuit, patterns, output, curve;
  bool log_curve = false;
  compaction_options_t options;
};

arguments_t parse(const std::vector<std::string>& args) {
  arguments_t a;
  for (argument_reader_C arg(args); arg.next();) {
    const std::string& w = arg.word();
    if (!arg.is_option()) {
      if (!a.circuit.empty()) throw usage_error_t{"one circuit only: " + w};
      a.circuit = w;
    } else if (w == "-p") {
      a.patterns = arg.value();
    } else if (w == "-o") {
      a.output = arg.value();
    } else if (w == "--curve") {
      a.curve = arg.value();
    } else if (w == "--log") {
      a.log_curve = true;
    } else if (w == "--classic") {
      a.options.classic = true;
    } else if (w == "--seed") {
      a.options.seed = static_cast<uint64_t>(arg.number(0, 1L << 62));
    } else if (w == "--fillings") {
      a.options.fillings = static_cast<int>(arg.number(1, 64));
    } else if (w == "--passes") {
      a.options.shuffles = static_cast<int>(arg.number(0, 1000));
    } else {
      arg.unknown_option();
    }
  }
  if (a.circuit.empty()) throw usage_error_t{"the circuit file is missing"};
  const std::string stem = circuit_stem(a.circuit);
  if (a.patterns.empty()) a.patterns = stem + ".pat";
  if (a.output.empty()) a.output = stem + ".compact.pat";
  if (a.output == a.patterns) throw usage_error_t{"the compacted file would overwrite the original"};
  return a;
}

void check_header(const fault_circuit_t& circuit, const pattern_set_t& file, const std::string& path) {
  auto names = [&](const std::vector<int>& nodes) {
    std::vector<std::string> n;
    for (int node : nodes) n.push_back(circuit.net.names[node]);
    return n;
  };
  if (file.input_names != names(circuit.net.inputs) || file.output_names != names(circuit.net.outputs)) {
    error(string_C(path + ": its header does not name the circuit's inputs and outputs in their order"));
  }
  for (size_t p = 0; p < file.patterns.size(); p++) {
    if (file.patterns[p].init) {
      error(string_C(path + " holds two-pattern tests (pattern " + std::to_string(p + 1) +
                     " is an Init-Pattern); only single-pattern stuck-at files can be compacted"));
    }
  }
}

pattern_bits_t bits_of(const pattern_set_t& file, const std::string& path) {
  pattern_bits_t bits(static_cast<int>(file.input_names.size()), static_cast<int>(file.patterns.size()));
  for (size_t p = 0; p < file.patterns.size(); p++) {
    const std::string& in = file.patterns[p].inputs;
    for (size_t i = 0; i < in.size(); i++) {
      if (in[i] == 'X') error(string_C(path + ": pattern " + std::to_string(p + 1) + " has an open input"));
      if (in[i] == '1') bits.set(static_cast<int>(i), static_cast<int>(p), true);
    }
  }
  return bits;
}

// The fault-free output values of every pattern, one string per pattern.
std::vector<std::string> good_outputs(const flat_circuit_t& net, const pattern_bits_t& patterns) {
  std::vector<std::string> out(patterns.count, std::string(net.outputs.size(), '0'));
  bit_simulator_C sim(net);
  for (int w = 0; w < patterns.words; w += bit_simulator_C::block_words) {
    sim.load(patterns, w);
    for (int p = w * 64; p < std::min(patterns.count, (w + sim.loaded_words()) * 64); p++) {
      const int k = p / 64 - w;
      for (size_t o = 0; o < net.outputs.size(); o++) {
        if (sim.good(net.outputs[o])[k] >> (p % 64) & 1) out[p][o] = '1';
      }
    }
  }
  return out;
}

int detected(const std::vector<int>& first) {
  int n = 0;
  for (int p : first) n += p >= 0;
  return n;
}

double percent(int part, int whole) {
  return whole == 0 ? 100 : 100.0 * part / whole;
}

int compact_command(const std::vector<std::string>& args) {
  const arguments_t a = parse(args);
  const std::clock_t start = std::clock();
  const fault_circuit_t circuit = load_fault_circuit(a.circuit);
  const pattern_set_t original = read_pattern_set(a.patterns);
  check_header(circuit, original, a.patterns);
  cube_set_t cubes(static_cast<int>(original.input_names.size()));
  for (const pattern_entry_t& p : original.patterns) cubes.add(p.inputs);
  const compaction_result_t result = compact(circuit, cubes, a.options);

  pattern_set_t written;
  written.input_names = original.input_names;
  written.output_names = original.output_names;
  written.comments.emplace_back(
      0, "* quarn-compact: " + std::to_string(result.compacted.count) + " patterns for the " +
             std::to_string(original.patterns.size()) + " of " + a.patterns +
             (a.options.classic ? " (reverse-order fault simulation" : " (test cubes merged") +
             ", open inputs filled pseudo-randomly, seed " + std::to_string(a.options.seed) + ")");
  for (const auto& comment : original.comments) {
    if (comment.first == 0) written.comments.push_back(comment);
  }
  const std::vector<std::string> outputs = good_outputs(circuit.net, result.compacted);
  for (int p = 0; p < result.compacted.count; p++) {
    pattern_entry_t entry;
    for (int i = 0; i < result.compacted.inputs; i++) entry.inputs += result.compacted.get(i, p) ? '1' : '0';
    entry.outputs = outputs[p];
    entry.rest = original.patterns[result.origin[p]].rest;
    written.patterns.push_back(std::move(entry));
  }
  write_pattern_set(a.output, written);

  // What the written file detects, read back from the disk.
  const pattern_set_t back = read_pattern_set(a.output);
  const pattern_bits_t back_bits = bits_of(back, a.output);
  const std::vector<std::string> back_outputs = good_outputs(circuit.net, back_bits);
  for (size_t p = 0; p < back.patterns.size(); p++) {
    if (back.patterns[p].outputs != back_outputs[p]) {
      error(string_C(a.output + ": pattern " + std::to_string(p + 1) + " expects other output values"));
    }
  }
  const std::vector<int> after = first_detections(circuit.net, circuit.classes, back_bits);
  for (size_t f = 0; f < after.size(); f++) {
    if (result.original_first[f] >= 0 && after[f] < 0) {
      error(string_C(a.output + " misses " + circuit.fault_name(circuit.classes[f]) +
                     ", which the original patterns detect"));
    }
  }
  const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;

  const int classes = static_cast<int>(circuit.classes.size());
  const int before_count = detected(result.original_first), after_count = detected(after);
  std::cout << std::setprecision(6);
  std::cout << "circuit              " << a.circuit << " (" << classes << " collapsed stuck-at classes)\n"
            << "patterns before      " << original.patterns.size() << "  (" << a.patterns << ")\n"
            << "patterns after       " << back.patterns.size() << "  (" << a.output << ")\n"
            << "coverage before      " << percent(before_count, classes) << " %  (" << before_count
            << " classes, open inputs filled pseudo-randomly, seed " << a.options.seed << ")\n"
            << "coverage after       " << percent(after_count, classes) << " %  (" << after_count
            << " classes, checked by simulating the written file)\n"
            << "reverse order alone  " << result.classic_patterns << " patterns\n";
  if (!a.options.classic) {
    std::cout << "candidates           " << result.candidates << " (merged test cubes, "
              << result.brought_back << " original patterns brought back)\n";
  }
  std::cout << "CPU time             " << std::fixed << std::setprecision(2) << seconds << " s\n";

  if (!a.curve.empty()) {
    const std::vector<int> original_first = result.original_first;
    const std::string stem = circuit_stem(a.circuit);
    write_coverage_chart(a.curve, "Stuck-at fault coverage of " + stem.substr(stem.find_last_of('/') + 1),
                         {{"original (" + std::to_string(original.patterns.size()) + " patterns)",
                           coverage_curve(original_first, result.original.count, classes)},
                          {"compacted (" + std::to_string(back.patterns.size()) + " patterns)",
                           coverage_curve(after, back_bits.count, classes)}},
                         a.log_curve);
    std::cout << "chart                " << a.curve << "\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  return run_command(argc, argv, usage, compact_command);
}
