// Reporting trouble: warnings let the run go on, errors end it.
#pragma once

#include "model/string_c.h"

// Records a non-fatal message on standard output and in the statistics file.
void warning(string_C message);
// Records a fatal message, writes the debug dump and ends the process with
// exit status 1.
[[noreturn]] void error(string_C message);
// Writes every gate and signal to the debug dump.
void print_all();
// A capacity message that names the limit.
string_C with_limit(const char* message, long limit);
