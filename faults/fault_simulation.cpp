#include "faults/fault_simulation.h"

#include <algorithm>
#include <functional>

#include "base/messages.h"
#include "base/settings.h"
#include "faults/collapsing.h"
#include "faults/fault_kind.h"
#include "faults/robustness.h"
#include "faults/target_list.h"
#include "implication/implication.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

bool is_one(unsigned char v) {
  return v == ONE || v == ONE_ROBUST;
}
bool is_zero(unsigned char v) {
  return v == ZERO || v == ZERO_ROBUST;
}

// What a gate makes of the fault: its output keeps the fault-free value, or
// carries a fault effect (D or D_BAR, returned in out_value), or is unknown
// in the faulty circuit.
enum class passage_t { fault_free, effect, unknown };

// The fault-affected lines are those in the frontier: a fault effect (D or
// D_BAR) or, where the faulty value is unknown, X. Every other line holds
// its fault-free value, X where the pattern leaves it open.
passage_t pass_gate(const gate_C* g, const line_C* s, unsigned char& out_value) {
  const line_liste_C& in = g->inputs_C;
  switch (g->gate_type_c) {
    case AND_GATE:
    case NAND_GATE:
    case OR_GATE:
    case NOR_GATE: {
      const gate_semantics_t sem = g->semantics();
      const bool and_like = sem.controlling_value_c == ZERO;
      bool open = false, d = false, d_bar = false;
      for (int i = 0; i < in.anzahl_i; i++) {
        const unsigned char v = in[i]->good_value_c;
        if (and_like ? is_zero(v) : is_one(v)) return passage_t::fault_free;  // controlled in both circuits
        open |= v == X;
        d |= v == D;
        d_bar |= v == D_BAR;
      }
      // Effects of both polarities put the controlling value on the gate in
      // either circuit.
      if (d && d_bar) return passage_t::fault_free;
      if (open) return passage_t::unknown;
      const unsigned char effect = d ? D : D_BAR;
      out_value = sem.inverting_b ? mynot(effect) : effect;
      return passage_t::effect;
    }
    case EXOR_GATE: {
      const unsigned char a = in[0]->good_value_c;
      const unsigned char b = in[1]->good_value_c;
      if ((a == D || a == D_BAR) && (b == D || b == D_BAR)) return passage_t::fault_free;
      if (a == X || b == X) return passage_t::unknown;
      const unsigned char other = in[0] == s ? b : a;
      out_value = is_zero(other) ? s->good_value_c : mynot(s->good_value_c);
      return passage_t::effect;
    }
    case INVERTER_GATE:
    case DRIVER_GATE:
    case FANOUT_GATE:
      if (s->good_value_c == X) return passage_t::unknown;
      out_value = g->gate_type_c == INVERTER_GATE ? mynot(s->good_value_c) : s->good_value_c;
      return passage_t::effect;
    case FLIPFLOP_GATE:
    case SEQUENTIAL_GATE:
      error(string_C("exist_signal_path_to_output: not implemented for sequential gates"));
    default:
      error(string_C("exist_signal_path_to_output: undefined gate found"));
  }
}

}  // namespace

fault_simulation_C::fault_simulation_C(circuit_C& circuit, const settings_C& settings, implication_C& imp,
                                       target_list_C& targets, collapsing_C& collapsing)
    : circuit_(circuit), settings_(settings), imp_(imp), targets_(targets), collapsing_(collapsing) {}

void fault_simulation_C::undo_journal() {
  while (protocol_item_t* e = imp_.protocol_C.pop()) {
    if (e->line_p == nullptr) error(string_C("fault_simulation: Line Pointer is zero"));
    e->line_p->good_value_c = static_cast<char>(e->alter_gut_wert_c);
  }
}

// Gives a line its fault-affected value, journalled; true when it is a fault
// effect at a primary output.
bool fault_simulation_C::advance(line_C* line, unsigned char value) {
  imp_.protocol_C.push(good_value_entry(line, line->good_value_c, value));
  line->good_value_c = value;
  if (line->primary_output_b) return value != X;
  const size_t n = static_cast<size_t>(line->nummer_i);
  if (n >= successor_level_.size())
    error(string_C("fault_simulation: signal number beyond the signal count"));
  frontier_.push_back({successor_level_[n], arrivals_++, line});
  std::push_heap(frontier_.begin(), frontier_.end(), std::greater<>());
  if (value != X) effects_++;
  return false;
}

line_C* fault_simulation_C::take() {
  std::pop_heap(frontier_.begin(), frontier_.end(), std::greater<>());
  line_C* line = frontier_.back().line;
  frontier_.pop_back();
  if (line->good_value_c != X) effects_--;
  return line;
}

