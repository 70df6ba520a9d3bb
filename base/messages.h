// Reporting trouble: warnings let the run go on, errors end it.
#pragma once

#include <exception>
#include <string>

#include "base/string_c.h"

struct settings_C;

// The fatal error of a run, carrying its message. The top of the run catches
// it, reports it and writes the debug dump.
class fatal_error_C : public std::exception {
 public:
  explicit fatal_error_C(string_C message) : message_(std::move(message)) {}
  const string_C& message() const { return message_; }
  const char* what() const noexcept override { return message_.text(); }

 private:
  string_C message_;
};

// A run that ends early without an error of its own (the usage text, a
// circuit the system cannot handle), with the exit status it ends with.
struct run_ended_t {
  int exit_status;
};

// Ends the run with a fatal error.
[[noreturn]] void error(const string_C& message);
// A capacity message that names the limit.
string_C with_limit(const char* message, long limit);

// Non-fatal messages: on standard output and in the statistics file of the
// run, the first one behind a "WARNING:" prefix.
class messages_C {
 public:
  explicit messages_C(const settings_C& settings) : settings_(settings) {}

  void warning(const string_C& message);

 private:
  const settings_C& settings_;
  bool first_call_b = true;
};
