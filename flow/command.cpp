#include "flow/command.h"

#include <cstdlib>
#include <iostream>

#include "app/large_stack.h"
#include "app/run.h"
#include "base/messages.h"
#include "base/string_c.h"
#include "input/bench_parser.h"

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

bool argument_reader_C::next() {
  if (started_) at_++;
  started_ = true;
  if (at_ < args_.size() && !options_ended_ && args_[at_] == "--") {
    options_ended_ = true;
    at_++;
  }
  return at_ < args_.size();
}

const std::string& argument_reader_C::value() {
  if (at_ + 1 >= args_.size()) throw usage_error_t{word() + " needs a value"};
  return args_[++at_];
}

long argument_reader_C::number(long least, long most) {
  const std::string option = word();
  const std::string& text = value();
  char* end = nullptr;
  const long n = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || n < least || n > most) {
    throw usage_error_t{option + " needs a number from " + std::to_string(least) + " to " +
                        std::to_string(most) + ", not \"" + text + "\""};
  }
  return n;
}

std::string circuit_stem(const std::string& circuit_file) {
  if (is_bench_file(circuit_file))
    return circuit_file.substr(0, circuit_file.size() - std::string(".bench").size());
  return string_C(circuit_file).basename();
}
