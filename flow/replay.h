// Replaying a pattern file on a circuit in a Verilog simulator: the circuit
// read as quarn reads it, its pattern file checked against it, and Icarus
// Verilog run on the module and testbench written from them.
#pragma once

#include <memory>
#include <string>

#include "flow/pattern_file.h"

class run_C;

// The circuit file read, transformed (flip-flops cut) and checked, as a run
// of quarn does before its search.
std::unique_ptr<run_C> load_transformed_circuit(const std::string& path);

// Ends through error() unless the pattern file's header names the circuit's
// inputs and outputs, in the circuit's order.
void check_pattern_header(const run_C& run, const pattern_set_t& patterns, const std::string& pattern_path);

struct replay_t {
  bool passed;         // the simulation ran and printed its PASS line
  std::string output;  // what the compiler and the simulation printed
};

// Compiles the testbench and module with iverilog and runs vvp, in a
// private temporary directory. Programs missing from PATH and compile errors
// end through error().
replay_t replay_with_icarus(const std::string& testbench, const std::string& module);
