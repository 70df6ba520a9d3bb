#include "app/pattern_simulation.h"

#include <fstream>
#include <iostream>
#include <limits>
#include <string>

#include "app/report.h"
#include "app/run.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// The next white-space separated token, or false at the end of the file.
bool next_token(std::istream& in, std::string& token) {
  return static_cast<bool>(in >> token);
}

void expect_token(std::istream& in, const char* expected, const char* message) {
  std::string token;
  if (!next_token(in, token) || token != expected) error(string_C(message));
}

// The header names the primary inputs (in order, or the run stops) and the
// primary outputs (in order, or a warning).
void read_header(std::istream& in, run_C& run) {
  const circuit_C& circuit = run.circuit;
  std::string token;
  expect_token(in, "*", "simulate_circuit: Pattern File corrupt (1. Line)");
  expect_token(in, "Input_lines:", "simulate_circuit: Pattern File corrupt (Input_lines: not found)");
  for (int i = 0; i < circuit.input_lines_C.anzahl_i; i++) {
    if (!next_token(in, token) || token != circuit.input_lines_C[i]->name_s) {
      std::cout << "Index: " << i << "     input: " << token;
      error(string_C("simulate_circuit: Order of input lines not correct"));
    }
  }
  expect_token(in, "*", "simulate_circuit: Pattern File corrupt (2. Line)");
  expect_token(in, "Output_lines:", "simulate_circuit: Pattern File corrupt (Output_lines: not found)");
  for (int i = 0; i < circuit.output_lines_C.anzahl_i; i++) {
    if (!next_token(in, token) || token != circuit.output_lines_C[i]->name_s) {
      std::cout << "Index: " << i << "     Output: " << token;
      run.messages.warning(string_C("simulate_circuit: Order of output lines not correct"));
    }
  }
}

// Puts the input values of a pattern token on the primary inputs and implies
// them forwards; characters behind the last input are ignored.
void apply_pattern(run_C& run, const std::string& token) {
  const line_liste_C& inputs = run.circuit.input_lines_C;
  for (int i = 0; i < inputs.anzahl_i; i++) {
    line_C* in = inputs[i];
    const char c = i < static_cast<int>(token.size()) ? token[i] : '\0';
    if (c == '1' || c == '0') {
      in->good_value_c = c == '1' ? ONE : ZERO;
      if (!in->primary_output_b) run.imp.fast_forward_implication(in->successor());
    } else if (c == 'X') {
      in->good_value_c = X;
    } else {
      std::cout << "forall_index: " << i << "     t: " << token << "\n";
      error(string_C("simulate_circuit: Unknown Value found in pattern file"));
    }
  }
}

}  // namespace

void simulate_circuit(run_C& run) {
  const std::string name = run.settings.schaltungsname_s + ".pat";
  std::cout << "\tPattern File is " << name << "\n" << std::flush;
  std::ifstream in(name);
  if (!in) error(string_C("simulate_circuit: Pattern File not found"));
  // Every fault counts as aborted until a pattern detects it; a fanout
  // branch has no faults without branches.
  for (int i = 0; i < run.circuit.lines_C.anzahl_i; i++) {
    line_C* l = run.circuit.lines_C[i];
    if (run.settings.stuck_at_test_without_branches_b && l->is_fanout_branch()) continue;
    l->sa0_aborted_b = 1;
    l->sa1_aborted_b = 1;
  }
  for (line_line_t& pair : run.target_list.zielfehler2_C.elemente_p) pair.pair_state_c = PAIR_ABORTED;
  run.target_list.elements_to_test_i = run.target_list.zielfehler2_C.anzahl();
  read_header(in, run);
  cpu_time_C& cpu = run.cpu;
  for (std::string token; next_token(in, token);) {
    if (token[0] != '*') {
      apply_pattern(run, token);
    }
    // The rest of the line: the expected outputs and the target, or a comment.
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    if (token[0] == '*') continue;
    cpu.add_time(cpu.cpu_sons_l);
    if (run.settings.current_detection() || run.settings.bridging_iddq_b) {
      run.simulation.iddq_fault_simulation();
    } else {
      run.simulation.fault_simulation(nullptr, 8);
    }
    run.simulation.detections_s.clear();  // no log in this mode
    run.target_list.hilf_C.anzahl_i = 0;
    cpu.add_time(cpu.cpu_fs_l);
    run.imp.reset_net(TEST_FOUND);
  }
  print_result(run);
}
