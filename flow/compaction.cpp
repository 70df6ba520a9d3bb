#include "flow/compaction.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <queue>

#include "base/messages.h"

namespace {

// A small generator with a fixed sequence for a seed, the same on every
// machine: the filled patterns are part of the written file.
class random_t {
 public:
  explicit random_t(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  size_t below(size_t n) { return static_cast<size_t>(next() % n); }

 private:
  uint64_t state_;
};

}  // namespace

cube_set_t::cube_set_t(int input_count) : inputs(input_count), words((input_count + 63) / 64) {}

void cube_set_t::add(const std::string& values) {
  if (static_cast<int>(values.size()) != inputs) {
    error(string_C("a cube of " + std::to_string(values.size()) + " values for " + std::to_string(inputs) +
                   " inputs"));
  }
  care.resize(care.size() + words, 0);
  value.resize(value.size() + words, 0);
  const size_t base = static_cast<size_t>(count) * words;
  for (int i = 0; i < inputs; i++) {
    const uint64_t bit = uint64_t{1} << (i % 64);
    if (values[i] == 'X') continue;
    care[base + i / 64] |= bit;
    if (values[i] == '1') value[base + i / 64] |= bit;
  }
  count++;
}

int cube_set_t::specified(int cube) const {
  int n = 0;
  for (int w = 0; w < words; w++) n += std::popcount(care[static_cast<size_t>(cube) * words + w]);
  return n;
}

bool cube_set_t::compatible(int a, const cube_set_t& other, int b) const {
  const size_t x = static_cast<size_t>(a) * words, y = static_cast<size_t>(b) * words;
  for (int w = 0; w < words; w++) {
    if (care[x + w] & other.care[y + w] & (value[x + w] ^ other.value[y + w])) return false;
  }
  return true;
}

pattern_bits_t fill_cubes(const cube_set_t& cubes, uint64_t seed) {
  pattern_bits_t filled(cubes.inputs, cubes.count);
  random_t random(seed);
  for (int c = 0; c < cubes.count; c++) {
    const size_t base = static_cast<size_t>(c) * cubes.words;
    for (int w = 0; w < cubes.words; w++) {
      const uint64_t bits =
          (cubes.value[base + w] & cubes.care[base + w]) | (random.next() & ~cubes.care[base + w]);
      for (int i = w * 64; i < std::min(cubes.inputs, w * 64 + 64); i++) {
        if (bits >> (i % 64) & 1) filled.set(i, c, true);
      }
    }
  }
  return filled;
}

cube_set_t merge_cubes(const cube_set_t& cubes, std::vector<int>* leaders) {
  std::vector<int> order(cubes.count);
  std::iota(order.begin(), order.end(), 0);
  std::vector<int> specified(cubes.count);
  for (int c = 0; c < cubes.count; c++) specified[c] = cubes.specified(c);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return specified[a] > specified[b]; });
  cube_set_t merged(cubes.inputs);
  for (int c : order) {
    int into = -1;
    for (int m = 0; m < merged.count && into < 0; m++) {
      if (merged.compatible(m, cubes, c)) into = m;
    }
    if (into < 0) {
      into = merged.count++;
      merged.care.resize(merged.care.size() + merged.words, 0);
      merged.value.resize(merged.value.size() + merged.words, 0);
      if (leaders) leaders->push_back(c);
    }
    const size_t x = static_cast<size_t>(into) * merged.words, y = static_cast<size_t>(c) * cubes.words;
    for (int w = 0; w < merged.words; w++) {
      merged.care[x + w] |= cubes.care[y + w];
      merged.value[x + w] |= cubes.value[y + w] & cubes.care[y + w];
    }
  }
  return merged;
}

std::vector<int> first_detections(const flat_circuit_t& net, const std::vector<stuck_fault_t>& faults,
                                  const pattern_bits_t& patterns) {
  std::vector<int> first(faults.size(), -1);
  std::vector<int> open(faults.size());
  std::iota(open.begin(), open.end(), 0);
  bit_simulator_C sim(net);
  uint64_t hits[bit_simulator_C::block_words];
  for (int w = 0; w < patterns.words && !open.empty(); w += bit_simulator_C::block_words) {
    sim.load(patterns, w);
    size_t kept = 0;
    for (int f : open) {
      if (!sim.detect(faults[f], hits)) {
        open[kept++] = f;
        continue;
      }
      int k = 0;
      while (!hits[k]) k++;
      first[f] = (w + k) * 64 + std::countr_zero(hits[k]);
    }
    open.resize(kept);
  }
  return first;
}

std::vector<double> coverage_curve(const std::vector<int>& first, int patterns, int classes) {
  std::vector<int> new_at(patterns + 1, 0);
  for (int p : first) {
    if (p >= 0) new_at[p + 1]++;
  }
  std::vector<double> curve(patterns + 1, 0);
  int detected = 0;
  for (int k = 0; k <= patterns; k++) {
    detected += new_at[k];
    curve[k] = classes == 0 ? 100 : 100.0 * detected / classes;
  }
  return curve;
}

