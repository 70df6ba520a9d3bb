#include "support/run_quarn.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

quarn_run_t run_binary(const std::string& binary, const std::vector<std::string>& arguments) {
  std::vector<const char*> argv{binary.c_str()};
  for (const std::string& a : arguments) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  return run_in_child([&] {
    execv(argv[0], const_cast<char* const*>(argv.data()));
    std::_Exit(127);
  });
}

}  // namespace

quarn_run_t run_quarn(const std::vector<std::string>& arguments) {
  return run_binary(QUARN_BINARY, arguments);
}

quarn_run_t run_command(const std::string& command, const std::vector<std::string>& arguments) {
  return run_binary(std::string(QUARN_COMMAND_DIR) + "/" + command, arguments);
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
