#include "support/output_files.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "support/run_quarn.h"

std::vector<std::string> text_lines(const std::string& text) {
  EXPECT_TRUE(text.empty() || text.back() == '\n') << "last line without newline";
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

pattern_file_t read_pattern_file(const std::string& path) {
  pattern_file_t file;
  const std::vector<std::string> lines = text_lines(read_file(path));
  for (size_t i : {0, 1}) {
    // Every name of the header is followed by one blank.
    const std::string title = i == 0 ? "* Input_lines: " : "* Output_lines: ";
    if (lines.size() <= i || !lines[i].starts_with(title) || !lines[i].ends_with(" ")) {
      ADD_FAILURE() << path << ": no header line " << i + 1;
      return file;
    }
    std::istringstream names(lines[i].substr(title.size()));
    for (std::string name; names >> name;) (i == 0 ? file.inputs : file.outputs).push_back(name);
  }
  std::smatch m;
  static const std::regex pattern("([01X]+)   ([01X]+) \\* (\\S+)  [0-9]+ Backtracks");
  for (size_t i = 2; i < lines.size(); i++) {
    if (lines[i].starts_with("*")) continue;
    if (!std::regex_match(lines[i], m, pattern) || m[1].length() != long(file.inputs.size()) ||
        m[2].length() != long(file.outputs.size())) {
      ADD_FAILURE() << path << ": not a pattern line: \"" << lines[i] << "\"";
      continue;
    }
    file.patterns.push_back({m[1], m[2], m[3]});
  }
  return file;
}

std::vector<std::vector<named_fault_t>> read_test_log(const std::string& path) {
  std::vector<std::vector<named_fault_t>> log;
  static const std::regex entry("s-a-([01]): ([^ ,]+), ");
  for (const std::string& line : text_lines(read_file(path))) {
    log.emplace_back();
    long covered = 0;  // the entries must follow each other to the end of the line
    for (std::sregex_iterator it(line.begin(), line.end(), entry), end; it != end; ++it) {
      if (it->position() != covered) break;
      covered += it->length();
      log.back().push_back({(*it)[2], (*it)[1] == "1"});
    }
    EXPECT_EQ(covered, long(line.size())) << path << ": not a log line: \"" << line << "\"";
  }
  return log;
}

std::vector<named_fault_t> read_redundant_file(const std::string& path) {
  std::vector<named_fault_t> faults;
  static const std::regex entry("s-a-([01]) (\\S+)");
  for (const std::string& line : text_lines(read_file(path))) {
    std::smatch m;
    if (std::regex_match(line, m, entry)) {
      faults.push_back({m[2], m[1] == "1"});
    } else {
      ADD_FAILURE() << path << ": not a redundant fault: \"" << line << "\"";
    }
  }
  return faults;
}

long last_figure(const std::string& text, const std::string& label) {
  const size_t at = text.rfind(label);
  return at == std::string::npos ? -1 : std::stol(text.substr(at + label.size()));
}

pattern_records_t read_pattern_records(const std::string& path) {
  pattern_records_t file;
  const std::vector<std::string> lines = text_lines(read_file(path));
  if (lines.size() < 2) {
    ADD_FAILURE() << path << ": no header";
    return file;
  }
  for (size_t i : {0, 1}) {
    std::istringstream names(lines[i].substr(lines[i].find(':') + 1));
    for (std::string name; names >> name;) (i == 0 ? file.inputs : file.outputs).push_back(name);
  }
  static const std::regex pattern(
      "([01X]*)   ([01X]*) \\* (\\S+)  (Init-Pattern|[0-9]+ Backtracks(  Delay\\(units\\): ([0-9]+))?)");
  bool robust = true;
  for (size_t i = 2; i < lines.size(); i++) {
    if (lines[i] == "* Non Robust Pattern:") {
      robust = false;
      continue;
    }
    std::smatch m;
    if (!std::regex_match(lines[i], m, pattern) || m[1].length() != long(file.inputs.size()) ||
        m[2].length() != long(file.outputs.size())) {
      ADD_FAILURE() << path << ": not a pattern line: \"" << lines[i] << "\"";
      continue;
    }
    file.lines.push_back(
        {m[1], m[2], m[3], m[4] == "Init-Pattern", robust, m[6].matched ? std::stoi(m[6]) : -1});
  }
  return file;
}

std::vector<std::vector<logged_t>> read_tagged_log(const std::string& path) {
  std::vector<std::vector<logged_t>> log;
  static const std::regex entry("(s-a-[01]|rising|falling|I-s-on-[01]): ([^ ,]+), ");
  for (const std::string& line : text_lines(read_file(path))) {
    log.emplace_back();
    long covered = 0;
    for (std::sregex_iterator it(line.begin(), line.end(), entry), end; it != end; ++it) {
      if (it->position() != covered) break;
      covered += it->length();
      log.back().push_back({(*it)[1], (*it)[2]});
    }
    EXPECT_EQ(covered, long(line.size())) << path << ": not a log line: \"" << line << "\"";
  }
  return log;
}

std::vector<std::string> stat_section(const std::string& stat, const std::string& title) {
  std::vector<std::string> names;
  const size_t at = stat.rfind(title);
  if (at == std::string::npos) return names;
  std::istringstream rest(stat.substr(at + title.size()));
  for (std::string line; std::getline(rest, line) && !line.empty() && line != "none";) names.push_back(line);
  return names;
}
