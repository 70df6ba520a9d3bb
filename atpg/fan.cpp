#include "atpg/fan.h"

#include "atpg/dynamic_learning.h"
#include "atpg/unique_sensitisation.h"
#include "base/messages.h"
#include "base/settings.h"
#include "faults/robustness.h"
#include "implication/implication.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/protocol.h"

fan_C::fan_C(implication_C& imp, const settings_C& settings, messages_C& messages)
    : backtrace(imp, settings), learning(imp), imp_(imp), settings_(settings), messages_(messages) {}

void fan_C::init(int lines) {
  backtrace.init_objective_lists(lines);
  learning.init();
}

char fan_C::exist_untried_combination_of_values() {
  while (protocol_item_t* e = imp_.protocol_C.pop()) {
    if (e->line_p == nullptr) error(string_C("exist_untried_combination_of_values: Line Pointer is zero"));
    if (e->optionale_zuweisung_b) {
      // A decision: kept, but never flipped again.
      protocol_item_t decision = *e;
      decision.optionale_zuweisung_b = 0;
      imp_.protocol_C.push(decision);
      return 1;
    }
    imp_.undo_journal_entry(e);
  }
  return 0;
}

void fan_C::set_untried_combination_of_values() {
  imp_.implication_line_C.anzahl_i = 0;
  protocol_item_t* e = imp_.protocol_C.pop();
  if (e == nullptr) error(string_C("set_untried_combination_of_values: Null Protocol Item"));
  if (e->line_p == nullptr) error(string_C("exist_untried_combination_of_values: Line Pointer = zero"));
  const protocol_item_t decision = *e;
  line_C* l = decision.line_p;
  const char value = mynot(decision.neuer_gut_wert_c);
  l->good_value_c = value;
  if (l->in_eingangskegel_b) imp_.input_kegel_changed_b = 1;
  protocol_item_t flipped = decision;
  flipped.optionale_zuweisung_b = 0;
  flipped.neuer_gut_wert_c = static_cast<unsigned char>(value) & 0xF;
  flipped.alter_schlecht_wert_c = UNDEFINED;
  flipped.neuer_schlecht_wert_c = UNDEFINED;
  imp_.protocol_C.push(flipped);
  if (l->line_type_c == BOUND_LINE) {
    imp_.unjustified_bound_line_C.fuege_ein(l);
    imp_.protocol_C.push(list_entry(l, list_change_t::bound_in));
  }
  imp_.implication_line_C.fuege_ein(l);
}

int number_of_gates_in_d_front(implication_C& imp_, int up_to) {
  imp_.tmp_gate_liste_C.anzahl_i = 0;
  for (int i = 0; i < imp_.d_front_C.anzahl_i && imp_.tmp_gate_liste_C.anzahl_i <= up_to; i++) {
    const line_C* l = imp_.d_front_C[i];
    if (l->primary_output_b) continue;
    gate_C* g = l->successor();
    bool open = false;
    for (int j = 0; j < g->outputs_C.anzahl_i; j++) {
      if (g->outputs_C[j]->good_value_c == X || g->outputs_C[j]->bad_value_c == X) open = true;
    }
    if (open && imp_.tmp_gate_liste_C.index_of(g) < 0) imp_.tmp_gate_liste_C.fuege_ein(g);
  }
  return imp_.tmp_gate_liste_C.anzahl_i;
}

