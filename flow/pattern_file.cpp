#include "flow/pattern_file.h"

#include <fstream>
#include <sstream>

#include "base/messages.h"

namespace {

[[noreturn]] void malformed(const std::string& path, int line_number, const std::string& what) {
  error(string_C(path + ", line " + std::to_string(line_number) + ": " + what));
}

// The names behind a header keyword ("* Input_lines: a b c").
std::vector<std::string> header_names(const std::string& line, const char* keyword) {
  std::istringstream words(line);
  std::string star, key;
  words >> star >> key;
  if (star != "*" || key != keyword) return {};
  std::vector<std::string> names;
  for (std::string name; words >> name;) names.push_back(name);
  return names;
}

bool only_values(const std::string& word) {
  return word.find_first_not_of("01X") == std::string::npos;
}

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

pattern_set_t read_pattern_set(const std::string& path) {
  std::ifstream in(path);
  if (!in) error(string_C("cannot read the pattern file " + path));
  pattern_set_t file;
  std::string line;
  int number = 0;
  auto header = [&](const char* keyword, std::vector<std::string>& names) {
    number++;
    if (!std::getline(in, line) || (names = header_names(line, keyword)).empty()) {
      malformed(path, number, std::string("expected \"* ") + keyword + " <names>\"");
    }
  };
  header("Input_lines:", file.input_names);
  header("Output_lines:", file.output_names);
  while (std::getline(in, line)) {
    number++;
    const std::string text = trimmed(line);
    if (text.empty()) continue;
    if (text[0] == '*') {
      file.comments.emplace_back(file.patterns.size(), text);
      continue;
    }
    std::istringstream words(text);
    pattern_entry_t pattern;
    pattern.line_number = number;
    std::string star;
    words >> pattern.inputs >> pattern.outputs >> star;
    if (pattern.inputs.size() != file.input_names.size() || !only_values(pattern.inputs)) {
      malformed(path, number,
                "expected " + std::to_string(file.input_names.size()) + " input values of 0, 1, X");
    }
    if (pattern.outputs.size() != file.output_names.size() || !only_values(pattern.outputs)) {
      malformed(path, number,
                "expected " + std::to_string(file.output_names.size()) + " output values of 0, 1, X");
    }
    if (star != "*") malformed(path, number, "expected \"*\" behind the output values");
    std::getline(words, pattern.rest);
    pattern.rest = trimmed(pattern.rest);
    const std::string init_mark = "Init-Pattern";
    pattern.init =
        pattern.rest.size() >= init_mark.size() &&
        pattern.rest.compare(pattern.rest.size() - init_mark.size(), init_mark.size(), init_mark) == 0;
    file.patterns.push_back(std::move(pattern));
  }
  return file;
}

void write_pattern_set(const std::string& path, const pattern_set_t& file) {
  std::ofstream out(path);
  if (!out) error(string_C("cannot write the pattern file " + path));
  out << "* Input_lines: ";
  for (const std::string& name : file.input_names) out << name << " ";
  out << "\n* Output_lines: ";
  for (const std::string& name : file.output_names) out << name << " ";
  out << "\n";
  size_t comment = 0;
  for (size_t i = 0; i <= file.patterns.size(); i++) {
    while (comment < file.comments.size() && file.comments[comment].first == i) {
      out << file.comments[comment++].second << "\n";
    }
    if (i == file.patterns.size()) break;
    const pattern_entry_t& p = file.patterns[i];
    out << p.inputs << "   " << p.outputs << " * " << p.rest << "\n";
  }
  if (!out) error(string_C("cannot write the pattern file " + path));
}
