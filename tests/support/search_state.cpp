#include "support/search_state.h"

#include <algorithm>
#include <stdexcept>

#include "app/run.h"
#include "atpg/backtrace.h"
#include "atpg/driver.h"
#include "atpg/dynamic_learning.h"
#include "atpg/working_sets.h"
#include "measures/probabilistic.h"
#include "model/circuit.h"
#include "model/line.h"
#include "model/protocol.h"
#include "preproc/cones.h"
#include "preproc/learning.h"
#include "preproc/levels.h"
#include "preproc/line_structure.h"
#include "support/preproc_circuit.h"
#include "support/stuck_at_model.h"

void prepare_search(const std::string& stem, const std::string& text) {
  // The learned implications point into the circuit about to be released.
  forget_dynamic_implications();
  read_checked_circuit(stem, text);
  calculate_planes();
  line_structure();
  start_learning();
  collect_only_value_lines();
  prob_compute_contby();
  prob_compute_observaby();
  select_pure_stuck_at_model();
  phase2_b = 0;
  phase3_b = 0;
  init_pattern_b = 0;
  hazard_test_ein_b = 0;
  max_number_backtracks_i = 10;
  reset_net(TEST_FOUND);
  unjustified_bound_line_C.anzahl_i = 0;
  ziel_line_p = nullptr;
  d_front_gate_in_initial_objectives_p = nullptr;
  let_objectives_be_empty();
  backtrace_flag_b = 0;
  input_kegel_changed_b = 0;
  d_front_changed_b = 0;
  bound_line_in_back_implication_ausgefuegt_b = 0;
  ujust_bound_changed_b = 0;
}

void stage_target(line_C* target, char test_value) {
  output_kegel(target);
  target->good_value_c = mynot(test_value);
  target->bad_value_c = test_value;
  ziel_line_p = target;
  d_front_C.fuege_ein(target);
  if (target->line_type_c == BOUND_LINE) unjustified_bound_line_C.fuege_ein(target);
  implication_line_C.fuege_ein(target);
}

std::string cancelling_paths_circuit() {
  return cir_text("t, a, p1, p2, y", "g1, g2 : And_2 ;\ng3 : Exor ;\n", "t, a", "y",
                  "g1 ( t, a ; p1 ) ;\ng2 ( t, a ; p2 ) ;\ng3 ( p1, p2 ; y ) ;\n");
}

fan_result_t search_for(const std::string& target, char test_value) {
  line_C* t = line_named(target);
  t->good_value_c = mynot(test_value);
  t->bad_value_c = test_value;
  return generate_test(t, test_value);
}

gate_C* driver_of(const std::string& line_name) {
  const line_C* l = line_named(line_name);
  if (l->primary_input_b) throw std::runtime_error(line_name + " is a primary input");
  return l->driver();
}

std::string value_text(char v) {
  switch (static_cast<unsigned char>(v)) {
    case ZERO:
      return "0";
    case ONE:
      return "1";
    case X:
      return "X";
    default:
      return "<" + std::to_string(static_cast<int>(v)) + ">";
  }
}

namespace {

std::string entry_text(const protocol_item_t& e) {
  std::string text = e.line_p ? e.line_p->name_s : std::string("<null>");
  if (e.optionale_zuweisung_b) text += " decision";
  if (e.alter_gut_wert_c != UNDEFINED || e.neuer_gut_wert_c != UNDEFINED) {
    text += " good " + value_text(static_cast<char>(e.alter_gut_wert_c)) + ">" +
            value_text(static_cast<char>(e.neuer_gut_wert_c));
  }
  if (e.alter_schlecht_wert_c != UNDEFINED || e.neuer_schlecht_wert_c != UNDEFINED) {
    text += " bad " + value_text(static_cast<char>(e.alter_schlecht_wert_c)) + ">" +
            value_text(static_cast<char>(e.neuer_schlecht_wert_c));
  }
  if (e.bound_eingefuegt_b) text += " +unjustified";
  if (e.bound_ausgefuegt_b) text += " -unjustified";
  if (e.d_front_eingefuegt_b) text += " +dfront";
  if (e.d_front_ausgefuegt_b) text += " -dfront";
  return text;
}

std::vector<std::string> sorted_names(const line_liste_C& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.anzahl_i; i++) names.push_back(list[i]->name_s);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<std::string> journal_text() {
  std::vector<protocol_item_t> entries;
  while (const protocol_item_t* e = protocol_C.pop()) entries.push_back(*e);
  std::reverse(entries.begin(), entries.end());
  // Pushing an entry back raises the flag that tells the backtrace about new
  // unjustified lines; reading must not.
  const char flag = ujust_bound_changed_b;
  std::vector<std::string> text;
  for (const protocol_item_t& e : entries) {
    protocol_C.push(e.line_p, static_cast<char>(e.optionale_zuweisung_b),
                    static_cast<char>(e.bound_eingefuegt_b), static_cast<char>(e.bound_ausgefuegt_b),
                    static_cast<char>(e.d_front_eingefuegt_b), static_cast<char>(e.d_front_ausgefuegt_b),
                    static_cast<char>(e.alter_gut_wert_c), static_cast<char>(e.neuer_gut_wert_c),
                    static_cast<char>(e.alter_schlecht_wert_c), static_cast<char>(e.neuer_schlecht_wert_c));
    text.push_back(entry_text(e));
  }
  ujust_bound_changed_b = flag;
  return text;
}

search_state_t capture_search_state() {
  search_state_t state;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    const line_C* l = lines_C[i];
    state.values.push_back(l->name_s + " " + value_text(l->good_value_c) + "/" + value_text(l->bad_value_c));
  }
  state.d_front = sorted_names(d_front_C);
  state.unjustified = sorted_names(unjustified_bound_line_C);
  state.journal_entries = protocol_C.anzahl_i;
  return state;
}

std::ostream& operator<<(std::ostream& out, const search_state_t& state) {
  out << "values:";
  for (const std::string& v : state.values) out << " [" << v << "]";
  out << "\nD-frontier:";
  for (const std::string& n : state.d_front) out << " " << n;
  out << "\nunjustified:";
  for (const std::string& n : state.unjustified) out << " " << n;
  return out << "\njournal entries: " << state.journal_entries << "\n";
}
