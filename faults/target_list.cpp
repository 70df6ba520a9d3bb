#include "faults/target_list.h"

#include <algorithm>
#include <utility>

#include "base/memory.h"
#include "base/settings.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

target_list_C::target_list_C(circuit_C& circuit, const settings_C& settings)
    : circuit_(circuit), settings_(settings) {}

void target_list_C::init_bridging() {
  // A pair's record, and its place in the fault simulation's list of open pairs.
  constexpr std::int64_t bytes_per_pair = sizeof(line_line_t) + sizeof(std::int64_t);
  zielfehler2_C.max_records_l = available_memory_bytes() / 2 / bytes_per_pair;
}

void target_list_C::init(int lines) {
  const bool two_pattern = settings_.stuck_open_test_b || settings_.transition_test_b;
  zielfehler_C.init(lines * (two_pattern ? 4 : 2));
  zielfehler_C.two_pattern_keys_b = two_pattern;
  hilf_C.init(lines * 2);
  zielfehler_C.max_records_i = hilf_C.max_records_i = lines;
}

void target_list_C::erstelle_zielfehlerliste(line_value_liste_C& list) {
  // Each line is visited once, so only entries that were there before can
  // already name it.
  const bool had_entries = !list.is_empty();
  for (int i = 0; i < circuit_.lines_C.anzahl_i; i++) {
    line_C* l = circuit_.lines_C[i];
    if (had_entries && list.element_in_liste(l, ZERO, 0) && list.element_in_liste(l, ONE, 0)) continue;
    if (settings_.transition_test_b || settings_.stuck_open_test_b || settings_.iddq_stuck_on_test_b) {
      if (l->primary_output_b || l->successor()->no_inputs_i < 2) continue;
      list.fuege_ein(l, FALLING, 0);
      list.fuege_ein(l, RISING, 0);
    } else if (settings_.stuck_at_test_without_branches_b) {
      if (l->is_fanout_branch()) continue;
      list.fuege_ein(l, ZERO, 0);
      list.fuege_ein(l, ONE, 0);
    } else if (settings_.only_stuck_at_test_b) {
      if (!l->primary_input_b && !l->is_fanout_branch() && l->driver()->gate_type_c != EXOR_GATE) continue;
      list.fuege_ein(l, ZERO, 0);
      list.fuege_ein(l, ONE, 0);
    } else {
      list.fuege_ein(l, ZERO, 0);
      list.fuege_ein(l, ONE, 0);
    }
  }
}

// One pass over the target list: a pattern can detect many targets, and the
// list is long. The records are told apart by signal pointer and value, so
// the pass reads the list alone and not the signal records it points to; a
// bit per hashed record lets most of them by without a search.
void target_list_C::drop_hilf_from_targets() {
  if (hilf_C.is_empty()) return;
  auto key = [](const line_value_t* r) {
    return reinterpret_cast<uintptr_t>(r->line_p) << 4 | static_cast<uintptr_t>(r->value_c & 0xF);
  };
  auto bit = [](uintptr_t k) { return (k * 0x9E3779B97F4A7C15ULL) >> (64 - dropped_bits_log2); };
  dropped_.clear();
  for (int i = 0; i < hilf_C.anzahl_i; i++) {
    const uintptr_t k = key(hilf_C[i]);
    dropped_.push_back(k);
    const uint64_t b = bit(k);
    dropped_filter_[b / 64] |= uint64_t{1} << (b % 64);
  }
  std::sort(dropped_.begin(), dropped_.end());
  int kept = 0;
  for (int i = 0; i < zielfehler_C.anzahl_i; i++) {
    const uintptr_t k = key(zielfehler_C[i]);
    const uint64_t b = bit(k);
    if ((dropped_filter_[b / 64] >> (b % 64) & 1) != 0 &&
        std::binary_search(dropped_.begin(), dropped_.end(), k)) {
      continue;
    }
    if (kept != i) std::swap(zielfehler_C.elemente_p[kept], zielfehler_C.elemente_p[i]);
    kept++;
  }
  // The dropped records now lie behind the kept ones.
  if (indexed_count_ == zielfehler_C.anzahl_i) {
    for (int i = kept; i < zielfehler_C.anzahl_i; i++) {
      const int slot = count_slot(zielfehler_C[i]->line_p, zielfehler_C[i]->value_c);
      if (slot >= 0) target_count_[slot]--;
    }
    indexed_count_ = kept;
  }
  zielfehler_C.anzahl_i = kept;
  for (uintptr_t k : dropped_) dropped_filter_[bit(k) / 64] = 0;
  hilf_C.anzahl_i = 0;
}

// -1 for a pair outside the index: another value, or a signal created
// after the index was built.
int target_list_C::count_slot(const line_C* line, char value) const {
  int v;
  switch (value) {
    case ZERO:
      v = 0;
      break;
    case ONE:
      v = 1;
      break;
    case FALLING:
      v = 2;
      break;
    case RISING:
      v = 3;
      break;
    default:
      return -1;
  }
  const size_t slot = 4 * static_cast<size_t>(line->serial_i) + static_cast<size_t>(v);
  return line->serial_i >= 0 && slot < target_count_.size() ? static_cast<int>(slot) : -1;
}

void target_list_C::index_targets() {
  int serials = 0;
  for (int i = 0; i < circuit_.lines_C.anzahl_i; i++)
    serials = std::max(serials, circuit_.lines_C[i]->serial_i + 1);
  for (int i = 0; i < zielfehler_C.anzahl_i; i++)
    serials = std::max(serials, zielfehler_C[i]->line_p->serial_i + 1);
  target_count_.assign(4 * static_cast<size_t>(serials), 0);
  for (int i = 0; i < zielfehler_C.anzahl_i; i++) {
    const int slot = count_slot(zielfehler_C[i]->line_p, zielfehler_C[i]->value_c);
    if (slot >= 0) target_count_[slot]++;
  }
  indexed_count_ = zielfehler_C.anzahl_i;
}

bool target_list_C::is_target(line_C* line, char value) {
  if (indexed_count_ != zielfehler_C.anzahl_i) index_targets();
  const int slot = count_slot(line, value);
  if (slot < 0) return zielfehler_C.element_in_liste(line, value, 0) != 0;
  return target_count_[slot] > 0;
}

void target_list_C::add_target(line_C* line, char value) {
  const bool indexed = indexed_count_ == zielfehler_C.anzahl_i;
  zielfehler_C.fuege_ein(line, value, 0);
  if (!indexed) return;
  const int slot = count_slot(line, value);
  if (slot >= 0) {
    target_count_[slot]++;
    indexed_count_ = zielfehler_C.anzahl_i;
  } else {
    indexed_count_ = -1;
  }
}
