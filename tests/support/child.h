// Runs a piece of work (the built program, for one) in a child process and
// captures what it printed and how it ended.
#pragma once

#include <functional>
#include <string>

struct child_result_t {
  int exit_status;  // -1 when the child did not exit normally
  std::string output;
};

child_result_t run_in_child(const std::function<void()>& work);
