// How a failed search is recorded on the line and, through the classes, on
// the faults related to it.
#include "base/messages.h"
#include "base/settings.h"
#include "faults/collapsing.h"
#include "faults/fault_kind.h"
#include "faults/target_list.h"
#include "implication/implication.h"
#include "model/line.h"

// A stuck-at-0 target shares its initialisation with the rising transition
// (the line starts at 0), a stuck-at-1 target with the falling one.
void collapsing_C::mark_result(line_C* line, fan_result_t r, char test_value) {
  line_value_liste_C& hilf_C = targets_.hilf_C;
  const bool stuck_at = test_value == ZERO || test_value == ONE;
  const bool rising = test_value == ZERO || test_value == RISING;
  char& transition_aborted = rising ? line->rising_aborted_b : line->falling_aborted_b;
  char& transition_redundant = rising ? line->rising_redundant_b : line->falling_redundant_b;
  if (line->hazard_b && imp_.hazard_test_ein_b) {
    if (!stuck_at && test_value != RISING && test_value != FALLING) return;
    if (stuck_at) aborted_flag(line, kind_of(test_value)) = 1;
    transition_aborted = 1;
    const char init = rising ? ZERO : ONE;
    if (line->init_value_c == init && !(rising ? line->rising_done_b : line->falling_done_b)) {
      (rising ? line->rising_hazard_b : line->falling_hazard_b) = 1;
    }
    if (stuck_at) mark_all(line, kind_of(test_value));
    return;
  }
  const bool aborted = r == ABORTED;
  if (stuck_at) {
    const int k = kind_of(test_value);
    if (aborted) {
      aborted_flag(line, k) = transition_aborted = 1;
    } else {
      redundant_flag(line, k) = transition_redundant = 1;
    }
    mark_all(line, k);
    if (!aborted) {
      hilf_C.fuege_ein(line, test_value, 1);
      hilf_C.fuege_ein(line, rising ? RISING : FALLING, 1);
    }
    return;
  }
  switch (test_value) {
    case RISING:
    case FALLING:
      if (imp_.init_pattern_b) {
        if (aborted) {
          line->falling_aborted_b = line->rising_aborted_b = 1;
        } else {
          line->rising_redundant_b = line->falling_redundant_b = 1;
          hilf_C.fuege_ein(line, RISING, 1);
          hilf_C.fuege_ein(line, FALLING, 1);
        }
      } else {
        // Stuck-on targets carry the stuck-at fault of the same line.
        const int k = rising ? STUCK_AT_0_KIND : STUCK_AT_1_KIND;
        if (aborted) {
          transition_aborted = 1;
          if (settings_.iddq_stuck_on_test_b) aborted_flag(line, k) = 1;
        } else {
          transition_redundant = 1;
          if (settings_.iddq_stuck_on_test_b) redundant_flag(line, k) = 1;
          hilf_C.fuege_ein(line, test_value, 1);
        }
      }
      return;
    default:
      error(string_C("line_C::mark_result: Unknown Value"));
  }
}
