// Fatal errors caught in the test process: the error a step ends with, and
// what the top of the run prints and writes for it.
#pragma once

#include <functional>
#include <string>

#include "base/messages.h"

struct fatal_result_t {
  bool fatal;          // the step ended with a fatal error
  std::string output;  // what the step printed, then the report of the error
};

// Runs the step; a fatal error is reported as the program does for the
// current run (support/circuit_text.h): message, statistics file, dump.
fatal_result_t run_to_fatal_error(const std::function<void()>& step);

// The statement ends the run with a fatal error whose message starts with
// the expected text.
#define EXPECT_FATAL(statement, expected)                                                                    \
  do {                                                                                                       \
    try {                                                                                                    \
      statement;                                                                                             \
      ADD_FAILURE() << "no fatal error from " #statement;                                                    \
    } catch (const fatal_error_C& fatal_error_) {                                                            \
      EXPECT_EQ(fatal_error_.message().str().rfind(std::string(expected), 0), 0u) << fatal_error_.message(); \
    }                                                                                                        \
  } while (0)
