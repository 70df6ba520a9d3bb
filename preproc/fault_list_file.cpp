#include "preproc/fault_list_file.h"

#include <strings.h>

#include <iostream>
#include <string>

#include "base/messages.h"
#include "base/settings.h"
#include "faults/collapsing.h"
#include "faults/target_list.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

constexpr size_t longest_word = 799;

// The test value a keyword stands for in the selected model, or X when the
// model does not take it.
unsigned char test_value_of(const std::string& keyword, const settings_C& s) {
  const bool stuck_at = s.only_stuck_at_test_b || s.only_iddq_test_b;
  const bool transition = s.stuck_open_test_b || s.transition_test_b;
  const bool stuck_on = s.iddq_stuck_on_test_b;
  auto is = [&](const char* word) { return strcasecmp(keyword.c_str(), word) == 0; };
  if (is("s-a-0")) return stuck_at ? ZERO : X;
  if (is("s-a-1")) return stuck_at ? ONE : X;
  // The transition keywords serve every model the table of keywords does not name.
  if (is("falling")) return !stuck_at && !stuck_on ? FALLING : X;
  if (is("rising")) return !stuck_at && !stuck_on ? RISING : X;
  if (is("i-s-on-0")) return !stuck_at && !transition ? FALLING : X;
  if (is("i-s-on-1")) return !stuck_at && !transition ? RISING : X;
  return X;
}

// The name a signal answers to when the record gives name.
bool answers_to(const line_C* l, const std::string& name) {
  if (l->is_fanout_branch() && l->name_s.size() > name.size()) {
    return l->name_s.compare(0, l->name_s.rfind('_'), name) == 0 && l->name_s.rfind('_') == name.size();
  }
  return l->name_s == name;
}

bool read_word(std::istream& in, std::string& word) {
  if (!(in >> word)) return false;
  if (word.size() > longest_word)
    error(with_limit("read_flt: a word of the fault list file is too long", longest_word));
  return true;
}

}  // namespace

// The last record is read whether or not white space follows it.
void read_flt(std::istream& in, circuit_C& circuit, const settings_C& settings, messages_C& messages,
              target_list_C& targets) {
  targets.flt_read_b = 1;
  std::string keyword, name;
  while (read_word(in, keyword) && read_word(in, name)) {
    const unsigned char value = test_value_of(keyword, settings);
    if (value == X) continue;
    bool found = false;
    for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
      line_C* l = circuit.lines_C[i];
      if (!answers_to(l, name)) continue;
      found = true;
      targets.zielfehler_C.fuege_ein(l, value, 1);
    }
    if (!found) messages.warning(string_C(name + " not found in circuit"));
  }
  std::cout << "\t\t" << targets.zielfehler_C.anzahl_i << " target faults demanded\n" << std::flush;
  sort_by_falling_level(targets.zielfehler_C);
}
