#include "atpg/targets.h"

#include <utility>

#include "app/messages.h"
#include "app/run.h"
#include "atpg/driver.h"
#include "faults/collapsing.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/key_set.h"
#include "model/line.h"

line_value_liste_C zielfehler_C(line_value_rolle_t::zielfehler);
line_value_liste_C hilf_C(line_value_rolle_t::hilf);

namespace {

bool is_fanout_branch(const line_C* l) {
  return !l->primary_input_b && l->driver()->gate_type_c == FANOUT_GATE;
}

void inject(line_C* l, char good, char bad) {
  l->good_value_c = good;
  l->bad_value_c = bad;
}

}  // namespace

void erstelle_zielfehlerliste(line_value_liste_C& list) {
  // Each line is visited once, so only entries that were there before can
  // already name it.
  const bool had_entries = !list.is_empty();
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    if (had_entries && list.element_in_liste(l, ZERO, 0) && list.element_in_liste(l, ONE, 0)) continue;
    if (transition_test_b || stuck_open_test_b || iddq_stuck_on_test_b) {
      if (l->primary_output_b || l->successor()->no_inputs_i < 2) continue;
      list.fuege_ein(l, FALLING, 0);
      list.fuege_ein(l, RISING, 0);
    } else if (only_stuck_at_test_b && stuck_at_test_without_branches_b) {
      if (is_fanout_branch(l)) continue;
      list.fuege_ein(l, ZERO, 0);
      list.fuege_ein(l, ONE, 0);
    } else if (only_stuck_at_test_b) {
      if (!l->primary_input_b && !is_fanout_branch(l) && l->driver()->gate_type_c != EXOR_GATE) continue;
      list.fuege_ein(l, ZERO, 0);
      list.fuege_ein(l, ONE, 0);
    } else {
      list.fuege_ein(l, ZERO, 0);
      list.fuege_ein(l, ONE, 0);
    }
  }
}

char line_C::should_be_tested(char test_value) {
  if (test_done_b) return 0;
  auto side_inputs_hold = [this](char and_value, char or_value) {
    const gate_C* g = successor();
    char wanted;
    switch (g->gate_type_c) {
      case AND_GATE:
      case NAND_GATE:
        wanted = and_value;
        break;
      case OR_GATE:
      case NOR_GATE:
        wanted = or_value;
        break;
      case EXOR_GATE:
        return true;
      default:
        error(string_C("should_be_tested: Stuck-open test not possible for one gate"));
    }
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
      if (g->inputs_C[i] != this && g->inputs_C[i]->init_value_c != wanted) return false;
    }
    return true;
  };
  switch (test_value) {
    case ZERO:
      if (sa0_redundant_b || sa0_aborted_b) return 0;
      inject(this, ONE, ZERO);
      return 1;
    case ONE:
      if (sa1_redundant_b || sa1_aborted_b) return 0;
      inject(this, ZERO, ONE);
      return 1;
    case RISING:
      if (rising_done_b || rising_aborted_b || rising_redundant_b) return 0;
      if (!(init_value_c == ZERO || init_value_c == D_BAR || iddq_stuck_on_test_b)) return 0;
      if (stuck_open_test_b && !primary_output_b && !side_inputs_hold(ONE, ZERO)) return 0;
      inject(this, ONE, ZERO);
      return 1;
    case FALLING:
      if (falling_done_b || falling_aborted_b || falling_redundant_b) return 0;
      if (!(init_value_c == ONE || init_value_c == D || iddq_stuck_on_test_b)) return 0;
      if (stuck_open_test_b && !primary_output_b && !side_inputs_hold(ONE, ZERO)) return 0;
      inject(this, ZERO, ONE);
      return 1;
    default:
      return 0;
  }
}

char line_C::must_be_tested(char test_value) {
  if (test_done_b) {
    hilf_C.fuege_ein(this, test_value, 1);
    return 0;
  }
  const bool stuck_at_model = only_stuck_at_test_b || only_iddq_test_b;
  switch (test_value) {
    case ONE:
      if (!sa1_redundant_b && !sa1_aborted_b && !sa1_done_b) {
        inject(this, ZERO, ONE);
        return 1;
      }
      if (stuck_at_model && !sa1_aborted_b) hilf_C.fuege_ein(this, ONE, 1);
      return 0;
    case ZERO:
      if (!sa0_redundant_b && !sa0_aborted_b && !sa0_done_b) {
        inject(this, ONE, ZERO);
        return 1;
      }
      if (stuck_at_model && !sa0_aborted_b) hilf_C.fuege_ein(this, ZERO, 1);
      return 0;
    case FALLING:
      if (sa1_redundant_b || sa1_aborted_b || falling_done_b || falling_redundant_b || falling_aborted_b)
        return 0;
      inject(this, ONE, ZERO);
      init_pattern_b = 1;
      return 1;
    case RISING:
      if (sa0_redundant_b || sa0_aborted_b || rising_done_b || rising_aborted_b || rising_redundant_b)
        return 0;
      inject(this, ZERO, ONE);
      init_pattern_b = 1;
      return 1;
    default:
      return 0;
  }
}

