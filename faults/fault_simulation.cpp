#include "faults/fault_simulation.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "app/messages.h"
#include "app/run.h"
#include "atpg/driver.h"
#include "atpg/targets.h"
#include "atpg/working_sets.h"
#include "faults/collapsing.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/protocol.h"

std::ofstream simu_F;

namespace {

bool is_one(unsigned char v) {
  return v == ONE || v == ONE_ROBUST;
}
bool is_zero(unsigned char v) {
  return v == ZERO || v == ZERO_ROBUST;
}

void undo_journal() {
  while (protocol_item_t* e = protocol_C.pop()) {
    if (e->line_p == nullptr) error(string_C("fault_simulation: Line Pointer is zero"));
    e->line_p->good_value_c = static_cast<char>(e->alter_gut_wert_c);
  }
}

// Gives line a new good value on the search's frontier, journalled.
// The frontier of the path search: fault-affected lines waiting for their
// successor gate, taken in level order of that gate and, on one level, in
// the order they arrived.
struct frontier_entry_t {
  int level;
  unsigned arrival;
  line_C* line;
  bool operator>(const frontier_entry_t& o) const {
    return level != o.level ? level > o.level : arrival > o.arrival;
  }
};

class frontier_t {
 public:
  void clear() {
    entries_.clear();
    arrivals_ = 0;
    effects_ = 0;
  }
  // Gives a line its fault-affected value, journalled; true when it is a
  // fault effect at a primary output.
  bool advance(line_C* line, unsigned char value) {
    protocol_C.push(line, 0, 0, 0, 0, 0, line->good_value_c, value, UNDEFINED, UNDEFINED);
    line->good_value_c = value;
    if (line->primary_output_b) return value != X;
    entries_.push_back({line->successor()->output()->plane_i, arrivals_++, line});
    std::push_heap(entries_.begin(), entries_.end(), std::greater<>());
    if (value != X) effects_++;
    return false;
  }
  bool empty() const { return entries_.empty(); }
  // Unknown values alone never make a detection.
  bool effects_left() const { return effects_ > 0; }
  line_C* take() {
    std::pop_heap(entries_.begin(), entries_.end(), std::greater<>());
    line_C* line = entries_.back().line;
    entries_.pop_back();
    if (line->good_value_c != X) effects_--;
    return line;
  }

