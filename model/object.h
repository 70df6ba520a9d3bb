// The named base of signals and gates.
#pragma once

#include <string>

class object_C {
 public:
  std::string name_s;
  char object_kind_c = 2;   // 1 for a signal, 0 for a gate
  char reconvergent_b = 0;  // set by the feedback analysis
  // Creation order of the circuit's records, signals and gates counted
  // together: a stable order wherever records of both kinds are sorted.
  int serial_i = 0;

  object_C(std::string name, int serial) : name_s(std::move(name)), serial_i(serial) {}
};
