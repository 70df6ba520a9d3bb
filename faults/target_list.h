// The target faults of a run: the list the search walks, what a target is
// in each fault model, and the faults a pattern or a search result has
// settled, waiting to be dropped from the list.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/record_lists.h"

class circuit_C;
class line_C;
struct settings_C;

class target_list_C {
 public:
  target_list_C(circuit_C& circuit, const settings_C& settings);

  // The single-line targets, and the pairs to drop from them after the
  // present target.
  line_value_liste_C zielfehler_C{line_value_rolle_t::zielfehler};
  line_value_liste_C hilf_C{line_value_rolle_t::hilf};
  // 1 when the target faults were read from a fault list file.
  char flt_read_b = 0;

  // The bridging targets: pairs of signals with what the run found out.
  line_line_liste_C zielfehler2_C;
  // Pairs that no values can activate, counted but not listed.
  std::int64_t nr_redFaults = 0;
  // Bridging targets neither detected nor proven redundant yet.
  std::int64_t elements_to_test_i = 0;

  // Sizes both lists for a circuit of the given number of lines.
  void init(int lines);
  // Lets the bridging list grow to half the memory the machine has left:
  // the search and the fault simulation need room of their own.
  void init_bridging();
  // Appends the single-line targets of the selected model to list.
  void erstelle_zielfehlerliste(line_value_liste_C& list);
  // Removes every pair of hilf_C from the target list and empties hilf_C.
  void drop_hilf_from_targets();
  // Whether the target list holds the pair, as its element_in_liste tells;
  // answered from a count per pair kept along with the list.
  bool is_target(line_C* line, char value);
  // Appends a pair to the target list, unsorted.
  void add_target(line_C* line, char value);

 private:
  circuit_C& circuit_;
  const settings_C& settings_;
  // The records to drop, as signal address and value, sorted, with a bit
  // filter over them; the filter is empty between two calls.
  static constexpr int dropped_bits_log2 = 12;
  std::vector<uintptr_t> dropped_;
  std::array<uint64_t, (1 << dropped_bits_log2) / 64> dropped_filter_{};
  // How often the target list holds each (signal, value) of the four target
  // values, by signal serial; valid while the list holds indexed_count_
  // records, rebuilt when the list has changed behind the index's back.
  std::vector<int> target_count_;
  int indexed_count_ = -1;
  int count_slot(const line_C* line, char value) const;
  void index_targets();
};
