#include "atpg/fan.h"

#include "app/messages.h"
#include "app/run.h"
#include "atpg/backtrace.h"
#include "atpg/driver.h"
#include "atpg/dynamic_learning.h"
#include "atpg/implication.h"
#include "atpg/unique_sensitisation.h"
#include "atpg/working_sets.h"
#include "faults/hazard.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/protocol.h"
#include "preproc/learning.h"
#include "preproc/line_structure.h"

void undo_journal_entry(const protocol_item_t* e) {
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

char exist_untried_combination_of_values() {
  while (protocol_item_t* e = protocol_C.pop()) {
    if (e->line_p == nullptr) error(string_C("exist_untried_combination_of_values: Line Pointer is zero"));
    if (e->optionale_zuweisung_b) {
      // A decision: kept, but never flipped again.
      protocol_item_t decision = *e;
      protocol_C.push(decision.line_p, 0, decision.bound_eingefuegt_b, decision.bound_ausgefuegt_b,
                      decision.d_front_eingefuegt_b, decision.d_front_ausgefuegt_b, decision.alter_gut_wert_c,
                      decision.neuer_gut_wert_c, decision.alter_schlecht_wert_c,
                      decision.neuer_schlecht_wert_c);
      return 1;
    }
    undo_journal_entry(e);
  }
  return 0;
}

void set_untried_combination_of_values() {
  implication_line_C.anzahl_i = 0;
  protocol_item_t* e = protocol_C.pop();
  if (e == nullptr) error(string_C("set_untried_combination_of_values: Null Protocol Item"));
  if (e->line_p == nullptr) error(string_C("exist_untried_combination_of_values: Line Pointer = zero"));
  const protocol_item_t decision = *e;
  line_C* l = decision.line_p;
  const char value = mynot(decision.neuer_gut_wert_c);
  l->good_value_c = value;
  if (l->in_eingangskegel_b) input_kegel_changed_b = 1;
  protocol_C.push(l, 0, decision.bound_eingefuegt_b, decision.bound_ausgefuegt_b,
                  decision.d_front_eingefuegt_b, decision.d_front_ausgefuegt_b, decision.alter_gut_wert_c,
                  value, UNDEFINED, UNDEFINED);
  if (l->line_type_c == BOUND_LINE) {
    unjustified_bound_line_C.fuege_ein(l);
    protocol_C.push(l, 0, 1, 0, 0, 0, UNDEFINED, UNDEFINED, UNDEFINED, UNDEFINED);
  }
  implication_line_C.fuege_ein(l);
}

int number_of_gates_in_d_front() {
  tmp_gate_liste_C.anzahl_i = 0;
  for (int i = 0; i < d_front_C.anzahl_i; i++) {
    const line_C* l = d_front_C[i];
    if (l->primary_output_b) continue;
    gate_C* g = l->successor();
    bool open = false;
    for (int j = 0; j < g->outputs_C.anzahl_i; j++) {
      if (g->outputs_C[j]->good_value_c == X || g->outputs_C[j]->bad_value_c == X) open = true;
    }
    if (open && tmp_gate_liste_C.index_of(g) < 0) tmp_gate_liste_C.fuege_ein(g);
  }
  return tmp_gate_liste_C.anzahl_i;
}

void justify_free_lines() {
  for (int i = 0; i < free_lines_C.anzahl_i; i++) {
    line_C* l = free_lines_C[i];
    if (l->primary_input_b || l->good_value_c == X) continue;
    if (l->driver()->backward_implication(1) == STEP_CONFLICT) {
      error(string_C("justify_free_lines: implication's not in consistency"));
    }
  }
  for (int i = 0; i < free_lines_C.anzahl_i; i++) {
    if (free_lines_C[i]->good_value_c != X) unjustified_free_line_C.fuege_ein(free_lines_C[i]);
  }
  for (int i = 0; i < unjustified_free_line_C.anzahl_i; i++) {
    line_C* l = unjustified_free_line_C[i];
    if (l->primary_input_b) continue;
    const unsigned char v = l->good_value_c;
    if (v == X) {
      warning(string_C("justify_free_lines: X at the output of some gate"));
      continue;
    }
    if (v == UNDEFINED) error(string_C("justify_free_lines: undefined value found"));
    gate_C* g = l->driver();
    unsigned char input_value;
    switch (g->gate_type_c) {
      case AND_GATE:
      case OR_GATE:
      case DRIVER_GATE:
        input_value = v;
        break;
      case NAND_GATE:
      case NOR_GATE:
      case INVERTER_GATE:
        input_value = mynot(v);
        break;
      case EXOR_GATE: {
        // An open input takes the value that makes the parity come out right;
        // with both open, the first gets 0 and the second the output value.
        line_C* a = g->inputs_C[0];
        line_C* b = g->inputs_C[1];
        if (a->good_value_c == X) {
          a->good_value_c = static_cast<char>(b->good_value_c == X ? static_cast<unsigned char>(ZERO)
                                                                   : myexor(v, b->good_value_c));
          if (!a->primary_input_b) unjustified_free_line_C.fuege_ein(a);
        }
        if (b->good_value_c == X) {
          b->good_value_c = myexor(v, a->good_value_c);
          if (!b->primary_input_b) unjustified_free_line_C.fuege_ein(b);
        }
        continue;
      }
      case FLIPFLOP_GATE:
      case SEQUENTIAL_GATE:
        error(string_C("justify_free_lines:  sequential gates can`t  be managed"));
      case FANOUT_GATE:
        error(string_C("justify_free_lines: fanout-gates aren't allowed to have free lines as followers"));
      default:
        error(string_C("justify_free_lines: undefined gate found"));
    }
    for (int j = 0; j < g->inputs_C.anzahl_i; j++) {
      line_C* in = g->inputs_C[j];
      if (in->good_value_c != X) continue;
      in->good_value_c = input_value;
      if (!in->primary_input_b) unjustified_free_line_C.fuege_ein(in);
    }
  }
  unjustified_free_line_C.anzahl_i = 0;
}

namespace {

// Takes back decisions until one can be flipped; the result says how the
// search ends when none can (redundant) or the limit is reached (aborted).
bool backtrack(fan_result_t& result) {
  if (!exist_untried_combination_of_values()) {
    result = REDUNDANT;
    return false;
  }
  if (number_backtracks_i >= max_number_backtracks_i) {
    result = ABORTED;
    return false;
  }
  if (phase3_b) {
    forget_dynamic_implications();
  }
  number_backtracks_i++;
  set_untried_combination_of_values();
  backtrace_flag_b = 1;
  return true;
}

void seed_unjustified_lines(line_C* target, char test_value) {
  if ((stuck_open_test_b || iddq_stuck_on_test_b) && (test_value == FALLING || test_value == RISING) &&
      !target->primary_output_b && target->successor()->gate_type_c != EXOR_GATE) {
    gate_C* g = target->successor();
    const unsigned char c = controlling_value(g);
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
      line_C* in = g->inputs_C[i];
      if (in == target) continue;
      if (c != X) in->good_value_c = mynot(c);
      if (in->line_type_c == BOUND_LINE) unjustified_bound_line_C.fuege_ein(in);
    }
    return;
  }
  if (target->line_type_c == BOUND_LINE) unjustified_bound_line_C.fuege_ein(target);
}

}  // namespace

