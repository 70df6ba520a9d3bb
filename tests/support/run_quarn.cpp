#include "support/run_quarn.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

quarn_run_t run_quarn(const std::vector<std::string>& arguments) {
  std::vector<const char*> argv{QUARN_BINARY};
  for (const std::string& a : arguments) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  return run_in_child([&] {
    execv(argv[0], const_cast<char* const*>(argv.data()));
    std::_Exit(127);
  });
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void write_file(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

bool file_exists(const std::string& path) {
  return std::filesystem::exists(path);
}
