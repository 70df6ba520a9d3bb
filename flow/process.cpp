#include "flow/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/messages.h"

extern char** environ;

namespace {

[[noreturn]] void cannot(const std::string& what, int code) {
  error(string_C(what + ": " + std::strerror(code)));
}

}  // namespace

program_run_t run_program(const std::vector<std::string>& arguments) {
  if (arguments.empty()) error(string_C("no program to run"));
  const std::string& program = arguments[0];
  int pipe_ends[2];
  if (pipe2(pipe_ends, O_CLOEXEC) != 0) cannot("cannot run " + program, errno);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDERR_FILENO);
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  if (spawned != 0) {
    close(pipe_ends[0]);
    cannot("cannot run " + program, spawned);
  }
  program_run_t run{-1, ""};
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(pipe_ends[0], buffer, sizeof buffer);
    if (n > 0) {
      run.output.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(pipe_ends[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) cannot("cannot wait for " + program, errno);
  }
  if (WIFEXITED(status)) run.exit_status = WEXITSTATUS(status);
  return run;
}

bool on_path(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr || program.empty() || program.find('/') != std::string::npos) return false;
  std::string dirs = path;
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = end > start ? dirs.substr(start, end - start) : ".";
    const std::string candidate = dir + "/" + program;
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

std::string as_operand(const std::string& path) {
  return !path.empty() && path[0] == '-' ? "./" + path : path;
}

private_directory_t::private_directory_t() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quarn_flow_XXXXXX").string();
  // mkdtemp creates the directory with mode 0700.
  if (mkdtemp(pattern.data()) == nullptr) cannot("cannot make a temporary directory", errno);
  path_ = pattern;
}

private_directory_t::~private_directory_t() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}