void fault_simulation_C::add_detected(line_C* l, char value) {
  targets_.hilf_C.fuege_ein(l, value, 1);
}

void fault_simulation_C::record_stuck_at(line_C* l, int k) {
  done_flag(l, k) = 1;
  aborted_flag(l, k) = 0;
  add_detected(l, test_value_of(k));
  detections_s += (k == STUCK_AT_0_KIND ? "s-a-0: " : "s-a-1: ") + l->name_s + ", ";
  collapsing_.mark_all(l, k);
}

void fault_simulation_C::record_transition(line_C* l, char value) {
  const bool rising = value == RISING;
  (rising ? l->rising_done_b : l->falling_done_b) = 1;
  (rising ? l->rising_aborted_b : l->falling_aborted_b) = 0;
  (rising ? l->rising_hazard_b : l->falling_hazard_b) = 0;
  add_detected(l, value);
  detections_s += (rising ? "rising: " : "falling: ") + l->name_s + ", ";
}

// The fault effect travels gate by gate in level order, each gate
// evaluated once all its fault-affected inputs are known. An effect stopped
// at an open input still leaves the gate's output unknown in the faulty
// circuit; such an output carries X onwards, so that no later gate takes it
// for a fault-free value. Only a D or D_BAR at a primary output detects.
char fault_simulation_C::exist_signal_path_to_output(line_C* l, char v) {
  const unsigned char g = l->good_value_c;
  if (g == X) return 0;
  size_per_signal();
  frontier_.clear();
  arrivals_ = 0;
  effects_ = 0;
  simulation_stamp_++;
  if (settings_.bridging_b) {
    if (advance(l, is_one(g) ? D : D_BAR)) return 1;
  } else if (is_one(g)) {
    if (v != X &&
        ((settings_.only_stuck_at_test_b && l->sa0_done_b) || l->sa0_redundant_b || l->rising_done_b))
      return 0;
    if (advance(l, D)) return 1;
  } else if (is_zero(g)) {
    if (v != X &&
        ((settings_.only_stuck_at_test_b && l->sa1_done_b) || l->sa1_redundant_b || l->falling_done_b))
      return 0;
    if (advance(l, D_BAR)) return 1;
  }
  alone_passed_.clear();
  const char reached = propagate();
  for (size_t key : alone_passed_) {
    alone_stamp_[key] = alone_session_;
    alone_reaches_[key] = reached;
  }
  return reached;
}

// Signals are taken in level order and each feeds one gate, so a signal
// alone in the frontier whose gate is not yet evaluated is the only
// fault-affected input that gate or any later one has: from there on the
// outcome is that of the signal's own effect under the pattern.
char fault_simulation_C::propagate() {
  // Unknown values alone never make a detection.
  while (!frontier_.empty() && effects_ > 0) {
    line_C* selected = take();
    gate_C* gate = selected->successor();
    // The other fault-affected inputs of the gate arrived before it is
    // taken, and leave with it.
    if (gate->simulation_stamp_i == simulation_stamp_) continue;
    gate->simulation_stamp_i = simulation_stamp_;
    const unsigned char effect = selected->good_value_c;
    if (alone_session_ != 0 && frontier_.empty() && (effect == D || effect == D_BAR)) {
      const size_t key = 2 * static_cast<size_t>(selected->nummer_i) + (effect == D_BAR);
      if (key >= alone_stamp_.size())
        error(string_C("fault_simulation: signal number beyond the signal count"));
      if (alone_stamp_[key] == alone_session_) return alone_reaches_[key];
      alone_passed_.push_back(key);
    }
    unsigned char out_value = X;
    const passage_t passage = pass_gate(gate, selected, out_value);
    if (passage == passage_t::fault_free) continue;
    const int n_out = gate->gate_type_c == FANOUT_GATE ? gate->outputs_C.anzahl_i : 1;
    for (int i = 0; i < n_out; i++) {
      line_C* out = gate->outputs_C[i];
      // An output the pattern leaves open is unknown in both circuits already.
      if (passage == passage_t::unknown && out->good_value_c == X) continue;
      if (advance(out, out_value)) return 1;
    }
  }
  return 0;
}

