// A set of nonzero 64-bit keys with open addressing: cheap to ask, cheap to
// empty, for the learned implications whose lists grow long.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

class line_C;

class key_set_t {
 public:
  // Inserts key; false when it was there already.
  bool insert(uint64_t key) {
    if (2 * (count_ + 1) > slots_.size()) grow();
    size_t i = position(key);
    if (slots_[i] == key) return false;
    slots_[i] = key;
    count_++;
    return true;
  }
  bool contains(uint64_t key) const { return !slots_.empty() && slots_[position(key)] == key; }
  void clear() {
    if (count_ == 0) return;
    std::fill(slots_.begin(), slots_.end(), 0);
    count_ = 0;
  }

 private:
  std::vector<uint64_t> slots_;
  size_t count_ = 0;

  size_t position(uint64_t key) const {
    const size_t mask = slots_.size() - 1;
    size_t i = (key * 0x9E3779B97F4A7C15ULL >> 17) & mask;
    while (slots_[i] != 0 && slots_[i] != key) i = (i + 1) & mask;
    return i;
  }
  void grow() {
    std::vector<uint64_t> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : 2 * old.size(), 0);
    count_ = 0;
    for (uint64_t key : old) {
      if (key != 0) insert(key);
    }
  }
};

// The key of the learned implication "when line m holds the value of list
// index, line l must be value"; lines are told apart by their numbers.
uint64_t implication_key(const line_C* m, int index, const line_C* l, char value);
