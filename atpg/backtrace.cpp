#include "atpg/backtrace.h"

#include "base/messages.h"
#include "base/settings.h"
#include "implication/implication.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/protocol.h"

backtrace_C::backtrace_C(implication_C& imp, const settings_C& settings) : imp_(imp), settings_(settings) {}

void backtrace_C::init_objective_lists(int lines) {
  current_objectives_C.init(lines);
  head_objectives_C.init(lines);
  fanout_objectives_C.init(lines);
}

char backtrace_C::fault_signal_at_output() {
  if (settings_.only_iddq_test_b || settings_.iddq_stuck_on_test_b || settings_.bridging_iddq_b) return 1;
  for (int i = 0; i < imp_.d_front_C.anzahl_i; i++) {
    if (imp_.d_front_C[i]->primary_output_b) return 1;
  }
  return 0;
}

namespace {

// The open output of a D-frontier gate that is easiest to observe, and the
// D-frontier line that feeds the gate.
struct d_front_candidate_t {
  line_C* output = nullptr;
  line_C* fed_by = nullptr;
};

d_front_candidate_t best_d_front_candidate(const line_liste_C& d_front_C) {
  d_front_candidate_t best;
  for (int i = 0; i < d_front_C.anzahl_i; i++) {
    line_C* l = d_front_C[i];
    if (l->primary_output_b) continue;
    const gate_C* g = l->successor();
    for (int j = 0; j < g->outputs_C.anzahl_i; j++) {
      line_C* o = g->outputs_C[j];
      if (o->good_value_c != X && o->bad_value_c != X) continue;
      if (best.output == nullptr || o->observaby_d < best.output->observaby_d) best = {o, l};
    }
  }
  return best;
}

}  // namespace

void backtrace_C::let_objectives_be_empty() {
  current_objectives_C.loesche_liste();
  head_objectives_C.loesche_liste();
  fanout_objectives_C.loesche_liste();
}

void backtrace_C::let_unjustified_lines_be_initial_objectives() {
  for (int i = 0; i < imp_.unjustified_bound_line_C.anzahl_i; i++) {
    line_C* l = imp_.unjustified_bound_line_C[i];
    if (l->good_value_c == X || l->good_value_c == UNDEFINED) {
      error(
          string_C("let_unjustified_lines_be_initial_objectives: Unjustified Bound Line has valueX or "
                   "undefined value"));
    }
    if (l->good_value_c == ONE) {
      current_objectives_C.fuege_ein(l, 0, 1);
    } else {
      current_objectives_C.fuege_ein(l, 1, 0);
    }
  }
}

void backtrace_C::add_gate_in_d_front_to_initial_objectives() {
  d_front_candidate_t best = best_d_front_candidate(imp_.d_front_C);
  if (best.output == nullptr) error(string_C("add_gate_in_d_front_to_initial_objectives: D Front empty"));
  gate_C* g = best.fed_by->successor();
  switch (g->gate_type_c) {
    case AND_GATE:
    case NAND_GATE:
    case OR_GATE:
    case NOR_GATE:
      // The output value the non-controlling side inputs give.
      if (mynot(g->semantics().forced_output()) == ONE) {
        current_objectives_C.fuege_ein(best.output, 0, 1);
      } else {
        current_objectives_C.fuege_ein(best.output, 1, 0);
      }
      break;
    case EXOR_GATE: {
      const line_C* other = g->inputs_C[0] == best.fed_by ? g->inputs_C[1] : g->inputs_C[0];
      if (other->contby_0_d <= other->contby_1_d) {
        current_objectives_C.fuege_ein(best.output, 1, 0);
      } else {
        current_objectives_C.fuege_ein(best.output, 0, 1);
      }
      break;
    }
    case INVERTER_GATE:
    case DRIVER_GATE:
      error(
          string_C("add_gate_in_d_front_to_initial_objectives: inverter and driver are not valid `cause of "
                   "implication"));
    case FLIPFLOP_GATE:
    case SEQUENTIAL_GATE:
      error(string_C("add_gate_in_d_front_to_initial_objectives: not implemented for sequential elements"));
    case FANOUT_GATE:
      error(string_C("add_gate_in_d_front_to_initial_objectives: fanout gates cannot be here"));
    default:
      error(string_C("add_gate_in_d_front_to_initial_objectives: undefined gate in circuit"));
  }
  d_front_gate_in_initial_objectives_p = g;
}

objective_type_u backtrace_C::take_out_fanout_objective_p_closest_to_output() {
  objective_type_u* last = fanout_objectives_C.pop();
  return last ? *last : objective_type_u{};
}