fan_result_t fan_alg(line_C* target, char test_value) {
  d_front_gate_in_initial_objectives_p = nullptr;
  ziel_line_p = target;
  d_front_C.fuege_ein(target);
  seed_unjustified_lines(target, test_value);
  implication_line_C.fuege_ein(target);
  for (int i = 0; i < only_value_lines_C.anzahl_i; i++) {
    line_C* l = only_value_lines_C[i];
    if (l->in_ausgangskegel_b) continue;
    if (l->good_value_c != X && l->good_value_c != l->only_value_c) return ONLY_VALUE_CONFLICT;
    l->good_value_c = l->only_value_c;
    implication_line_C.fuege_ein(l);
  }

  input_kegel_changed_b = 0;
  backtrace_flag_b = 1;
  char r = STEP_ASSIGNED;
  fan_result_t result = TEST_FOUND;
  for (;;) {
    if (r == STEP_ASSIGNED) {
      r = implication();
      implication_line_C.anzahl_i = 0;
    }
    // Robustness checks of two-pattern tests would reject a state here.
    input_kegel_changed_b = 0;
    if (r == STEP_CONFLICT) {
      if (!backtrack(result)) return result;
      r = STEP_ASSIGNED;
      continue;
    }
    if (!continuation_of_backtrace_meaningful()) backtrace_flag_b = 1;
    if (!init_pattern_b && !fault_signal_at_output()) {
      if (number_of_gates_in_d_front() == 0) {
        if (!backtrack(result)) return result;
        r = STEP_ASSIGNED;
        continue;
      }
      r = unique_sensitisation();
      if (r != STEP_NOTHING_NEW) {
        if (r == STEP_ASSIGNED) backtrace_flag_b = 1;
        continue;
      }
      if (phase3_b) r = dyn_learning();
    } else {
      if (unjustified_bound_line_C.is_empty()) break;
      r = phase3_b ? dyn_learning() : static_cast<char>(STEP_NOTHING_NEW);
    }
    if (r != STEP_NOTHING_NEW) {
      if (r == STEP_ASSIGNED) backtrace_flag_b = 1;
      continue;
    }
    objective_type_u objective = determine_final_objective();
    if (objective.objective_line_p == nullptr) return ABORTED;
    assign_value_to_final_objective(objective);
    r = STEP_ASSIGNED;
  }
  justify_free_lines();
  return TEST_FOUND;
}
