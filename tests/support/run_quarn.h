// Runs the built quarn program in the present (temporary) directory.
#pragma once

#include <string>
#include <vector>

#include "support/child.h"

using quarn_run_t = child_result_t;

quarn_run_t run_quarn(const std::vector<std::string>& arguments);
// Runs a companion command built beside quarn ("quarn-compact", ...).
quarn_run_t run_command(const std::string& command, const std::vector<std::string>& arguments);

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& text);
bool file_exists(const std::string& path);
