// The state of the present search as a whole: sizing it, undoing journal
// entries, and resetting it between searches.
#include "base/messages.h"
#include "implication/implication.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/hazard.h"
#include "model/line.h"

implication_C::implication_C(circuit_C& circuit, const settings_C& settings)
    : circuit(circuit), settings(settings) {}

void implication_C::init_working_sets(int lines, int gates) {
  protocol_C.init(lines);
  for (line_liste_C* list : {&implication_line_C, &d_front_C, &unjustified_bound_line_C,
                             &unjustified_free_line_C, &tmp_line_liste_C, &hilf_imp_line_C}) {
    list->init(lines);
  }
  tmp_gate_liste_C.init(gates);
}

void implication_C::undo_journal_entry(const protocol_item_t* e) {
  line_C* l = e->line_p;
  if (l == nullptr) error(string_C("exist_untried_combination_of_values: Line Pointer is zero"));
  const unsigned char new_good = e->neuer_gut_wert_c;
  const unsigned char new_bad = e->neuer_schlecht_wert_c;
  if (new_good == X && new_bad == UNDEFINED) {
    error(string_C("exist_untried_combination_of_values: combination of good- and bad-value is invalid"));
  }
  if (new_good != UNDEFINED && new_good != X && l->good_value_c != new_good) {
    error(string_C("exist_untried_combination_of_values: Test Value doesn't match billeting"));
  }
  if (new_bad != UNDEFINED && l->bad_value_c != new_bad) {
    error(string_C("exist_untried_combination_of_values:  Test Value doesn't match billeting"));
  }
  if (e->alter_gut_wert_c != UNDEFINED && new_good != X) {
    l->good_value_c = static_cast<char>(e->alter_gut_wert_c);
    if (!l->primary_output_b) clear_hazard_bits(l->successor());
  }
  if (e->alter_schlecht_wert_c != UNDEFINED) l->bad_value_c = static_cast<char>(e->alter_schlecht_wert_c);
  if (e->bound_eingefuegt_b) unjustified_bound_line_C.fuege_aus(l);
  if (e->bound_ausgefuegt_b) unjustified_bound_line_C.fuege_ein(l);
  if (e->d_front_eingefuegt_b) d_front_C.fuege_aus(l);
  if (e->d_front_ausgefuegt_b) d_front_C.fuege_ein(l);
}

void implication_C::reset_net(fan_result_t r) {
  implication_line_C.anzahl_i = 0;
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    line_C* l = circuit.lines_C[i];
    l->reset_value(r);
    l->in_eingangskegel_b = 0;
    l->in_ausgangskegel_b = 0;
  }
  // What dynamic learning found holds only for the search that found it.
  forget_dynamic_implications();
  if (hazard_memo_written_b) {
    for (int i = 0; i < circuit.gates_C.anzahl_i; i++) circuit.gates_C[i]->hazard_state_c = 0;
    hazard_memo_written_b = 0;
  }
  number_backtracks_i = 0;
  d_front_C.anzahl_i = 0;
  protocol_C.leeren();
}

void implication_C::forget_dynamic_implications() {
  for (line_C* l : lines_with_dynamic_implications) l->reset_dyn_learning();
  lines_with_dynamic_implications.clear();
  dynamic_generation_i++;
}
