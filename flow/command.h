// What every companion command shares with quarn: "--help" prints its usage
// text and ends with status 0, bad arguments print it and end with status 2,
// a fatal error prints its message and ends with status 1.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Thrown by a command's body for arguments it cannot use.
struct usage_error_t {
  std::string reason;
};

// Runs body on the arguments after the command name (on a large stack, as
// quarn runs); body returns the exit status.
int run_command(int argc, char* argv[], const char* usage,
                const std::function<int(const std::vector<std::string>&)>& body);
