#include "flow/testbench.h"

#include "flow/verilog_names.h"

namespace {

const char* fill_text(x_fill_t fill) {
  switch (fill) {
    case x_fill_t::zero:
      return "0";
    case x_fill_t::one:
      return "1";
    default:
      return "random values";
  }
}

// splitmix64: a fixed generator, so that a seed gives the same testbench on
// every platform.
uint64_t next_random(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::string comment_text(const std::string& text) {
  std::string clean;
  for (unsigned char c : text) clean += c >= 32 && c <= 126 ? static_cast<char>(c) : '?';
  return clean;
}

// A 0/1/X string as a Verilog literal whose first character is bit [0] of a
// [0:n-1] vector.
std::string literal(const std::string& values) {
  std::string text = std::to_string(values.size()) + "'b";
  for (char c : values) text += c == 'X' ? 'x' : c;
  return text;
}

}  // namespace

std::string filled_inputs(const std::string& inputs, x_fill_t fill, uint64_t& random_state) {
  std::string filled = inputs;
  for (char& c : filled) {
    if (c != 'X') continue;
    if (fill == x_fill_t::random) {
      c = (next_random(random_state) >> 63) != 0 ? '1' : '0';
    } else {
      c = fill == x_fill_t::one ? '1' : '0';
    }
  }
  return filled;
}

void write_testbench(std::ostream& out, const pattern_set_t& patterns, const testbench_options_t& options) {
  const size_t n_in = patterns.input_names.size();
  const size_t n_out = patterns.output_names.size();
  verilog_namer_t modules;
  const std::string dut = modules.unique(options.module_name);
  const std::string bench = modules.unique(options.module_name + "_tb");
  const std::string count = std::to_string(patterns.patterns.size());

  out << "// Replays the " << count << " pattern lines of " << comment_text(options.pattern_file)
      << " on module " << comment_text(options.module_name) << ":\n"
      << "// each line is one combinational evaluation; every output the file expects\n"
      << "// as 0 or 1 is compared, X expectations are not.\n"
      << "// Inputs the file leaves open (X) are driven as " << fill_text(options.fill);
  if (options.fill == x_fill_t::random) out << " (seed " << options.seed << ")";
  out << ".\n"
      << "// Prints MISMATCH lines, then \"PASS: <n> patterns, 0 mismatches\" or\n"
      << "// \"FAIL: <n> patterns, <m> mismatches\" and stops through $fatal.\n"
      << "`timescale 1ns / 1ns\n"
      << "module " << bench << ";\n"
      << "  reg [0:" << n_in - 1 << "] in;\n"
      << "  wire [0:" << n_out - 1 << "] out;\n"
      << "  integer mismatches;\n"
      << "  integer k;\n\n"
      << "  " << dut << " dut (";
  for (size_t i = 0; i < n_in; i++) out << (i % 8 == 0 ? "\n    " : " ") << "in[" << i << "],";
  for (size_t i = 0; i < n_out; i++) {
    out << (i % 8 == 0 ? "\n    " : " ") << "out[" << i << "]" << (i + 1 < n_out ? "," : "");
  }
  out << "\n  );\n\n"
      << "  task mismatch(input integer pattern, input integer line, input integer position, input "
         "expected,\n"
      << "                input got);\n"
      << "    begin\n"
      << "      mismatches = mismatches + 1;\n"
      << "      case (position)\n";
  for (size_t i = 0; i < n_out; i++) {
    out << "        " << i
        << ": $display(\"MISMATCH pattern %0d (line %0d): output %0s expected %b got %b\", "
        << "pattern, line, " << verilog_string(patterns.output_names[i]) << ", expected, got);\n";
  }
  out << "      endcase\n"
      << "    end\n"
      << "  endtask\n\n"
      << "  task check(input integer pattern, input integer line, input [0:" << n_in - 1 << "] values,\n"
      << "             input [0:" << n_out - 1 << "] expected);\n"
      << "    begin\n"
      << "      in = values;\n"
      << "      #10;\n"
      << "      for (k = 0; k < " << n_out << "; k = k + 1)\n"
      << "        if (expected[k] !== 1'bx && out[k] !== expected[k]) mismatch(pattern, line, k, "
         "expected[k], out[k]);\n"
      << "    end\n"
      << "  endtask\n\n"
      << "  initial begin\n"
      << "    mismatches = 0;\n";
  uint64_t random_state = options.seed;
  size_t number = 0;
  for (const pattern_entry_t& p : patterns.patterns) {
    number++;
    out << "    check(" << number << ", " << p.line_number << ", "
        << literal(filled_inputs(p.inputs, options.fill, random_state)) << ", " << literal(p.outputs)
        << ");\n";
  }
  out << "    if (mismatches == 0) begin\n"
      << "      $display(\"PASS: %0d patterns, 0 mismatches\", " << count << ");\n"
      << "      $finish;\n"
      << "    end\n"
      << "    $display(\"FAIL: %0d patterns, %0d mismatches\", " << count << ", mismatches);\n"
      << "    $fatal(1, \"the outputs differ from the pattern file\");\n"
      << "  end\n"
      << "endmodule\n";
}
