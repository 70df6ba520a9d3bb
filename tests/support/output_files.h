// Readers for the files a run writes. They are strict about the layout, so
// every test that reads a file also checks its format: a line that does not
// fit is a test failure.
#pragma once

#include <compare>
#include <string>
#include <vector>

struct pattern_line_t {
  std::string inputs;   // one character per primary input: 0, 1 or X
  std::string outputs;  // one character per primary output
  std::string target;
};

struct pattern_file_t {
  std::vector<std::string> inputs, outputs;  // the names of the header
  std::vector<pattern_line_t> patterns;      // comment lines left out
};

// A stuck-at fault as the log and the redundancy file name it.
struct named_fault_t {
  std::string name;
  bool stuck_at_one;
  auto operator<=>(const named_fault_t&) const = default;
};

// Every pattern line of a pattern file, initialisation patterns included, in
// file order.
struct pattern_record_t {
  std::string inputs, outputs, target;
  bool init;    // "Init-Pattern"
  bool robust;  // written before the "* Non Robust Pattern:" line
  int delay;    // the path-delay "Delay(units)", else -1
};
struct pattern_records_t {
  std::vector<std::string> inputs, outputs;
  std::vector<pattern_record_t> lines;
};
pattern_records_t read_pattern_records(const std::string& path);

// A detection of the test log with its tag: "s-a-0", "s-a-1", "rising",
// "falling", "I-s-on-0", "I-s-on-1".
struct logged_t {
  std::string tag, name;
};
// The detections of every line of a ".tests" log.
std::vector<std::vector<logged_t>> read_tagged_log(const std::string& path);

// The names under a section title of the statistics file, up to the next
// blank line ("none" gives no names); the last report's section.
std::vector<std::string> stat_section(const std::string& stat, const std::string& title);

// The lines of a text that ends every line with "\n".
std::vector<std::string> text_lines(const std::string& text);

pattern_file_t read_pattern_file(const std::string& path);
// The faults of every line of a ".tests" log, one entry per pattern.
std::vector<std::vector<named_fault_t>> read_test_log(const std::string& path);
// The lines of a ".red" file.
std::vector<named_fault_t> read_redundant_file(const std::string& path);

// The number after the last occurrence of label; -1 when it is absent.
long last_figure(const std::string& text, const std::string& label);
