// A pattern file as the companion commands see it: the header's input and
// output names, then one record per pattern line with its input values, its
// expected output values and the rest of the line (the target and its
// notes), comment lines kept in place.
#pragma once

#include <string>
#include <vector>

struct pattern_entry_t {
  std::string inputs;   // one of '0', '1', 'X' per header input
  std::string outputs;  // one of '0', '1', 'X' per header output
  std::string rest;     // what follows the "*" behind the outputs, trimmed
  bool init = false;    // the first pattern of a two-pattern test
  int line_number = 0;  // where the pattern stands in the file read, from 1
};

struct pattern_set_t {
  std::vector<std::string> input_names, output_names;
  std::vector<pattern_entry_t> patterns;
  // Comment lines after the header ("* Non Robust Pattern:"), each with the
  // number of patterns before it, so that writing keeps them in place.
  std::vector<std::pair<size_t, std::string>> comments;
};

// Reads the file; a malformed one ends the run through error() with a
// message naming the file's line.
pattern_set_t read_pattern_set(const std::string& path);
// Writes it in the layout quarn writes.
void write_pattern_set(const std::string& path, const pattern_set_t& file);
