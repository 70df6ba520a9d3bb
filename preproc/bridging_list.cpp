#include "preproc/bridging_list.h"

#include <strings.h>

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "base/messages.h"
#include "base/settings.h"
#include "faults/bridging.h"
#include "faults/target_list.h"
#include "model/circuit.h"
#include "model/line.h"

namespace {

constexpr size_t longest_name = 799;

bool read_word(std::istream& in, std::string& word) {
  if (!(in >> word)) return false;
  if (word.size() > longest_name)
    error(with_limit("read_bridging_fault_list: a word of the bridging fault list file is too long",
                     longest_name));
  return true;
}

}  // namespace

void read_bridging_fault_list(std::istream& in, circuit_C& circuit, const settings_C& settings,
                              messages_C& messages, target_list_C& targets) {
  line_line_liste_C& pairs = targets.zielfehler2_C;
  std::string keyword, a_name, b_name;
  // The last record is read whether or not white space follows it.
  while (read_word(in, keyword) && read_word(in, a_name) && read_word(in, b_name)) {
    if (settings.bridging_b && strcasecmp(keyword.c_str(), "bridge") != 0) continue;
    line_C* a = circuit.search_line(a_name);
    line_C* b = circuit.search_line(b_name);
    if (a == nullptr || b == nullptr) continue;
    if (a == b) {
      // A signal shorted with itself is no fault; as a target it could never
      // be detected nor given up.
      messages.warning(string_C(a_name + " bridged with itself: record skipped"));
      continue;
    }
    pairs.fuege_ein(a, b);
  }
  std::cout << "\t\t" << pairs.anzahl() << " target faults demanded\n" << std::flush;
}

void calculate_bridgings(circuit_C& circuit, const settings_C& settings, target_list_C& targets) {
  std::ofstream stat(settings.schaltungsname_s + ".stat", std::ios::app);
  stat << "\n\n\nElectric Untestable Faults:"
       << "\n";
  std::vector<line_C*> signals;
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    if (!circuit.lines_C[i]->is_fanout_branch()) signals.push_back(circuit.lines_C[i]);
  }
  const std::int64_t n = static_cast<std::int64_t>(signals.size());
  auto testable = [&](std::int64_t i, std::int64_t j) {
    return settings.bridging_iddq_b || first_activation(signals[i], signals[j]).carrier != nullptr;
  };
  // Counted before anything is stored, so that a circuit too large for the
  // machine ends at once with the number it would need.
  std::int64_t count = 0;
  if (settings.bridging_iddq_b) {
    count = n * (n - 1) / 2;
  } else {
    for (std::int64_t i = 0; i < n; i++) {
      for (std::int64_t j = i + 1; j < n; j++) count += testable(i, j);
    }
  }
  line_line_liste_C& pairs = targets.zielfehler2_C;
  const std::int64_t capacity = pairs.max_records_l;
  if (count > capacity) {
    error(string_C("calculate_bridgings: the circuit has " + std::to_string(count) +
                   " bridging pairs, more than the " + std::to_string(capacity) +
                   " this machine can hold; name the pairs to test in the file " + settings.schaltungsname_s +
                   ".BF_flt"));
  }
  pairs.reserve(count);
  for (std::int64_t i = 0; i < n; i++) {
    for (std::int64_t j = i + 1; j < n; j++) {
      if (testable(i, j)) {
        pairs.fuege_ein(signals[i], signals[j]);
      } else {
        targets.nr_redFaults++;
        stat << signals[i]->name_s << "  <-->  " << signals[j]->name_s << "\n";
      }
    }
  }
  std::cout << "\t\t" << pairs.anzahl() << " target faults demanded\n" << std::flush;
}
