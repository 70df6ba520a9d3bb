#include "support/search_state.h"

#include <gtest/gtest.h>

#include "app/driver.h"
#include "app/run.h"
#include "measures/probabilistic.h"
#include "model/line.h"
#include "preproc/cones.h"
#include "preproc/levels.h"
#include "preproc/line_structure.h"
#include "support/circuit_text.h"
#include "support/reference_circuit.h"
#include "support/stuck_at_model.h"

run_C& prepare_search(const std::string& stem, const std::string& text) {
  run_C& run = read_checked_circuit(stem, text);
  calculate_planes(run.circuit, run.messages);
  line_structure(run.circuit);
  run.preprocessing.learning.start_learning();
  run.preprocessing.learning.collect_only_value_lines();
  prob_compute_contby(run.circuit);
  prob_compute_observaby(run.circuit);
  select_pure_stuck_at_model(run);
  run.settings.max_number_backtracks_i = 10;
  run.imp.reset_net(TEST_FOUND);
  return run;
}

run_C& preprocess_for_search(const std::string& stem, const std::string& text) {
  run_C& run = read_checked_circuit(stem, text);
  run.settings.select_fault_model(fault_model_t::stuck_at);
  run.preprocessing.praeprocessing(0);
  prob_compute_contby(run.circuit);
  prob_compute_observaby(run.circuit);
  run.settings.max_number_backtracks_i = 10;
  return run;
}

void stage_target(line_C* target, char test_value) {
  implication_C& imp = current_run().imp;
  output_kegel(target);
  target->good_value_c = mynot(target->bad_value_c = test_value);
  imp.ziel_line_p = target;
  imp.d_front_C.fuege_ein(target);
  if (target->line_type_c == BOUND_LINE) imp.unjustified_bound_line_C.fuege_ein(target);
  imp.implication_line_C.fuege_ein(target);
}

void set_good(const std::string& values) {
  for (size_t i = 0; i + 1 < values.size(); i += 3)
    line_named(values.substr(i, 1))->good_value_c = values[i + 1] == '1' ? ONE : ZERO;
}

fan_result_t search_for(const std::string& target, char test_value) {
  line_C* t = line_named(target);
  t->good_value_c = mynot(t->bad_value_c = test_value);
  return generate_test(current_run(), t, test_value);
}

static std::string value_text(unsigned char v) {
  return v == ZERO ? "0" : v == ONE ? "1" : v == X ? "X" : std::string("<").append(std::to_string(v)) + ">";
}

std::vector<std::string> journal_text() {
  protocol_stack_C& protocol_C = current_run().imp.protocol_C;
  std::vector<std::string> text(protocol_C.anzahl_i);
  for (size_t i = text.size(); i-- > 0;) {
    const protocol_item_t& e = *protocol_C.pop();
    std::string& t = text[i] = e.line_p->name_s + (e.optionale_zuweisung_b ? " decision" : "");
    if (e.alter_gut_wert_c != UNDEFINED || e.neuer_gut_wert_c != UNDEFINED)
      t += " good " + value_text(e.alter_gut_wert_c) + ">" + value_text(e.neuer_gut_wert_c);
    if (e.alter_schlecht_wert_c != UNDEFINED || e.neuer_schlecht_wert_c != UNDEFINED)
      t += " bad " + value_text(e.alter_schlecht_wert_c) + ">" + value_text(e.neuer_schlecht_wert_c);
    if (e.bound_eingefuegt_b) t += " +unjustified";
    if (e.bound_ausgefuegt_b) t += " -unjustified";
    if (e.d_front_eingefuegt_b) t += " +dfront";
    if (e.d_front_ausgefuegt_b) t += " -dfront";
  }
  protocol_C.anzahl_i = static_cast<int>(text.size());  // popping left the entries in place
  return text;
}

std::string values_text() {
  std::string text;
  const line_liste_C& lines_C = current_run().circuit.lines_C;
  for (int i = 0; i < lines_C.anzahl_i; i++)
    if (const line_C* l = lines_C[i]; l->good_value_c != X || l->bad_value_c != X)
      text += ", " + l->name_s + " " + value_text(l->good_value_c) + "/" + value_text(l->bad_value_c);
  return text.erase(0, 2);  // the first separator
}

std::vector<uint64_t> input_fillings(const reference_circuit_t& ref, std::mt19937_64& rng) {
  std::vector<uint64_t> words;
  for (const std::string& name : ref.inputs()) {
    const line_C* pi = line_named(name);
    if (pi->good_value_c == ONE) {
      words.push_back(~0ULL);
    } else if (pi->good_value_c == ZERO) {
      words.push_back(0);
    } else {
      EXPECT_EQ(pi->good_value_c, X) << name;
      words.push_back((rng() & ~3ULL) | 2ULL);  // pattern 0 fills 0, pattern 1 fills 1
    }
  }
  return words;
}
