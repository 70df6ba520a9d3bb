// Two-valued simulation of 64 patterns a machine word over a flat circuit,
// a block of words at a time, and exact stuck-at fault simulation on top of
// it: a fault's effect is followed event by event, level by level, from its
// site through its fanout cone as far as it differs from the fault-free
// values, so every pattern that detects the fault at an output is found.
#pragma once

#include <cstdint>
#include <vector>

#include "flow/flat_circuit.h"

// A set of fully specified patterns, 64 a word: bit p % 64 of word
// p / 64 of input i's row is the value of input i in pattern p.
struct pattern_bits_t {
  int inputs = 0;
  int count = 0;
  int words = 0;
  std::vector<uint64_t> bits;  // bits[i * words + w]

  pattern_bits_t() = default;
  pattern_bits_t(int input_count, int pattern_count);
  bool get(int input, int pattern) const {
    return bits[static_cast<size_t>(input) * words + pattern / 64] >> (pattern % 64) & 1;
  }
  void set(int input, int pattern, bool value);
  // The patterns listed, in that order.
  pattern_bits_t select(const std::vector<int>& patterns) const;
};

class bit_simulator_C {
 public:
  // Words of a block: 512 patterns are simulated together.
  static constexpr int block_words = 8;

  explicit bit_simulator_C(const flat_circuit_t& net);

  // Simulates the fault-free circuit for the words [first_word,
  // first_word + block_words) of the set (fewer at its end).
  void load(const pattern_bits_t& patterns, int first_word);
  int loaded_words() const { return words_; }
  int first_word() const { return first_word_; }
  // Fault-free values of a node: one word per loaded word.
  const uint64_t* good(int node) const { return &good_[static_cast<size_t>(node) * block_words]; }
  // Writes the loaded patterns that detect the fault (one word per loaded
  // word) to detected; returns whether there is any.
  bool detect(const stuck_fault_t& fault, uint64_t* detected);

 private:
  const flat_circuit_t& net_;
  int words_ = 0;
  int first_word_ = 0;
  uint64_t valid_[block_words] = {};
  std::vector<uint64_t> good_, bad_;
  std::vector<unsigned> bad_stamp_, queued_stamp_;
  unsigned stamp_ = 0;
  std::vector<std::vector<int>> queue_;  // nodes waiting, by level
  std::vector<const uint64_t*> in_;      // fanin values of the node evaluated

  void evaluate(int node, const uint64_t* const* in, int fanins, uint64_t* out) const;
};
