// The published figures of the benchmark circuits the tests keep, read from the
// table that comes with them.
#pragma once

#include <string>

struct published_figures_t {
  int lines;      // signals after fanout expansion
  int inputs;     // including pseudo inputs
  int outputs;    // including pseudo outputs
  int collapsed;  // equivalence-collapsed stuck-at faults
  int redundant;  // collapsed faults without a test
};

// Throws when the circuit is not in the table.
published_figures_t published_figures(const std::string& circuit);