void fault_simulation_C::size_per_signal() {
  const size_t signals = static_cast<size_t>(circuit_.lines_C.anzahl_i) + 2;
  if (successor_level_.size() == signals) return;
  successor_level_.assign(signals, 0);
  alone_stamp_.assign(2 * signals, 0);
  alone_reaches_.assign(2 * signals, 0);
  alone_sessions_ = 0;
  const line_liste_C& lines = circuit_.lines_C;
  for (int i = 0; i < lines.anzahl_i; i++) {
    const line_C* l = lines[i];
    const size_t n = static_cast<size_t>(l->nummer_i);
    if (n >= signals) error(string_C("fault_simulation: signal number beyond the signal count"));
    if (!l->primary_output_b) successor_level_[n] = l->successor()->output()->plane_i;
  }
}

// The fault-free values stay as they are until the session is closed.
void fault_simulation_C::open_alone_session() {
  size_per_signal();
  if (++alone_sessions_ == 0) {  // the stamps wrapped round: start afresh
    std::fill(alone_stamp_.begin(), alone_stamp_.end(), 0);
    alone_sessions_ = 1;
  }
  alone_session_ = alone_sessions_;
}

char fault_simulation_C::check_generated_test(line_C* l, line_C* target, char v) {
  const unsigned char i = l->init_value_c;
  const unsigned char g = l->good_value_c;
  if ((v == ONE || v == FALLING) && is_one(g)) return 1;
  if ((v == ZERO || v == RISING) && is_zero(g)) return 1;
  if (targets_.hilf_C.element_in_liste(l, v, 0)) return 1;
  if (settings_.stuck_open_test_b && !l->primary_output_b && (v == FALLING || v == RISING)) {
    const bool low_low =
        (i == ZERO_ROBUST || i == ZERO || i == D_BAR) && (g == ZERO_ROBUST || g == ZERO || g == D_BAR);
    const bool high_high = (i == ONE_ROBUST || i == ONE || i == D) && (g == ONE_ROBUST || g == ONE || g == D);
    if (low_low || high_high) return 1;
    const gate_C* succ = l->successor();
    // The side inputs must hold the non-controlling value, robustly.
    const unsigned char c = succ->controlling_value();
    for (int k = 0; c != X && k < succ->inputs_C.anzahl_i; k++) {
      const line_C* in = succ->inputs_C[k];
      if (in == l) continue;
      const char stable = mynot(c);
      const char robust = c == ONE ? ZERO_ROBUST : ONE_ROBUST;
      const bool ok = in->init_value_c == stable &&
                      (in->good_value_c == robust || (!imp_.hazard_test_ein_b && in->good_value_c == stable));
      if (!ok) return 1;
    }
  }
  if (settings_.stuck_at_test_without_branches_b && l->is_fanout_branch()) return 1;
  if (g == X || l->test_done_b) return 1;
  if (!(!l->primary_input_b && v == X && !settings_.only_stuck_at_test_b)) {
    if (g == ONE && l->rising_done_b) return 1;
    if (g == ZERO && l->falling_done_b) return 1;
    if (g == ZERO && i == ZERO && l->sa1_done_b) return 1;
    if (g == ONE && i == ONE && l->sa0_done_b) return 1;
  }
  const bool detected = (l == target && !imp_.init_pattern_b) || exist_signal_path_to_output(l, v);
  if (detected && v != X) {
    if (i == ONE) {
      if ((g == D || is_one(g)) && !l->sa0_done_b) {
        record_stuck_at(l, STUCK_AT_0_KIND);
      } else if (v == FALLING) {
        record_transition(l, FALLING);
      } else if (v == ONE && !l->sa1_done_b) {
        record_stuck_at(l, STUCK_AT_1_KIND);
      }
    } else if (i == ZERO) {
      if ((g == D_BAR || is_zero(g)) && !l->sa1_done_b) {
        record_stuck_at(l, STUCK_AT_1_KIND);
      } else if (v == RISING) {
        record_transition(l, RISING);
      } else if (v == ZERO && !l->sa0_done_b) {
        record_stuck_at(l, STUCK_AT_0_KIND);
      }
    } else if (i == X) {
      record_stuck_at(l, g == D || is_one(g) ? STUCK_AT_0_KIND : STUCK_AT_1_KIND);
    } else if (i == UNDEFINED) {
      error(string_C("fault_simulation: undefined value in Init Value found"));
    }
  }
  if (!l->falling_hazard_b && !l->rising_hazard_b) l->hazard_b = 0;
  if (l->rising_done_b) {
    if (!l->sa0_done_b) record_stuck_at(l, STUCK_AT_0_KIND);
    if (!l->hazard_b && l->falling_done_b &&
        (l->primary_input_b || l->driver()->gate_type_c != BLOCK_GATE || settings_.only_stuck_at_test_b)) {
      l->test_done_b = 1;
    }
  }
  if (l->falling_done_b && !l->sa1_done_b) record_stuck_at(l, STUCK_AT_1_KIND);
  if (l->sa0_done_b && l->sa1_done_b) {
    l->stuck_at_done_b = 1;
    if (settings_.only_stuck_at_test_b) l->test_done_b = 1;
  }
  const bool contradiction = (l->sa1_done_b && l->sa1_redundant_b) || (l->sa0_done_b && l->sa0_redundant_b) ||
                             (l->rising_done_b && l->rising_redundant_b) ||
                             (l->falling_done_b && l->falling_redundant_b);
  return contradiction ? 0 : 1;
}

