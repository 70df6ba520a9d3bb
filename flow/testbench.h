// A Verilog testbench that replays a pattern file on the module of
// verilog_module.h: every pattern line (init patterns too) is one
// combinational evaluation, and every output the file expects as 0 or 1 is
// compared.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "flow/pattern_file.h"

// What the testbench drives where the pattern file leaves an input open.
enum class x_fill_t { zero, one, random };

struct testbench_options_t {
  std::string module_name;   // the module under test, as passed to write_verilog_module
  std::string pattern_file;  // for the messages: the file the patterns came from
  x_fill_t fill = x_fill_t::zero;
  uint32_t seed = 1;  // of the random filling
};

// The pattern line's input values with every X replaced by the filling
// (the random filling draws from one generator for the whole file).
std::string filled_inputs(const std::string& inputs, x_fill_t fill, uint64_t& random_state);

// Writes the testbench. It prints one line per mismatch
//   MISMATCH pattern <n> (line <l>): output <name> expected <v> got <v>
// and at the end "PASS: <n> patterns, 0 mismatches", or
// "FAIL: <n> patterns, <m> mismatches" followed by $fatal, which makes the
// simulator's exit status non-zero.
void write_testbench(std::ostream& out, const pattern_set_t& patterns, const testbench_options_t& options);