std::vector<int> reverse_order_selection(const flat_circuit_t& net, const std::vector<stuck_fault_t>& faults,
                                         const pattern_bits_t& patterns) {
  std::vector<int> reversed(patterns.count);
  for (int p = 0; p < patterns.count; p++) reversed[p] = patterns.count - 1 - p;
  const std::vector<int> first = first_detections(net, faults, patterns.select(reversed));
  std::vector<char> keep(patterns.count, 0);
  for (int p : first) {
    if (p >= 0) keep[reversed[p]] = 1;
  }
  std::vector<int> kept;
  for (int p = 0; p < patterns.count; p++) {
    if (keep[p]) kept.push_back(p);
  }
  return kept;
}

detection_matrix_t detection_matrix(const flat_circuit_t& net, const std::vector<stuck_fault_t>& faults,
                                    const pattern_bits_t& patterns) {
  detection_matrix_t m;
  m.faults = static_cast<int>(faults.size());
  m.patterns = patterns.count;
  m.words = patterns.words;
  m.rows.assign(static_cast<size_t>(m.faults) * m.words, 0);
  bit_simulator_C sim(net);
  uint64_t hits[bit_simulator_C::block_words];
  for (int w = 0; w < patterns.words; w += bit_simulator_C::block_words) {
    sim.load(patterns, w);
    for (int f = 0; f < m.faults; f++) {
      if (!sim.detect(faults[f], hits)) continue;
      uint64_t* row = &m.rows[static_cast<size_t>(f) * m.words + w];
      for (int k = 0; k < sim.loaded_words(); k++) row[k] = hits[k];
    }
  }
  return m;
}

namespace {

// The faults of each pattern: the matrix read by columns, a row of bits
// per pattern.
class columns_t {
 public:
  explicit columns_t(const detection_matrix_t& m)
      : words_((m.faults + 63) / 64), bits_(static_cast<size_t>(m.patterns) * words_, 0) {
    for (int f = 0; f < m.faults; f++) {
      const uint64_t* row = &m.rows[static_cast<size_t>(f) * m.words];
      for (int w = 0; w < m.words; w++) {
        for (uint64_t bits = row[w]; bits; bits &= bits - 1) {
          const int p = w * 64 + std::countr_zero(bits);
          bits_[static_cast<size_t>(p) * words_ + f / 64] |= uint64_t{1} << (f % 64);
        }
      }
    }
  }
  // A set of faults as bits.
  std::vector<uint64_t> no_faults() const { return std::vector<uint64_t>(words_, 0); }
  // Calls visit(f) for every fault of pattern p until it returns false.
  template <class F>
  bool for_each(int p, F visit) const {
    const uint64_t* c = column(p);
    for (int w = 0; w < words_; w++) {
      for (uint64_t bits = c[w]; bits; bits &= bits - 1) {
        if (!visit(w * 64 + std::countr_zero(bits))) return false;
      }
    }
    return true;
  }
  int uncovered(int p, const std::vector<uint64_t>& covered) const {
    const uint64_t* c = column(p);
    int n = 0;
    for (int w = 0; w < words_; w++) n += std::popcount(c[w] & ~covered[w]);
    return n;
  }
  void cover(int p, std::vector<uint64_t>& covered) const {
    const uint64_t* c = column(p);
    for (int w = 0; w < words_; w++) covered[w] |= c[w];
  }

 private:
  int words_;
  std::vector<uint64_t> bits_;
  const uint64_t* column(int p) const { return &bits_[static_cast<size_t>(p) * words_]; }
};

// Greedy over the candidates: each time the one that detects the most
// faults not yet detected, found lazily (a candidate's gain only falls).
// Faults already marked covered count for nothing.
std::vector<int> greedy_order(const columns_t& columns, const std::vector<int>& candidates,
                              std::vector<uint64_t>& covered) {
  std::priority_queue<std::pair<int, int>> queue;  // gain, then the lower pattern number first
  for (int p : candidates) queue.emplace(columns.uncovered(p, covered), -p);
  std::vector<int> chosen;
  while (!queue.empty()) {
    const auto [old_gain, negative] = queue.top();
    queue.pop();
    const int p = -negative;
    if (old_gain == 0) break;
    const int now = columns.uncovered(p, covered);
    if (now < old_gain) {
      queue.emplace(now, negative);
      continue;
    }
    chosen.push_back(p);
    columns.cover(p, covered);
  }
  return chosen;
}

// Drops each pattern, in the given order, whose faults all have another
// chosen pattern detecting them.
void drop_redundant(const columns_t& columns, const std::vector<int>& order, std::vector<int>& times_covered,
                    std::vector<char>& chosen) {
  for (int p : order) {
    if (!chosen[p]) continue;
    if (!columns.for_each(p, [&](int f) { return times_covered[f] >= 2; })) continue;
    chosen[p] = 0;
    columns.for_each(p, [&](int f) { return --times_covered[f], true; });
  }
}

}  // namespace

