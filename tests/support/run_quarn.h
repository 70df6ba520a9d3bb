// Runs the built quarn program in the present (temporary) directory.
#pragma once

#include <string>
#include <vector>

struct quarn_run_t {
  int exit_status;  // -1 when it did not exit normally
  std::string output;
};

quarn_run_t run_quarn(const std::vector<std::string>& arguments);

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& text);
bool file_exists(const std::string& path);
