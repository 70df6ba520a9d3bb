#include "support/child.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "support/run_quarn.h"

child_result_t run_in_child(const std::function<void()>& work) {
  char path[] = "child_output_XXXXXX";
  int fd = mkstemp(path);
  std::cout.flush();
  std::fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fd, STDOUT_FILENO);
    work();
    std::cout.flush();
    std::_Exit(0);
  }
  close(fd);
  int status = 0;
  waitpid(pid, &status, 0);
  child_result_t result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(path)};
  std::remove(path);
  return result;
}