void fan_C::justify_free_lines() {
  const line_liste_C& free_lines_C = imp_.circuit.free_lines_C;
  for (int i = 0; i < free_lines_C.anzahl_i; i++) {
    line_C* l = free_lines_C[i];
    if (l->primary_input_b || l->good_value_c == X) continue;
    if (imp_.backward_implication(l->driver(), 1) == STEP_CONFLICT) {
      error(string_C("justify_free_lines: implication's not in consistency"));
    }
  }
  for (int i = 0; i < free_lines_C.anzahl_i; i++) {
    if (free_lines_C[i]->good_value_c != X) imp_.unjustified_free_line_C.fuege_ein(free_lines_C[i]);
  }
  for (int i = 0; i < imp_.unjustified_free_line_C.anzahl_i; i++) {
    line_C* l = imp_.unjustified_free_line_C[i];
    if (l->primary_input_b) continue;
    const unsigned char v = l->good_value_c;
    if (v == X) {
      messages_.warning(string_C("justify_free_lines: X at the output of some gate"));
      continue;
    }
    if (v == UNDEFINED) error(string_C("justify_free_lines: undefined value found"));
    gate_C* g = l->driver();
    unsigned char input_value;
    switch (g->gate_type_c) {
      case AND_GATE:
      case OR_GATE:
      case DRIVER_GATE:
      case NAND_GATE:
      case NOR_GATE:
      case INVERTER_GATE:
        input_value = g->inverting() ? mynot(v) : v;
        break;
      case EXOR_GATE: {
        // An open input takes the value that makes the parity come out right;
        // with both open, the first gets 0 and the second the output value.
        line_C* a = g->inputs_C[0];
        line_C* b = g->inputs_C[1];
        if (a->good_value_c == X) {
          a->good_value_c = static_cast<char>(b->good_value_c == X ? static_cast<unsigned char>(ZERO)
                                                                   : myexor(v, b->good_value_c));
          if (!a->primary_input_b) imp_.unjustified_free_line_C.fuege_ein(a);
        }
        if (b->good_value_c == X) {
          b->good_value_c = myexor(v, a->good_value_c);
          if (!b->primary_input_b) imp_.unjustified_free_line_C.fuege_ein(b);
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
      if (!in->primary_input_b) imp_.unjustified_free_line_C.fuege_ein(in);
    }
  }
  imp_.unjustified_free_line_C.anzahl_i = 0;
}

// Takes back decisions until one can be flipped; the result says how the
// search ends when none can (redundant) or the limit is reached (aborted).
bool fan_C::backtrack(fan_result_t& result) {
  if (!exist_untried_combination_of_values()) {
    result = REDUNDANT;
    return false;
  }
  if (imp_.number_backtracks_i >= settings_.max_number_backtracks_i) {
    result = ABORTED;
    return false;
  }
  if (imp_.phase3_b) {
    imp_.forget_dynamic_implications();
  }
  imp_.number_backtracks_i++;
  set_untried_combination_of_values();
  backtrace.backtrace_flag_b = 1;
  return true;
}

void fan_C::seed_unjustified_lines(line_C* target, char test_value) {
  if ((settings_.stuck_open_test_b || settings_.iddq_stuck_on_test_b) &&
      (test_value == FALLING || test_value == RISING) && !target->primary_output_b &&
      target->successor()->gate_type_c != EXOR_GATE) {
    gate_C* g = target->successor();
    const unsigned char c = g->controlling_value();
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
      line_C* in = g->inputs_C[i];
      if (in == target) continue;
      if (c != X) in->good_value_c = mynot(c);
      if (in->line_type_c == BOUND_LINE) imp_.unjustified_bound_line_C.fuege_ein(in);
    }
  }
  // The target is justified like every other line.
  if (target->line_type_c == BOUND_LINE) imp_.unjustified_bound_line_C.fuege_ein(target);
}

fan_result_t fan_C::fan_alg(line_C* target, char test_value) {
  backtrace.d_front_gate_in_initial_objectives_p = nullptr;
  imp_.ziel_line_p = target;
  learning.new_search();
  // An initialisation run only justifies the line at the first value of its
  // transition: there is no fault effect to propagate.
  if (!imp_.init_pattern_b) imp_.d_front_C.fuege_ein(target);
  seed_unjustified_lines(target, test_value);
  imp_.implication_line_C.fuege_ein(target);
  for (int i = 0; i < imp_.only_value_lines_C.anzahl_i; i++) {
    line_C* l = imp_.only_value_lines_C[i];
    if (l->in_ausgangskegel_b) continue;
    if (l->good_value_c != X && l->good_value_c != l->only_value_c) return ONLY_VALUE_CONFLICT;
    l->good_value_c = l->only_value_c;
    imp_.implication_line_C.fuege_ein(l);
  }

  imp_.input_kegel_changed_b = 0;
  backtrace.backtrace_flag_b = 1;
  char r = STEP_ASSIGNED;
  fan_result_t result = TEST_FOUND;
  for (;;) {
    if (r == STEP_ASSIGNED) {
      r = imp_.implication();
      imp_.implication_line_C.anzahl_i = 0;
    }
    // A robust two-pattern test rejects a state whose test can glitch.
    if (imp_.hazard_test_ein_b && test_value != ZERO && test_value != ONE && !imp_.init_pattern_b &&
        r == STEP_ASSIGNED && imp_.input_kegel_changed_b) {
      imp_.hazard_memo_written_b = 1;
      if (robustness_test(target, test_value)) {
        target->hazard_b = 1;
        imp_.hazard_occured_b = 1;
        r = STEP_CONFLICT;
      }
    }
    imp_.input_kegel_changed_b = 0;
    if (r == STEP_CONFLICT) {
      if (!backtrack(result)) return result;
      r = STEP_ASSIGNED;
      continue;
    }
    if (!backtrace.continuation_of_backtrace_meaningful()) backtrace.backtrace_flag_b = 1;
    if (!imp_.init_pattern_b && !backtrace.fault_signal_at_output()) {
      if (number_of_gates_in_d_front(imp_, 0) == 0) {
        if (!backtrack(result)) return result;
        r = STEP_ASSIGNED;
        continue;
      }
      r = unique_sensitisation(imp_, off_path_search);
      if (r != STEP_NOTHING_NEW) {
        if (r == STEP_ASSIGNED) backtrace.backtrace_flag_b = 1;
        continue;
      }
      if (imp_.phase3_b) r = learning.dyn_learning();
    } else {
      if (imp_.unjustified_bound_line_C.is_empty()) break;
      r = imp_.phase3_b ? learning.dyn_learning() : static_cast<char>(STEP_NOTHING_NEW);
    }
    if (r != STEP_NOTHING_NEW) {
      if (r == STEP_ASSIGNED) backtrace.backtrace_flag_b = 1;
      continue;
    }
    objective_type_u objective = backtrace.determine_final_objective();
    if (objective.objective_line_p == nullptr) return ABORTED;
    backtrace.assign_value_to_final_objective(objective);
    r = STEP_ASSIGNED;
  }
  justify_free_lines();
  return TEST_FOUND;
}
