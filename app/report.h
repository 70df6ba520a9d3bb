// The result report of a run: redundant and aborted faults, counts, fault
// coverage, test-generation efficiency and CPU times.
#pragma once

#include <ostream>

// CPU times of test generation, fault simulation and the rest, in ms.
extern unsigned long cpu_tpg_l;
extern unsigned long cpu_fs_l;
extern unsigned long cpu_sons_l;

// Writes the report to the statistics file, the redundancy file, the run log
// "statistik" and standard output.
void print_result();

// A CPU time as hours, minutes, seconds and milliseconds.
void write_cpu_time(std::ostream& out, unsigned long ms);
