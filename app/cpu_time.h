// CPU-time accounting: user CPU time of the process in milliseconds, and the
// four times of the report.
#pragma once

// User CPU time of the process so far, in milliseconds.
long user_time_ms();

struct process_times_t {
  long user_ms = 0;
};

class cpu_time_C {
 public:
  // The reference point of add_time.
  process_times_t actual_time_u;
  unsigned long cpu_tpg_l = 0;   // test generation
  unsigned long cpu_fs_l = 0;    // fault simulation
  unsigned long cpu_sons_l = 0;  // the rest
  long cpu_prae_l = 0;           // preprocessing
  long cpu_sat_l = -1;           // the SAT phase, once it has run

  // Stores the present process times as the reference point.
  void set_time();
  // t plus the user time since the reference point; the reference stays.
  long add_time(long t) const;
  // Adds the user time since the reference point to t and moves the
  // reference point to now.
  void add_time(unsigned long& t);
};