std::vector<int> cover_faults(const detection_matrix_t& m, int shuffles, uint64_t seed) {
  const columns_t columns(m);
  std::vector<uint64_t> covered = columns.no_faults();
  std::vector<int> selection;
  // A fault only one pattern detects makes that pattern essential.
  std::vector<char> essential(m.patterns, 0);
  for (int f = 0; f < m.faults; f++) {
    const uint64_t* row = &m.rows[static_cast<size_t>(f) * m.words];
    int count = 0, which = -1;
    for (int w = 0; w < m.words && count < 2; w++) {
      count += std::popcount(row[w]);
      if (row[w] && which < 0) which = w * 64 + std::countr_zero(row[w]);
    }
    if (count == 1) essential[which] = 1;
  }
  for (int p = 0; p < m.patterns; p++) {
    if (!essential[p]) continue;
    selection.push_back(p);
    columns.cover(p, covered);
  }
  std::vector<int> all(m.patterns);
  std::iota(all.begin(), all.end(), 0);
  for (int p : greedy_order(columns, all, covered)) selection.push_back(p);

  std::vector<char> chosen(m.patterns, 0);
  std::vector<int> times_covered(m.faults, 0);
  for (int p : selection) {
    chosen[p] = 1;
    columns.for_each(p, [&](int f) { return ++times_covered[f], true; });
  }
  std::vector<int> order(selection.rbegin(), selection.rend());
  drop_redundant(columns, order, times_covered, chosen);
  random_t random(seed);
  for (int pass = 0; pass < shuffles; pass++) {
    for (size_t i = order.size(); i > 1; i--) std::swap(order[i - 1], order[random.below(i)]);
    drop_redundant(columns, order, times_covered, chosen);
  }

  std::vector<int> kept;
  for (int p : selection) {
    if (chosen[p]) kept.push_back(p);
  }
  covered = columns.no_faults();
  return greedy_order(columns, kept, covered);
}

namespace {

pattern_bits_t joined(const pattern_bits_t& a, const pattern_bits_t& b) {
  pattern_bits_t both(a.inputs, a.count + b.count);
  for (int i = 0; i < both.inputs; i++) {
    for (int p = 0; p < a.count; p++) {
      if (a.get(i, p)) both.set(i, p, true);
    }
    for (int p = 0; p < b.count; p++) {
      if (b.get(i, p)) both.set(i, a.count + p, true);
    }
  }
  return both;
}

}  // namespace

compaction_result_t compact(const fault_circuit_t& circuit, const cube_set_t& cubes,
                            const compaction_options_t& options) {
  const flat_circuit_t& net = circuit.net;
  compaction_result_t result;
  result.original = fill_cubes(cubes, options.seed);
  result.original_first = first_detections(net, circuit.classes, result.original);
  const std::vector<int> classic = reverse_order_selection(net, circuit.classes, result.original);
  result.classic_patterns = static_cast<int>(classic.size());

  // The faults to keep detected: those the filled original set detects.
  std::vector<stuck_fault_t> targets;
  std::vector<int> target_first;
  for (size_t f = 0; f < circuit.classes.size(); f++) {
    if (result.original_first[f] < 0) continue;
    targets.push_back(circuit.classes[f]);
    target_first.push_back(result.original_first[f]);
  }
  if (options.classic) {
    result.compacted = result.original.select(classic);
    result.origin = classic;
    result.candidates = result.original.count;
    result.brought_back = result.original.count;
    return result;
  }

  std::vector<int> leaders;
  const cube_set_t merged = merge_cubes(cubes, &leaders);
  // Each merged cube filled several ways: the cover then has more patterns
  // to choose from, each detecting other faults beside its targets.
  pattern_bits_t candidates(merged.inputs, 0);
  std::vector<int> origin;
  for (int k = 0; k < std::max(1, options.fillings); k++) {
    candidates = joined(candidates, fill_cubes(merged, options.seed + 1 + k));
    origin.insert(origin.end(), leaders.begin(), leaders.end());
  }
  // A fault the filled merged cubes miss was found by the original's
  // filling: bring back the original pattern that found it first.
  {
    const std::vector<int> first = first_detections(net, targets, candidates);
    std::vector<int> back;
    for (size_t f = 0; f < targets.size(); f++) {
      if (first[f] < 0) back.push_back(target_first[f]);
    }
    std::sort(back.begin(), back.end());
    back.erase(std::unique(back.begin(), back.end()), back.end());
    result.brought_back = static_cast<int>(back.size());
    origin.insert(origin.end(), back.begin(), back.end());
    candidates = joined(candidates, result.original.select(back));
  }
  result.candidates = candidates.count;
  const detection_matrix_t matrix = detection_matrix(net, targets, candidates);
  const std::vector<int> chosen = cover_faults(matrix, options.shuffles, options.seed + 2);
  result.compacted = candidates.select(chosen);
  for (int p : chosen) result.origin.push_back(origin[p]);
  return result;
}
