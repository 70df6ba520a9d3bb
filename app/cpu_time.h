// CPU-time accounting: user CPU time of the process in milliseconds.
#pragma once

struct process_times_t {
  long user_ms = 0;
};

extern process_times_t actual_time_u;
extern long cpu_prae_l;

// Stores the present process times as the reference point.
void set_time();
// t plus the user time since the reference point; the reference stays.
long add_time(long t);
// Adds the user time since the reference point to t and moves the reference
// point to now.
void add_time(unsigned long& t);
// User CPU time of the process so far, in milliseconds.
long user_time_ms();
