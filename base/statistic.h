// Counters of the circuit as declared, plus the fanout expansion.
#pragma once

#include <string>

struct statistic_t {
  int no_gates_i = 0;
  int no_or_i = 0;
  int no_and_i = 0;
  int no_nand_i = 0;
  int no_nor_i = 0;
  int no_exor_i = 0;
  int no_driver_i = 0;
  int no_inverter_i = 0;
  int no_flipflop_i = 0;
  int no_blocks_i = 0;
  int no_signals_i = 0;
  int no_primary_inputs_i = 0;
  int no_primary_outputs_i = 0;
  int no_fanout_gates_i = 0;
  int no_fanout_branches_i = 0;
  char feedback_b = 0;

  // Lines after the fanout expansion: signals plus fanout branches.
  int number_of_lines() const { return no_signals_i + no_fanout_branches_i; }
};

// Starts the statistics file of the run (the circuit name plus ".stat")
// with the statistics block.
void print_statistic(const statistic_t& s, const std::string& schaltungsname);
