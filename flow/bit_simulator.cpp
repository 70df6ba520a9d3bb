#include "flow/bit_simulator.h"

#include <algorithm>

#include "base/messages.h"

pattern_bits_t::pattern_bits_t(int input_count, int pattern_count)
    : inputs(input_count),
      count(pattern_count),
      words((pattern_count + 63) / 64),
      bits(static_cast<size_t>(input_count) * words, 0) {}

void pattern_bits_t::set(int input, int pattern, bool value) {
  uint64_t& word = bits[static_cast<size_t>(input) * words + pattern / 64];
  const uint64_t bit = uint64_t{1} << (pattern % 64);
  word = value ? word | bit : word & ~bit;
}

pattern_bits_t pattern_bits_t::select(const std::vector<int>& patterns) const {
  pattern_bits_t chosen(inputs, static_cast<int>(patterns.size()));
  for (int i = 0; i < inputs; i++) {
    for (size_t k = 0; k < patterns.size(); k++) {
      if (get(i, patterns[k])) chosen.set(i, static_cast<int>(k), true);
    }
  }
  return chosen;
}

bit_simulator_C::bit_simulator_C(const flat_circuit_t& net)
    : net_(net),
      good_(static_cast<size_t>(net.nodes()) * block_words, 0),
      bad_(static_cast<size_t>(net.nodes()) * block_words, 0),
      bad_stamp_(net.nodes(), 0),
      queued_stamp_(net.nodes(), 0),
      queue_(net.max_level + 1) {}

void bit_simulator_C::evaluate(int node, const uint64_t* const* in, int fanins, uint64_t* out) const {
  const flat_circuit_t::op_t op = net_.op[node];
  for (int k = 0; k < words_; k++) out[k] = in[0][k];
  for (int j = 1; j < fanins; j++) {
    const uint64_t* x = in[j];
    switch (op) {
      case flat_circuit_t::op_and:
      case flat_circuit_t::op_nand:
        for (int k = 0; k < words_; k++) out[k] &= x[k];
        break;
      case flat_circuit_t::op_or:
      case flat_circuit_t::op_nor:
        for (int k = 0; k < words_; k++) out[k] |= x[k];
        break;
      case flat_circuit_t::op_xor:
        for (int k = 0; k < words_; k++) out[k] ^= x[k];
        break;
      default:
        break;  // one-input types
    }
  }
  if (op == flat_circuit_t::op_nand || op == flat_circuit_t::op_nor || op == flat_circuit_t::op_not) {
    for (int k = 0; k < words_; k++) out[k] = ~out[k];
  }
}

void bit_simulator_C::load(const pattern_bits_t& patterns, int first_word) {
  if (static_cast<int>(net_.inputs.size()) != patterns.inputs) {
    error(string_C("the patterns have " + std::to_string(patterns.inputs) + " inputs, the circuit " +
                   std::to_string(net_.inputs.size())));
  }
  first_word_ = first_word;
  words_ = std::max(0, std::min(block_words, patterns.words - first_word));
  for (int k = 0; k < block_words; k++) {
    const int first_pattern = (first_word + k) * 64;
    const int left = patterns.count - first_pattern;
    valid_[k] = k >= words_ || left <= 0 ? 0 : left >= 64 ? ~uint64_t{0} : (uint64_t{1} << left) - 1;
  }
  for (size_t i = 0; i < net_.inputs.size(); i++) {
    uint64_t* v = &good_[static_cast<size_t>(net_.inputs[i]) * block_words];
    for (int k = 0; k < words_; k++) v[k] = patterns.bits[i * patterns.words + first_word + k];
  }
  std::vector<const uint64_t*> in;
  for (int n = 0; n < net_.nodes(); n++) {
    if (net_.op[n] == flat_circuit_t::op_input) continue;
    in.clear();
    for (int j = net_.fanin_begin[n]; j < net_.fanin_begin[n + 1]; j++) in.push_back(good(net_.fanin[j]));
    evaluate(n, in.data(), static_cast<int>(in.size()), &good_[static_cast<size_t>(n) * block_words]);
  }
}

bool bit_simulator_C::detect(const stuck_fault_t& fault, uint64_t* detected) {
  for (int k = 0; k < words_; k++) detected[k] = 0;
  if (++stamp_ == 0) {  // the stamps wrapped round: none may look current
    std::fill(bad_stamp_.begin(), bad_stamp_.end(), 0);
    std::fill(queued_stamp_.begin(), queued_stamp_.end(), 0);
    stamp_ = 1;
  }
  const int site = fault.node;
  const uint64_t stuck = fault.stuck_at_one ? ~uint64_t{0} : 0;
  const uint64_t* g = good(site);
  uint64_t* b = &bad_[static_cast<size_t>(site) * block_words];
  uint64_t active = 0;
  for (int k = 0; k < words_; k++) {
    b[k] = stuck;
    active |= (g[k] ^ stuck) & valid_[k];
  }
  if (!active) return false;
  bad_stamp_[site] = stamp_;
  bool any = false;
  if (net_.is_output[site]) {
    for (int k = 0; k < words_; k++) detected[k] |= (g[k] ^ stuck) & valid_[k];
    any = true;
  }
  int pending = 0;
  auto schedule_fanouts = [&](int n) {
    for (int j = net_.fanout_begin[n]; j < net_.fanout_begin[n + 1]; j++) {
      const int u = net_.fanout[j];
      if (queued_stamp_[u] == stamp_) continue;
      queued_stamp_[u] = stamp_;
      queue_[net_.level[u]].push_back(u);
      pending++;
    }
  };
  schedule_fanouts(site);
  std::vector<const uint64_t*>& in = in_;
  uint64_t value[block_words];
  for (int lv = net_.level[site] + 1; pending > 0 && lv <= net_.max_level; lv++) {
    std::vector<int>& nodes = queue_[lv];
    for (size_t q = 0; q < nodes.size(); q++) {
      const int n = nodes[q];
      pending--;
      in.clear();
      for (int j = net_.fanin_begin[n]; j < net_.fanin_begin[n + 1]; j++) {
        const int f = net_.fanin[j];
        in.push_back(bad_stamp_[f] == stamp_ ? &bad_[static_cast<size_t>(f) * block_words] : good(f));
      }
      evaluate(n, in.data(), static_cast<int>(in.size()), value);
      const uint64_t* gn = good(n);
      uint64_t differs = 0;
      for (int k = 0; k < words_; k++) differs |= (value[k] ^ gn[k]) & valid_[k];
      if (!differs) continue;
      uint64_t* bn = &bad_[static_cast<size_t>(n) * block_words];
      for (int k = 0; k < words_; k++) bn[k] = value[k];
      bad_stamp_[n] = stamp_;
      if (net_.is_output[n]) {
        for (int k = 0; k < words_; k++) detected[k] |= (value[k] ^ gn[k]) & valid_[k];
        any = true;
      }
      schedule_fanouts(n);
    }
    nodes.clear();
  }
  return any;
}