char backtrace_C::n0p_and_n1p_nonequal_zero(objective_type_u& objective) {
  return objective.n0_i != 0 && objective.n1_i != 0 && objective.objective_line_p->good_value_c == X;
}

void backtrace_C::add_objective_to_head_objectives(objective_type_u& objective) {
  if (head_objectives_C.element_in_liste(objective.objective_line_p, 0)) return;
  head_objectives_C.fuege_ein(objective.objective_line_p, objective.n0_i, objective.n1_i);
}

objective_type_u backtrace_C::take_out_head_objective() {
  int best = 0;
  for (int i = 1; i < head_objectives_C.anzahl_i; i++) {
    if (head_objectives_C[i]->n0_i + head_objectives_C[i]->n1_i >
        head_objectives_C[best]->n0_i + head_objectives_C[best]->n1_i) {
      best = i;
    }
  }
  objective_type_u taken = *head_objectives_C[best];
  head_objectives_C.fuege_aus(taken.objective_line_p);
  return taken;
}

void backtrace_C::add_n0_and_n1_to_fanout_objective(objective_type_u& objective) {
  line_C* stem = objective.objective_line_p->stem_p;
  if (objective_type_u* known = fanout_objectives_C.find(stem)) {
    known->n0_i += objective.n0_i;
    known->n1_i += objective.n1_i;
  } else {
    fanout_objectives_C.fuege_ein(stem, objective.n0_i, objective.n1_i);
  }
}

namespace {

// The requests at the two inputs of an EXOR gate for the requests at its output.
void exor_objectives(objective_liste_C& current_objectives_C, line_C* a, line_C* b, int n0, int n1) {
  int a0 = 0, a1 = 0, b0 = 0, b1 = 0;
  const auto holds = [](const line_C* l, unsigned char v) { return l->good_value_c == v; };
  // Equal inputs for a 0 at the output.
  bool both_one = a->contby_1_d + b->contby_1_d <= a->contby_0_d + b->contby_0_d;
  if (both_one && (holds(a, ZERO) || holds(b, ZERO))) {
    both_one = false;
  } else if (!both_one && (holds(a, ONE) || holds(b, ONE)) && !holds(a, ZERO) && !holds(b, ZERO)) {
    both_one = true;
  }
  if (both_one) {
    a1 += n0;
    b1 += n0;
  } else {
    a0 += n0;
    b0 += n0;
  }
  // Different inputs for a 1 at the output.
  bool a_one = b->contby_0_d + a->contby_1_d <= b->contby_1_d + a->contby_0_d;
  if (a_one && (holds(a, ZERO) || holds(b, ONE))) {
    a_one = false;
  } else if (!a_one && (holds(a, ONE) || holds(b, ZERO)) && !holds(a, ZERO) && !holds(b, ONE)) {
    a_one = true;
  }
  if (a_one) {
    a1 += n1;
    b0 += n1;
  } else {
    a0 += n1;
    b1 += n1;
  }
  current_objectives_C.fuege_ein(a, a0, a1);
  current_objectives_C.fuege_ein(b, b0, b1);
}

}  // namespace

void backtrace_C::determine_next_objective_and_add_them_to_current_objectives(objective_type_u& objective) {
  const int n0 = objective.n0_i;
  const int n1 = objective.n1_i;
  gate_C* g = objective.objective_line_p->driver();
  switch (g->gate_type_c) {
    case FLIPFLOP_GATE:
    case SEQUENTIAL_GATE:
      error(string_C("add_n0_and_n1_to_fanout_objective: not implemented for sequential gates"));
    case FANOUT_GATE:
      error(string_C("determine_next_objective_and_add_them_to_current_objectives: Fanout not allowed"));
    case EXOR_GATE:
      exor_objectives(current_objectives_C, g->inputs_C[0], g->inputs_C[1], n0, n1);
      return;
    case AND_GATE:
    case OR_GATE:
    case NAND_GATE:
    case NOR_GATE:
    case INVERTER_GATE:
    case DRIVER_GATE:
      break;
    default:
      error(string_C("add_n0_and_n1_to_fanout_objective: undefined gate found"));
  }
  const line_liste_C& in = g->inputs_C;
  line_C* easy0 = nullptr;
  line_C* easy1 = nullptr;
  bool some_input_x = false;
  for (int i = 0; i < in.anzahl_i; i++) {
    line_C* l = in[i];
    if (l->good_value_c == X) some_input_x = true;
    const bool open = l->good_value_c == X || (l->in_ausgangskegel_b && l->bad_value_c == X);
    if (!open) continue;
    if (easy0 == nullptr || l->contby_0_d < easy0->contby_0_d) easy0 = l;
    if (easy1 == nullptr || l->contby_1_d < easy1->contby_1_d) easy1 = l;
  }
  // The requests at the output of the And or Or function before inversion:
  // a 0 at an And output (a 1 at an Or output) needs only the easiest input,
  // the other value needs every input.
  const bool inverting = g->inverting();
  const int m0 = inverting ? n1 : n0;
  const int m1 = inverting ? n0 : n1;
  const bool or_like = g->controlling_value() == ONE;
  for (int i = 0; i < in.anzahl_i; i++) {
    line_C* l = in[i];
    if (l->good_value_c != X && !(l->in_ausgangskegel_b && l->bad_value_c == X && !some_input_x)) continue;
    if (or_like) {
      current_objectives_C.fuege_ein(l, m0, l == easy1 ? m1 : 0);
    } else {
      current_objectives_C.fuege_ein(l, l == easy0 ? m0 : 0, m1);
    }
  }
}

