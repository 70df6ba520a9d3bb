#include "support/output_files.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "support/run_quarn.h"

namespace {

std::vector<std::string> names_after(const std::string& line, const std::string& title) {
  std::vector<std::string> names;
  if (line.rfind(title, 0) != 0) {
    ADD_FAILURE() << "expected a line starting with \"" << title << "\", got \"" << line << "\"";
    return names;
  }
  // Every name is followed by one blank.
  const std::string rest = line.substr(title.size());
  EXPECT_TRUE(rest.empty() || rest.back() == ' ') << line;
  std::istringstream in(rest);
  for (std::string name; in >> name;) names.push_back(name);
  return names;
}

}  // namespace

std::vector<std::string> text_lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line without newline: \"" << text.substr(start) << "\"";
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

pattern_file_t read_pattern_file(const std::string& path) {
  pattern_file_t file;
  const std::vector<std::string> lines = text_lines(read_file(path));
  if (lines.size() < 2) {
    ADD_FAILURE() << path << " has no header";
    return file;
  }
  file.inputs = names_after(lines[0], "* Input_lines: ");
  file.outputs = names_after(lines[1], "* Output_lines: ");
  static const std::regex pattern("([01X]+)   ([01X]+) \\* (\\S+)  ([0-9]+) Backtracks");
  for (size_t i = 2; i < lines.size(); i++) {
    if (lines[i].rfind("*", 0) == 0) continue;
    std::smatch m;
    if (!std::regex_match(lines[i], m, pattern)) {
      ADD_FAILURE() << path << ": not a pattern line: \"" << lines[i] << "\"";
      continue;
    }
    pattern_line_t p{m[1], m[2], m[3], std::stoi(m[4])};
    EXPECT_EQ(p.inputs.size(), file.inputs.size()) << lines[i];
    EXPECT_EQ(p.outputs.size(), file.outputs.size()) << lines[i];
    file.patterns.push_back(p);
  }
  return file;
}

std::vector<std::vector<named_fault_t>> read_test_log(const std::string& path) {
  std::vector<std::vector<named_fault_t>> log;
  static const std::regex entry("s-a-([01]): ([^ ,]+), ");
  for (const std::string& line : text_lines(read_file(path))) {
    std::vector<named_fault_t> faults;
    auto from = line.cbegin();
    std::smatch m;
    while (from != line.cend()) {
      if (!std::regex_search(from, line.cend(), m, entry, std::regex_constants::match_continuous)) {
        ADD_FAILURE() << path << ": not a log entry: \"" << std::string(from, line.cend()) << "\"";
        break;
      }
      faults.push_back({m[2], m[1] == "1"});
      from = m[0].second;
    }
    log.push_back(faults);
  }
  return log;
}

std::vector<named_fault_t> read_redundant_file(const std::string& path) {
  std::vector<named_fault_t> faults;
  static const std::regex entry("s-a-([01]) (\\S+)");
  for (const std::string& line : text_lines(read_file(path))) {
    std::smatch m;
    if (!std::regex_match(line, m, entry)) {
      ADD_FAILURE() << path << ": not a redundant fault: \"" << line << "\"";
      continue;
    }
    faults.push_back({m[2], m[1] == "1"});
  }
  return faults;
}

long last_figure(const std::string& text, const std::string& label) {
  const size_t at = text.rfind(label);
  if (at == std::string::npos) return -1;
  return std::stol(text.substr(at + label.size()));
}