 private:
  std::vector<frontier_entry_t> entries_;
  unsigned arrivals_ = 0;
  int effects_ = 0;
};

frontier_t frontier;
unsigned simulation_stamp = 0;

void add_detected(line_C* l, char value) {
  hilf_C.fuege_ein(l, value, 1);
}

void record_stuck_at_0(line_C* l) {
  l->sa0_done_b = 1;
  l->sa0_aborted_b = 0;
  add_detected(l, ZERO);
  simu_F << "s-a-0: " << l->name_s << ", ";
  mark_all(l, STUCK_AT_0_KIND);
}

void record_stuck_at_1(line_C* l) {
  l->sa1_done_b = 1;
  l->sa1_aborted_b = 0;
  add_detected(l, ONE);
  simu_F << "s-a-1: " << l->name_s << ", ";
  mark_all(l, STUCK_AT_1_KIND);
}

void record_falling(line_C* l) {
  add_detected(l, FALLING);
  simu_F << "falling: " << l->name_s << ", ";
  l->falling_done_b = 1;
  l->falling_aborted_b = 0;
  l->falling_hazard_b = 0;
}

void record_rising(line_C* l) {
  l->rising_done_b = 1;
  l->rising_aborted_b = 0;
  l->rising_hazard_b = 0;
  add_detected(l, RISING);
  simu_F << "rising: " << l->name_s << ", ";
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
      const bool and_like = g->gate_type_c == AND_GATE || g->gate_type_c == NAND_GATE;
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
      const bool inverting = g->gate_type_c == NAND_GATE || g->gate_type_c == NOR_GATE;
      const unsigned char effect = d ? D : D_BAR;
      out_value = inverting ? mynot(effect) : effect;
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

// The fault effect travels gate by gate in level order, each gate
// evaluated once all its fault-affected inputs are known. An effect stopped
// at an open input still leaves the gate's output unknown in the faulty
// circuit; such an output carries X onwards, so that no later gate takes it
// for a fault-free value. Only a D or D_BAR at a primary output detects.
char exist_signal_path_to_output(line_C* l, char v) {
  const unsigned char g = l->good_value_c;
  if (g == X) return 0;
  frontier.clear();
  simulation_stamp++;
  if (bridging_b) {
    if (frontier.advance(l, is_one(g) ? D : D_BAR)) return 1;
  } else if (is_one(g)) {
    if (v != X && ((only_stuck_at_test_b && l->sa0_done_b) || l->sa0_redundant_b || l->rising_done_b))
      return 0;
    if (frontier.advance(l, D)) return 1;
  } else if (is_zero(g)) {
    if (v != X && ((only_stuck_at_test_b && l->sa1_done_b) || l->sa1_redundant_b || l->falling_done_b))
      return 0;
    if (frontier.advance(l, D_BAR)) return 1;
  }
  while (!frontier.empty() && frontier.effects_left()) {
    line_C* selected = frontier.take();
    gate_C* gate = selected->successor();
    // The other fault-affected inputs of the gate arrived before it is
    // taken, and leave with it.
    if (gate->simulation_stamp_i == simulation_stamp) continue;
    gate->simulation_stamp_i = simulation_stamp;
    unsigned char out_value = X;
    const passage_t passage = pass_gate(gate, selected, out_value);
    if (passage == passage_t::fault_free) continue;
    const int n_out = gate->gate_type_c == FANOUT_GATE ? gate->outputs_C.anzahl_i : 1;
    for (int i = 0; i < n_out; i++) {
      line_C* out = gate->outputs_C[i];
      // An output the pattern leaves open is unknown in both circuits already.
      if (passage == passage_t::unknown && out->good_value_c == X) continue;
      if (frontier.advance(out, out_value)) return 1;
    }
  }
  return 0;
}

char line_C::check_generated_test(line_C* target, char v) {
  const unsigned char i = init_value_c;
  const unsigned char g = good_value_c;
  if ((v == ONE || v == FALLING) && is_one(g)) return 1;
  if ((v == ZERO || v == RISING) && is_zero(g)) return 1;
  if (hilf_C.element_in_liste(this, v, 0)) return 1;
  if (stuck_open_test_b && !primary_output_b && (v == FALLING || v == RISING)) {
    const bool low_low =
        (i == ZERO_ROBUST || i == ZERO || i == D_BAR) && (g == ZERO_ROBUST || g == ZERO || g == D_BAR);
    const bool high_high = (i == ONE_ROBUST || i == ONE || i == D) && (g == ONE_ROBUST || g == ONE || g == D);
    if (low_low || high_high) return 1;
    const gate_C* succ = successor();
    const bool or_like = succ->gate_type_c == OR_GATE || succ->gate_type_c == NOR_GATE;
    const bool and_like = succ->gate_type_c == AND_GATE || succ->gate_type_c == NAND_GATE;
    for (int k = 0; (or_like || and_like) && k < succ->inputs_C.anzahl_i; k++) {
      const line_C* in = succ->inputs_C[k];
      if (in == this) continue;
      const char stable = or_like ? ZERO : ONE;
      const char robust = or_like ? ZERO_ROBUST : ONE_ROBUST;
      const bool ok = in->init_value_c == stable &&
                      (in->good_value_c == robust || (!hazard_test_ein_b && in->good_value_c == stable));
      if (!ok) return 1;
    }
  }
  if (stuck_at_test_without_branches_b && !primary_input_b && driver()->gate_type_c == FANOUT_GATE) return 1;
  if (g == X || test_done_b) return 1;
  if (!(!primary_input_b && v == X && !only_stuck_at_test_b)) {
    if (g == ONE && rising_done_b) return 1;
    if (g == ZERO && falling_done_b) return 1;
    if (g == ZERO && i == ZERO && sa1_done_b) return 1;
    if (g == ONE && i == ONE && sa0_done_b) return 1;
  }
  const bool detected = (this == target && !init_pattern_b) || exist_signal_path_to_output(this, v);
  if (detected && v != X) {
    if (i == ONE) {
      if ((g == D || is_one(g)) && !sa0_done_b) {
        record_stuck_at_0(this);
      } else if (v == FALLING) {
        record_falling(this);
      } else if (v == ONE && !sa1_done_b) {
        record_stuck_at_1(this);
      }
    } else if (i == ZERO) {
      if ((g == D_BAR || is_zero(g)) && !sa1_done_b) {
        record_stuck_at_1(this);
      } else if (v == RISING) {
        record_rising(this);
      } else if (v == ZERO && !sa0_done_b) {
        record_stuck_at_0(this);
      }
    } else if (i == X) {
      if (g == D || is_one(g)) {
        record_stuck_at_0(this);
      } else {
        record_stuck_at_1(this);
      }
    } else if (i == UNDEFINED) {
      error(string_C("fault_simulation: undefined value in Init Value found"));
    }
  }
  if (!falling_hazard_b && !rising_hazard_b) hazard_b = 0;
  if (rising_done_b) {
    if (!sa0_done_b) record_stuck_at_0(this);
    if (!hazard_b && falling_done_b &&
        (primary_input_b || driver()->gate_type_c != BLOCK_GATE || only_stuck_at_test_b)) {
      test_done_b = 1;
    }
  }
  if (falling_done_b && !sa1_done_b) record_stuck_at_1(this);
  if (sa0_done_b && sa1_done_b) {
    stuck_at_done_b = 1;
    if (only_stuck_at_test_b) test_done_b = 1;
  }
  const bool contradiction = (sa1_done_b && sa1_redundant_b) || (sa0_done_b && sa0_redundant_b) ||
                             (rising_done_b && rising_redundant_b) || (falling_done_b && falling_redundant_b);
  return contradiction ? 0 : 1;
}

void fault_simulation(line_C* target, char test_value) {
  (void)test_value;
  for (int k = 0; k < zielfehler_C.anzahl_i; k++) {
    line_C* l = zielfehler_C[k]->line_p;
    const char w = zielfehler_C[k]->value_c;
    protocol_C.leeren();
    if (w == ZERO && !is_one(l->good_value_c)) continue;
    if (w == ONE && !is_zero(l->good_value_c)) continue;
    if (l->check_generated_test(target, w) == 0) {
      error(string_C("fault_simulation: testpattern-generatin or faultsimulation is untrue"));
    }
    undo_journal();
  }
}

void line_C::check_iddq_test(char v) {
  if (test_done_b) return;
  if (iddq_stuck_on_test_b) {
    if (v == X) return;
    if (!primary_output_b) {
      const gate_C* succ = successor();
      const bool and_like = succ->gate_type_c == AND_GATE || succ->gate_type_c == NAND_GATE;
      const bool or_like = succ->gate_type_c == OR_GATE || succ->gate_type_c == NOR_GATE;
      for (int k = 0; (and_like || or_like) && k < succ->inputs_C.anzahl_i; k++) {
        if (succ->inputs_C[k] != this && succ->inputs_C[k]->good_value_c != (and_like ? ONE : ZERO)) return;
      }
    }
  }
  if (good_value_c == ZERO && (v == ONE || v == FALLING)) {
    sa1_done_b = falling_done_b = 1;
    sa1_aborted_b = 0;
    if (iddq_stuck_on_test_b) {
      add_detected(this, FALLING);
      simu_F << "I-s-on-0: " << name_s << ", ";
    } else {
      add_detected(this, ONE);
      simu_F << "s-a-1: " << name_s << ", ";
    }
  }
  if (good_value_c == ONE && (v == ZERO || v == RISING)) {
    sa0_done_b = rising_done_b = 1;
    sa0_aborted_b = 0;
    if (iddq_stuck_on_test_b) {
      add_detected(this, RISING);
      simu_F << "I-s-on-1: " << name_s << ", ";
    } else {
      add_detected(this, ZERO);
      simu_F << "s-a-0: " << name_s << ", ";
    }
  }
  if (sa0_done_b && sa1_done_b) stuck_at_done_b = test_done_b = 1;
}

void iddq_fault_simulation() {
  for (int k = 0; k < zielfehler_C.anzahl_i; k++) {
    zielfehler_C[k]->line_p->check_iddq_test(zielfehler_C[k]->value_c);
  }
}
