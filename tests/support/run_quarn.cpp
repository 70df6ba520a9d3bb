#include "support/run_quarn.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/paths.h"

quarn_run_t run_quarn(const std::vector<std::string>& arguments) {
  std::string binary = quarn_binary();
  std::vector<char*> argv;
  argv.push_back(binary.data());
  std::vector<std::string> copies = arguments;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  const char* capture = "quarn_stdout.txt";
  pid_t pid = fork();
  if (pid == 0) {
    int fd = open(capture, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, STDOUT_FILENO);
    execv(binary.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  quarn_run_t result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(capture)};
  std::remove(capture);
  return result;
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
