#include "support/flow_tools.h"

#include <unistd.h>

#include <cstdlib>

#include "support/child.h"

bool program_installed(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path == nullptr ? "" : path;
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    if (access((dirs.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

namespace {

quarn_run_t run_merged(const std::string& binary, const std::vector<std::string>& arguments, bool search) {
  std::vector<const char*> argv{binary.c_str()};
  for (const std::string& a : arguments) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  return run_in_child([&] {
    dup2(STDOUT_FILENO, STDERR_FILENO);
    if (search) {
      execvp(argv[0], const_cast<char* const*>(argv.data()));
    } else {
      execv(argv[0], const_cast<char* const*>(argv.data()));
    }
    std::_Exit(127);
  });
}

}  // namespace

quarn_run_t run_command_with_errors(const std::string& command, const std::vector<std::string>& arguments) {
  return run_merged(std::string(QUARN_COMMAND_DIR) + "/" + command, arguments, false);
}

quarn_run_t run_tool(const std::vector<std::string>& arguments) {
  return run_merged(arguments.at(0), std::vector<std::string>(arguments.begin() + 1, arguments.end()), true);
}
