#include "atpg/pattern.h"

#include <fstream>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/run.h"
#include "atpg/driver.h"
#include "atpg/path_delay.h"
#include "faults/fault_simulation.h"
#include "model/circuit.h"
#include "model/line.h"

int tests_i = 0;
int inits_i = 0;
int no_testpattern_i = 0;
int no_non_robust_pattern_i = 0;

namespace {

std::ofstream pattern_F;
char erster_eingang_b = 1;
char robust_test_b = 1;
char last_init_set_b = 0;
std::vector<char> last_init_p;

char value_character(char v) {
  switch (v) {
    case ZERO:
      return '0';
    case ONE:
      return '1';
    case X:
      return 'X';
    case UNDEFINED:
      error(string_C("print_testpattern: Undefined value in pattern"));
    default:
      return '\0';
  }
}

void write_values(const std::vector<char>& inputs, const std::vector<char>& outputs) {
  for (char v : inputs) {
    if (char c = value_character(v)) pattern_F << c;
  }
  pattern_F << "   ";
  for (char v : outputs) {
    if (char c = value_character(v)) pattern_F << c;
  }
}

std::vector<char> good_values(const line_liste_C& lines) {
  std::vector<char> values;
  for (int i = 0; i < lines.anzahl_i; i++) values.push_back(lines[i]->good_value_c);
  return values;
}

void count_pattern() {
  if (hazard_test_ein_b || only_iddq_test_b || only_stuck_at_test_b || iddq_stuck_on_test_b ||
      transition_test_b || bridging_iddq_b || bridging_b) {
    no_testpattern_i++;
  } else {
    no_non_robust_pattern_i++;
  }
}

void end_log_entry() {
  simu_F << "\n";
  simu_F.flush();
}

}  // namespace

void print_testpattern(line_C* target, int /*sub_pass*/) {
  if (erster_eingang_b) {
    erster_eingang_b = 0;
    pattern_F.open(std::string(schaltungsname_s) + ".pat", std::ios::trunc);
    pattern_F << "* Input_lines: ";
    for (int i = 0; i < input_lines_C.anzahl_i; i++) pattern_F << input_lines_C[i]->name_s << " ";
    pattern_F << "\n* Output_lines: ";
    for (int i = 0; i < output_lines_C.anzahl_i; i++) pattern_F << output_lines_C[i]->name_s << " ";
    pattern_F << "\n";
    last_init_p.assign(input_lines_C.anzahl_i + output_lines_C.anzahl_i, X);
  }
  if (!hazard_test_ein_b && robust_test_b) {
    robust_test_b = 0;
    pattern_F << "* Non Robust Pattern:\n";
  }
  std::vector<char> inputs = good_values(input_lines_C);
  std::vector<char> outputs = good_values(output_lines_C);
  if (init_pattern_b) {
    for (char v : inputs) value_character(v);
    for (char v : outputs) value_character(v);
    last_init_p = inputs;
    last_init_p.insert(last_init_p.end(), outputs.begin(), outputs.end());
    last_init_set_b = 1;
    return;
  }
  if (last_init_set_b) {
    last_init_set_b = 0;
    inits_i++;
    write_values(std::vector<char>(last_init_p.begin(), last_init_p.begin() + input_lines_C.anzahl_i),
                 std::vector<char>(last_init_p.begin() + input_lines_C.anzahl_i, last_init_p.end()));
    pattern_F << " * " << target->name_s << "  Init-Pattern\n";
    end_log_entry();
    count_pattern();
  }
  tests_i++;
  count_pattern();
  write_values(inputs, outputs);
  pattern_F << " * " << target->name_s << "  " << number_backtracks_i << " Backtracks";
  if (path_delay_test_b) pattern_F << "  Delay(units): " << selected_path_C.anzahl_i;
  pattern_F << "\n";
  pattern_F.flush();
  end_log_entry();
}
