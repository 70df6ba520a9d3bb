#include "atpg/pattern.h"

#include <fstream>
#include <string>
#include <vector>

#include "atpg/paths.h"
#include "base/messages.h"
#include "base/settings.h"
#include "faults/fault_simulation.h"
#include "implication/implication.h"
#include "model/circuit.h"
#include "model/line.h"

namespace {

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

std::vector<char> good_values(const line_liste_C& lines) {
  std::vector<char> values;
  for (int i = 0; i < lines.anzahl_i; i++) values.push_back(lines[i]->good_value_c);
  return values;
}

}  // namespace

pattern_writer_C::pattern_writer_C(const circuit_C& circuit, const settings_C& settings,
                                   const implication_C& imp, fault_simulation_C& simulation,
                                   const paths_C& paths)
    : circuit_(circuit), settings_(settings), imp_(imp), simulation_(simulation), paths_(paths) {}

void pattern_writer_C::write_values(const std::vector<char>& inputs, const std::vector<char>& outputs) {
  for (char v : inputs) {
    if (char c = value_character(v)) pattern_F << c;
  }
  pattern_F << "   ";
  for (char v : outputs) {
    if (char c = value_character(v)) pattern_F << c;
  }
}

void pattern_writer_C::count_pattern() {
  if (imp_.hazard_test_ein_b || settings_.only_iddq_test_b || settings_.only_stuck_at_test_b ||
      settings_.iddq_stuck_on_test_b || settings_.transition_test_b || settings_.bridging_iddq_b ||
      settings_.bridging_b) {
    no_testpattern_i++;
  } else {
    no_non_robust_pattern_i++;
  }
}

void pattern_writer_C::end_log_entry(const std::string& detections) {
  simulation_.simu_F << detections << "\n";
  simulation_.simu_F.flush();
}

void pattern_writer_C::print_testpattern(line_C* target, int /*sub_pass*/) {
  const line_liste_C& input_lines_C = circuit_.input_lines_C;
  const line_liste_C& output_lines_C = circuit_.output_lines_C;
  if (erster_eingang_b) {
    erster_eingang_b = 0;
    pattern_F.open(settings_.schaltungsname_s + ".pat", std::ios::trunc);
    pattern_F << "* Input_lines: ";
    for (int i = 0; i < input_lines_C.anzahl_i; i++) pattern_F << input_lines_C[i]->name_s << " ";
    pattern_F << "\n* Output_lines: ";
    for (int i = 0; i < output_lines_C.anzahl_i; i++) pattern_F << output_lines_C[i]->name_s << " ";
    pattern_F << "\n";
    last_init_p.assign(input_lines_C.anzahl_i + output_lines_C.anzahl_i, X);
  }
  if (!imp_.hazard_test_ein_b && robust_test_b) {
    robust_test_b = 0;
    pattern_F << "* Non Robust Pattern:\n";
  }
  std::vector<char> inputs = good_values(input_lines_C);
  std::vector<char> outputs = good_values(output_lines_C);
  if (imp_.init_pattern_b) {
    for (char v : inputs) value_character(v);
    for (char v : outputs) value_character(v);
    last_init_p = inputs;
    last_init_p.insert(last_init_p.end(), outputs.begin(), outputs.end());
    last_init_set_b = 1;
    last_init_detections_s = std::move(simulation_.detections_s);
    simulation_.detections_s.clear();
    return;
  }
  if (last_init_set_b) {
    last_init_set_b = 0;
    inits_i++;
    write_values(std::vector<char>(last_init_p.begin(), last_init_p.begin() + input_lines_C.anzahl_i),
                 std::vector<char>(last_init_p.begin() + input_lines_C.anzahl_i, last_init_p.end()));
    pattern_F << " * " << target->name_s << "  Init-Pattern\n";
    end_log_entry(last_init_detections_s);
    count_pattern();
  }
  tests_i++;
  count_pattern();
  write_values(inputs, outputs);
  pattern_F << " * " << target->name_s << "  " << imp_.number_backtracks_i << " Backtracks";
  if (settings_.path_delay_test_b) pattern_F << "  Delay(units): " << paths_.selected_path_C.anzahl_i;
  pattern_F << "\n";
  pattern_F.flush();
  end_log_entry(simulation_.detections_s);
  simulation_.detections_s.clear();
}
