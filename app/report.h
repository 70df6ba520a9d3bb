// The result report of a run: redundant and aborted faults, counts, fault
// coverage, test-generation efficiency and CPU times.
#pragma once

#include <ostream>

class run_C;

// Writes the report to the statistics file, the redundancy file, the run log
// "statistik" and standard output.
void print_result(run_C& run);

// A CPU time as hours, minutes, seconds and milliseconds.
void write_cpu_time(std::ostream& out, unsigned long ms);
