// Fault simulation of the bridging targets under the present pattern.
#include <algorithm>

#include "base/settings.h"
#include "faults/bridging.h"
#include "faults/fault_simulation.h"
#include "faults/target_list.h"
#include "implication/implication.h"
#include "model/circuit.h"
#include "model/line.h"

std::vector<std::int64_t>& fault_simulation_C::open_pairs() {
  if (!open_pairs_listed_) {
    open_pairs_listed_ = true;
    const std::int64_t n = targets_.zielfehler2_C.anzahl();
    open_pairs_.reserve(static_cast<size_t>(n));
    for (std::int64_t i = 0; i < n; i++) open_pairs_.push_back(i);
  }
  return open_pairs_;
}

// Detected and redundant pairs never change again.
void fault_simulation_C::drop_settled_pairs() {
  line_line_liste_C& pairs = targets_.zielfehler2_C;
  std::erase_if(open_pairs_, [&](std::int64_t i) {
    const char state = pairs[i]->pair_state_c;
    return state == PAIR_DETECTED || state == PAIR_REDUNDANT;
  });
}

void fault_simulation_C::detect_pair(line_line_t* pair) {
  pair->pair_state_c = PAIR_DETECTED;
  targets_.elements_to_test_i--;
  detections_s += pair->line_a_p->name_s + "  <-->  " + pair->line_b_p->name_s + ", ";
}

// The effect of a signal depends on the pattern alone, so each signal is
// searched at most once per pattern however many pairs it belongs to.
bool fault_simulation_C::effect_reaches_output(line_C* l) {
  const size_t k = static_cast<size_t>(l->nummer_i);
  if (reach_stamp_[k] != pattern_stamp_) {
    reach_stamp_[k] = pattern_stamp_;
    imp_.protocol_C.leeren();
    reaches_[k] = exist_signal_path_to_output(l, 8);
    undo_journal();
  }
  return reaches_[k] != 0;
}

void fault_simulation_C::bridging_fault_simulation() {
  line_line_liste_C& pairs = targets_.zielfehler2_C;
  const size_t lines = static_cast<size_t>(circuit_.lines_C.anzahl_i) + 2;
  if (reach_stamp_.size() < lines) {
    reach_stamp_.assign(lines, 0);
    reaches_.assign(lines, 0);
  }
  pattern_stamp_++;
  open_alone_session();
  for (std::int64_t i : open_pairs()) {
    line_line_t* pair = pairs[i];
    if (pair->pair_state_c == PAIR_DETECTED || pair->pair_state_c == PAIR_REDUNDANT) continue;
    const char a = pair->line_a_p->good_value_c;
    const char b = pair->line_b_p->good_value_c;
    if (a == X || b == X || a == b) continue;
    line_C* carrier = appoint_propagation_signal(pair->line_a_p, pair->line_b_p);
    if (carrier != nullptr && effect_reaches_output(carrier)) detect_pair(pair);
  }
  alone_session_ = 0;
  drop_settled_pairs();
}

void fault_simulation_C::bridging_iddq_simulation() {
  line_line_liste_C& pairs = targets_.zielfehler2_C;
  for (std::int64_t i : open_pairs()) {
    line_line_t* pair = pairs[i];
    if (pair->pair_state_c == PAIR_DETECTED || pair->pair_state_c == PAIR_REDUNDANT) continue;
    const char a = pair->line_a_p->good_value_c;
    const char b = pair->line_b_p->good_value_c;
    if ((a == ZERO && b == ONE) || (a == ONE && b == ZERO)) detect_pair(pair);
  }
  drop_settled_pairs();
}
