// Runs a piece of the system in a child process and captures what it printed
// and how it ended: fatal errors end the process.
#pragma once

#include <functional>
#include <string>

struct child_result_t {
  int exit_status;  // -1 when the child did not exit normally
  std::string output;
};

child_result_t run_in_child(const std::function<void()>& work);

// The child ended through the fatal error path with this message.
#define EXPECT_FATAL(statement, message)                                                           \
  do {                                                                                             \
    child_result_t fatal_result_ = run_in_child([&] { statement; });                               \
    EXPECT_EQ(fatal_result_.exit_status, 1) << fatal_result_.output;                               \
    EXPECT_NE(fatal_result_.output.find(std::string("ERROR!!!\n") + (message)), std::string::npos) \
        << fatal_result_.output;                                                                   \
  } while (0)
