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

// Walks a command's arguments: options (words that start with "-") with the
// value an option takes, and operands; after "--" every word is an operand.
class argument_reader_C {
 public:
  explicit argument_reader_C(const std::vector<std::string>& args) : args_(args) {}

  // Steps to the next argument; false after the last. "--" is taken here.
  bool next();
  const std::string& word() const { return args_[at_]; }
  bool is_option() const { return !options_ended_ && word().size() > 1 && word()[0] == '-'; }
  // The value behind the present option; a usage error when it has none.
  const std::string& value();
  // The value as a whole number from least to most; else a usage error that
  // names the option and the range.
  long number(long least, long most);
  [[noreturn]] void unknown_option() const { throw usage_error_t{"unknown option " + word()}; }

 private:
  const std::vector<std::string>& args_;
  size_t at_ = 0;
  bool started_ = false;
  bool options_ended_ = false;
};

// The stem quarn names a run's files by: a ".bench" netlist without
// ".bench", any other circuit file up to the first dot of its name.
std::string circuit_stem(const std::string& circuit_file);

// Runs body on the arguments after the command name (on a large stack, as
// quarn runs); body returns the exit status.
int run_command(int argc, char* argv[], const char* usage,
                const std::function<int(const std::vector<std::string>&)>& body);
