#include "base/statistic.h"

#include <fstream>

void print_statistic(const statistic_t& s, const std::string& schaltungsname) {
  std::ofstream file(schaltungsname + ".stat", std::ios::trunc);
  file << "Number of gates:   " << s.no_gates_i << "\n";
  file << "Number of Or gates:   " << s.no_or_i << "\n";
  file << "Number of And gates:   " << s.no_and_i << "\n";
  file << "Number of Nand gates:   " << s.no_nand_i << "\n";
  file << "Number of Nor gates:   " << s.no_nor_i << "\n";
  file << "Number of Exor gates:   " << s.no_exor_i << "\n";
  file << "Number of Drivers:   " << s.no_driver_i << "\n";
  file << "Number of Inverters:   " << s.no_inverter_i << "\n";
  file << "Number of Blocks (Transistor Nets or Complex gates):   " << s.no_blocks_i << "\n";
  file << "Number of Flip-Flops:   " << s.no_flipflop_i << "\n";
  file << "Number of Signals:   " << s.no_signals_i << "\n";
  file << "Number of primary inputs:   " << s.no_primary_inputs_i << "\n";
  file << "Number of primary outputs:   " << s.no_primary_outputs_i << "\n";
  file << "Number of Fanout gates:   " << s.no_fanout_gates_i << "\n";
  file << "Number of Fanout branches:   " << s.no_fanout_branches_i << "\n";
  file << "Number of target faults:   " << s.number_of_lines() << "\n";
  file << "Feedback in circuit:   " << int(s.feedback_b) << "\n";
}