line_value_t* gen_fault() {
  init_pattern_b = 0;
  if (!only_iddq_test_b && !only_stuck_at_test_b) {
    for (int i = 0; i < zielfehler_C.anzahl_i; i++) {
      if (zielfehler_C[i]->line_p->should_be_tested(zielfehler_C[i]->value_c)) return zielfehler_C[i];
    }
  }
  for (int i = 0; i < zielfehler_C.anzahl_i; i++) {
    if (zielfehler_C[i]->line_p->must_be_tested(zielfehler_C[i]->value_c)) return zielfehler_C[i];
  }
  return nullptr;
}

// One pass over the target list: a pattern can detect many targets, and the
// list is long.
void drop_hilf_from_targets() {
  if (hilf_C.is_empty()) return;
  key_set_t detected;
  auto key = [](const line_value_t* r) {
    return (static_cast<uint64_t>(r->line_p->nummer_i) << 4 | static_cast<uint64_t>(r->value_c & 0xF)) + 1;
  };
  for (int i = 0; i < hilf_C.anzahl_i; i++) detected.insert(key(hilf_C[i]));
  int kept = 0;
  for (int i = 0; i < zielfehler_C.anzahl_i; i++) {
    if (detected.contains(key(zielfehler_C[i]))) continue;
    std::swap(zielfehler_C.elemente_p[kept++], zielfehler_C.elemente_p[i]);
  }
  zielfehler_C.anzahl_i = kept;
  hilf_C.anzahl_i = 0;
}

void line_C::mark_result(fan_result_t r, char test_value) {
  if (hazard_b && hazard_test_ein_b) {
    switch (test_value) {
      case ZERO:
        sa0_aborted_b = rising_aborted_b = 1;
        if (init_value_c == ZERO && !rising_done_b) rising_hazard_b = 1;
        mark_all(this, STUCK_AT_0_KIND);
        break;
      case ONE:
        sa1_aborted_b = falling_aborted_b = 1;
        if (init_value_c == ONE && !falling_done_b) falling_hazard_b = 1;
        mark_all(this, STUCK_AT_1_KIND);
        break;
      case RISING:
        rising_aborted_b = 1;
        if (init_value_c == ZERO && !rising_done_b) rising_hazard_b = 1;
        break;
      case FALLING:
        falling_aborted_b = 1;
        if (init_value_c == ONE && !falling_done_b) falling_hazard_b = 1;
        break;
      default:
        break;
    }
    return;
  }
  const bool aborted = r == ABORTED;
  switch (test_value) {
    case ONE:
      if (aborted) {
        sa1_aborted_b = falling_aborted_b = 1;
      } else {
        sa1_redundant_b = falling_redundant_b = 1;
      }
      mark_all(this, STUCK_AT_1_KIND);
      if (!aborted) {
        hilf_C.fuege_ein(this, ONE, 1);
        hilf_C.fuege_ein(this, FALLING, 1);
      }
      return;
    case ZERO:
      if (aborted) {
        sa0_aborted_b = rising_aborted_b = 1;
      } else {
        rising_redundant_b = sa0_redundant_b = 1;
      }
      mark_all(this, STUCK_AT_0_KIND);
      if (!aborted) {
        hilf_C.fuege_ein(this, ZERO, 1);
        hilf_C.fuege_ein(this, RISING, 1);
      }
      return;
    case RISING:
    case FALLING:
      if (init_pattern_b) {
        if (aborted) {
          falling_aborted_b = rising_aborted_b = 1;
        } else {
          rising_redundant_b = falling_redundant_b = 1;
          hilf_C.fuege_ein(this, RISING, 1);
          hilf_C.fuege_ein(this, FALLING, 1);
        }
      } else if (test_value == RISING) {
        if (aborted) {
          rising_aborted_b = 1;
          if (iddq_stuck_on_test_b) sa0_aborted_b = 1;
        } else {
          rising_redundant_b = 1;
          if (iddq_stuck_on_test_b) sa0_redundant_b = 1;
          hilf_C.fuege_ein(this, RISING, 1);
        }
      } else {
        if (aborted) {
          falling_aborted_b = 1;
          if (iddq_stuck_on_test_b) sa1_aborted_b = 1;
        } else {
          falling_redundant_b = 1;
          if (iddq_stuck_on_test_b) sa1_redundant_b = 1;
          hilf_C.fuege_ein(this, FALLING, 1);
        }
      }
      return;
    default:
      error(string_C("line_C::mark_result: Unknown Value"));
  }
}
