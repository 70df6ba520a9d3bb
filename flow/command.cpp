#include "flow/command.h"

#include <iostream>

#include "app/large_stack.h"
#include "app/run.h"
#include "base/messages.h"

int run_command(int argc, char* argv[], const char* usage,
                const std::function<int(const std::vector<std::string>&)>& body) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::cout << usage;
      return 0;
    }
  }
  int status = 0;
  run_on_large_stack([&] {
    try {
      status = body(args);
    } catch (const usage_error_t& bad) {
      if (!bad.reason.empty()) std::cerr << bad.reason << "\n";
      std::cerr << usage;
      status = usage_exit_status;
    } catch (const fatal_error_C& e) {
      std::cerr << "ERROR: " << e.message().text() << "\n";
      status = 1;
    } catch (const run_ended_t& end) {
      status = end.exit_status;
    }
  });
  return status;
}
