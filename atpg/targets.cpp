#include "atpg/targets.h"

#include "base/messages.h"
#include "base/settings.h"
#include "faults/fault_kind.h"
#include "faults/target_list.h"
#include "implication/implication.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

void inject(line_C* l, char good, char bad) {
  l->good_value_c = good;
  l->bad_value_c = bad;
}

}  // namespace

targets_C::targets_C(const settings_C& settings, implication_C& imp, target_list_C& target_list)
    : settings_(settings), imp_(imp), target_list_(target_list) {}

char targets_C::should_be_tested(line_C* line, char test_value) {
  if (line->test_done_b) return 0;
  // A stuck-open test needs the other inputs of the successor at their
  // non-controlling value under the init values.
  auto side_inputs_hold = [line]() {
    const gate_C* g = line->successor();
    switch (g->gate_type_c) {
      case AND_GATE:
      case NAND_GATE:
      case OR_GATE:
      case NOR_GATE:
        break;
      case EXOR_GATE:
        return true;
      default:
        error(string_C("should_be_tested: Stuck-open test not possible for one gate"));
    }
    const char wanted = mynot(g->controlling_value());
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
      if (g->inputs_C[i] != line && g->inputs_C[i]->init_value_c != wanted) return false;
    }
    return true;
  };
  switch (test_value) {
    case ZERO:
      if (line->sa0_redundant_b || line->sa0_aborted_b) return 0;
      inject(line, ONE, ZERO);
      return 1;
    case ONE:
      if (line->sa1_redundant_b || line->sa1_aborted_b) return 0;
      inject(line, ZERO, ONE);
      return 1;
    case RISING:
      if (line->rising_done_b || line->rising_aborted_b || line->rising_redundant_b) return 0;
      if (!(line->init_value_c == ZERO || line->init_value_c == D_BAR || settings_.iddq_stuck_on_test_b))
        return 0;
      if (settings_.stuck_open_test_b && !line->primary_output_b && !side_inputs_hold()) return 0;
      inject(line, ONE, ZERO);
      return 1;
    case FALLING:
      if (line->falling_done_b || line->falling_aborted_b || line->falling_redundant_b) return 0;
      if (!(line->init_value_c == ONE || line->init_value_c == D || settings_.iddq_stuck_on_test_b)) return 0;
      if (settings_.stuck_open_test_b && !line->primary_output_b && !side_inputs_hold()) return 0;
      inject(line, ZERO, ONE);
      return 1;
    default:
      return 0;
  }
}

char targets_C::must_be_tested(line_C* line, char test_value) {
  line_value_liste_C& hilf_C = target_list_.hilf_C;
  if (line->test_done_b) {
    hilf_C.fuege_ein(line, test_value, 1);
    return 0;
  }
  const bool stuck_at_model = settings_.only_stuck_at_test_b || settings_.only_iddq_test_b;
  switch (test_value) {
    case ONE:
    case ZERO: {
      const int k = kind_of(test_value);
      if (!redundant_flag(line, k) && !aborted_flag(line, k) && !done_flag(line, k)) {
        inject(line, mynot(test_value), test_value);
        return 1;
      }
      if (stuck_at_model && !aborted_flag(line, k)) hilf_C.fuege_ein(line, test_value, 1);
      return 0;
    }
    // The initialisation run of a transition: the line at its first value,
    // no fault injected.
    case FALLING:
      if (line->sa1_redundant_b || line->sa1_aborted_b || line->falling_done_b || line->falling_redundant_b ||
          line->falling_aborted_b)
        return 0;
      inject(line, ONE, X);
      imp_.init_pattern_b = 1;
      return 1;
    case RISING:
      if (line->sa0_redundant_b || line->sa0_aborted_b || line->rising_done_b || line->rising_aborted_b ||
          line->rising_redundant_b)
        return 0;
      inject(line, ZERO, X);
      imp_.init_pattern_b = 1;
      return 1;
    default:
      return 0;
  }
}

line_value_t* targets_C::gen_fault() {
  line_value_liste_C& zielfehler_C = target_list_.zielfehler_C;
  imp_.init_pattern_b = 0;
  if (!settings_.only_iddq_test_b && !settings_.only_stuck_at_test_b) {
    for (int i = 0; i < zielfehler_C.anzahl_i; i++) {
      if (should_be_tested(zielfehler_C[i]->line_p, zielfehler_C[i]->value_c)) return zielfehler_C[i];
    }
  }
  for (int i = 0; i < zielfehler_C.anzahl_i; i++) {
    if (must_be_tested(zielfehler_C[i]->line_p, zielfehler_C[i]->value_c)) return zielfehler_C[i];
  }
  return nullptr;
}

line_line_t* targets_C::gen_br_fault() {
  line_line_liste_C& pairs = target_list_.zielfehler2_C;
  for (; act_bridging_list_index_i < pairs.anzahl(); act_bridging_list_index_i++) {
    line_line_t* pair = pairs[act_bridging_list_index_i];
    if (pair->pair_state_c == PAIR_UNTESTED) return pair;
  }
  return nullptr;
}
