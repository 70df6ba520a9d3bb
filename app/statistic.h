// Counters of the circuit as declared, plus the fanout expansion.
#pragma once

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
};

extern statistic_t statistic_u;

// Lines after the fanout expansion: signals plus fanout branches.
inline int number_of_lines() {
  return statistic_u.no_signals_i + statistic_u.no_fanout_branches_i;
}

// Starts the statistics file of the run with the statistics block.
void print_statistic();
