// What the tests of the Verilog flow share: the external programs they need,
// and companion commands run with their error output captured too.
#pragma once

#include <string>
#include <vector>

#include "support/run_quarn.h"

// Skips the test where the program is not installed (CI installs it).
#define SKIP_WITHOUT(program)                                                      \
  do {                                                                             \
    if (!program_installed(program)) GTEST_SKIP() << program << " is not on PATH"; \
  } while (0)

bool program_installed(const std::string& program);

// A companion command, its standard error in its output behind its
// standard output.
quarn_run_t run_command_with_errors(const std::string& command, const std::vector<std::string>& arguments);

// The program's exit status and everything it printed.
quarn_run_t run_tool(const std::vector<std::string>& arguments);