void fault_simulation_C::fault_simulation(line_C* target, char test_value) {
  if (settings_.bridging_b) {
    bridging_fault_simulation();
    return;
  }
  line_value_liste_C& zielfehler_C = targets_.zielfehler_C;
  if (imp_.hazard_test_ein_b) {
    // The memo of the search is not kept up to date by the final
    // justification: the check starts afresh. An initialisation run's own
    // target has no test to check yet.
    for (int i = 0; i < circuit_.gates_C.anzahl_i; i++) circuit_.gates_C[i]->hazard_state_c = 0;
    imp_.hazard_memo_written_b = 1;
    if (target != nullptr && !imp_.init_pattern_b && robustness_test(target, test_value)) {
      target->hazard_b = 1;
      imp_.hazard_occured_b = 1;
      collapsing_.mark_result(target, ABORTED, test_value);
    }
    mark_robust_signals(circuit_);
  }
  open_alone_session();
  for (int k = 0; k < zielfehler_C.anzahl_i; k++) {
    line_C* l = zielfehler_C[k]->line_p;
    const char w = zielfehler_C[k]->value_c;
    imp_.protocol_C.leeren();
    if (w == ZERO && !is_one(l->good_value_c)) continue;
    if (w == ONE && !is_zero(l->good_value_c)) continue;
    if (check_generated_test(l, target, w) == 0) {
      error(string_C("fault_simulation: testpattern-generatin or faultsimulation is untrue"));
    }
    undo_journal();
  }
  alone_session_ = 0;
  if (imp_.hazard_test_ein_b) {
    const line_liste_C& lines_C = circuit_.lines_C;
    for (int i = 0; i < lines_C.anzahl_i; i++) {
      line_C* l = lines_C[i];
      if (l->good_value_c == ZERO_ROBUST) l->good_value_c = ZERO;
      if (l->good_value_c == ONE_ROBUST) l->good_value_c = ONE;
    }
  }
}

void fault_simulation_C::check_iddq_test(line_C* l, char v) {
  if (l->test_done_b) return;
  if (settings_.iddq_stuck_on_test_b) {
    if (v == X) return;
    if (!l->primary_output_b) {
      // Current flows only while the other inputs hold the non-controlling value.
      const gate_C* succ = l->successor();
      const unsigned char c = succ->controlling_value();
      for (int k = 0; c != X && k < succ->inputs_C.anzahl_i; k++) {
        if (succ->inputs_C[k] != l && succ->inputs_C[k]->good_value_c != mynot(c)) return;
      }
    }
  }
  if (l->good_value_c == ZERO && (v == ONE || v == FALLING)) {
    l->sa1_done_b = l->falling_done_b = 1;
    l->sa1_aborted_b = 0;
    if (settings_.iddq_stuck_on_test_b) {
      add_detected(l, FALLING);
      detections_s += "I-s-on-0: " + l->name_s + ", ";
    } else {
      add_detected(l, ONE);
      detections_s += "s-a-1: " + l->name_s + ", ";
    }
  }
  if (l->good_value_c == ONE && (v == ZERO || v == RISING)) {
    l->sa0_done_b = l->rising_done_b = 1;
    l->sa0_aborted_b = 0;
    if (settings_.iddq_stuck_on_test_b) {
      add_detected(l, RISING);
      detections_s += "I-s-on-1: " + l->name_s + ", ";
    } else {
      add_detected(l, ZERO);
      detections_s += "s-a-0: " + l->name_s + ", ";
    }
  }
  if (l->sa0_done_b && l->sa1_done_b) l->stuck_at_done_b = l->test_done_b = 1;
}

void fault_simulation_C::iddq_fault_simulation() {
  if (settings_.bridging_iddq_b || settings_.bridging_b) {
    bridging_iddq_simulation();
    return;
  }
  line_value_liste_C& zielfehler_C = targets_.zielfehler_C;
  for (int k = 0; k < zielfehler_C.anzahl_i; k++) {
    check_iddq_test(zielfehler_C[k]->line_p, zielfehler_C[k]->value_c);
  }
}
