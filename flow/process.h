// Running the other programs of a Verilog flow (the simulator, the
// synthesis tool) without a shell: the argument vector goes straight to
// posix_spawnp, so no name from a file or a command line is ever read as
// shell syntax.
#pragma once

#include <string>
#include <vector>

struct program_run_t {
  int exit_status;     // -1 when the program ended through a signal
  std::string output;  // standard output and standard error together
};

// Runs arguments[0], looked up on PATH, with standard input from /dev/null.
// A program that cannot be started ends the run through error().
program_run_t run_program(const std::vector<std::string>& arguments);

// Whether an executable of that name is on PATH.
bool on_path(const std::string& program);

// A file name that a program cannot mistake for an option.
std::string as_operand(const std::string& path);

// A directory only this user can enter, removed with its contents at the
// end of its scope.
class private_directory_t {
 public:
  private_directory_t();
  ~private_directory_t();
  private_directory_t(const private_directory_t&) = delete;
  private_directory_t& operator=(const private_directory_t&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};