char backtrace_C::multiple_backtrace(entry_exit_t /*entry*/) {
  for (;;) {
    objective_type_u objective;
    bool from_fanout_list = false;
    if (objective_type_u* next = current_objectives_C.pop()) {
      objective = *next;
    } else if (!fanout_objectives_C.is_empty()) {
      objective = take_out_fanout_objective_p_closest_to_output();
      from_fanout_list = true;
    } else {
      return 2;
    }
    line_C* l = objective.objective_line_p;
    if (from_fanout_list && !l->in_ausgangskegel_b && n0p_and_n1p_nonequal_zero(objective)) {
      final_objective_u = objective;
      return 3;
    }
    // A primary input ends the backtrace like a head line: there is nothing
    // in front of it to distribute the requests to.
    if (l->line_type_c == HEAD_LINE || l->primary_input_b) {
      add_objective_to_head_objectives(objective);
    } else if (l->stem_p != nullptr) {  // a fanout branch
      add_n0_and_n1_to_fanout_objective(objective);
    } else {
      determine_next_objective_and_add_them_to_current_objectives(objective);
    }
  }
}

objective_type_u backtrace_C::determine_final_objective() {
  // Two rebuilds in a row that find nothing to decide mean that the
  // objectives cannot lead anywhere; the caller gives up on this target.
  for (int rebuild = 0; rebuild < 2; rebuild++) {
    if (backtrace_flag_b) {
      backtrace_flag_b = 0;
      imp_.protocol_C.ujust_bound_changed_b = 0;
      imp_.d_front_changed_b = 0;
      let_objectives_be_empty();
      if (!imp_.unjustified_bound_line_C.is_empty()) {
        let_unjustified_lines_be_initial_objectives();
        if (!fault_signal_at_output() && !imp_.init_pattern_b) add_gate_in_d_front_to_initial_objectives();
      } else {
        add_gate_in_d_front_to_initial_objectives();
      }
    }
    if (multiple_backtrace(take_next_objective) == 3) return final_objective_u;
    while (!head_objectives_C.is_empty()) {
      objective_type_u head = take_out_head_objective();
      if (head.objective_line_p->good_value_c == X) return head;
    }
    backtrace_flag_b = 1;
  }
  return objective_type_u{};
}

void backtrace_C::assign_value_to_final_objective(objective_type_u& objective) {
  line_C* l = objective.objective_line_p;
  if (l->good_value_c != X) error(string_C("assign_value_to_final_objective: signal was already covered"));
  const bool one =
      objective.n0_i < objective.n1_i || (objective.n0_i == objective.n1_i && l->contby_1_d < l->contby_0_d);
  const char value = one ? ONE : ZERO;
  imp_.protocol_C.push(decision_entry(l, value));
  l->good_value_c = value;
  if (l->line_type_c == BOUND_LINE) {
    imp_.unjustified_bound_line_C.fuege_ein(l);
    imp_.protocol_C.push(list_entry(l, list_change_t::bound_in));
  }
  imp_.implication_line_C.fuege_ein(l);
  if (l->in_eingangskegel_b) imp_.input_kegel_changed_b = 1;
}

char backtrace_C::continuation_of_backtrace_meaningful() {
  if (imp_.protocol_C.ujust_bound_changed_b) return 0;
  if (fault_signal_at_output()) return 1;
  d_front_candidate_t best = best_d_front_candidate(imp_.d_front_C);
  if (best.output == nullptr) return 1;
  return best.fed_by->successor() == d_front_gate_in_initial_objectives_p;
}
