#include "implication/footprint.h"

#include <algorithm>
#include <bit>

void footprint_C::init(int lines, size_t records, size_t room) {
  lines_ = std::max(lines, 1);
  const size_t bits_room = std::max<size_t>(room, 1) * 8;
  const size_t all_bits = static_cast<size_t>(keys()) * std::max<size_t>(records, 1);
  block_shift_ = 0;
  while ((all_bits >> block_shift_) > bits_room) block_shift_++;
  const size_t blocks = (static_cast<size_t>(keys()) >> block_shift_) + 1;
  words_ = (blocks + 63) / 64;
  stamp_.assign(blocks, 0);
  new_search();
}

void footprint_C::new_search() {
  search_serial_++;
  seen_.clear();
}

void footprint_C::start(bits_t* bits) {
  bits_ = bits;
  bits_->assign(words_, 0);
  d_front_size_read_ = false;
  uncovered_read_ = false;
}

bool footprint_C::unchanged_since(const bits_t& bits, bool d_front_read, uint64_t time) const {
  if (d_front_read && d_front_stamp_ > time) return false;
  for (size_t w = 0; w < bits.size(); w++) {
    for (uint64_t word = bits[w]; word != 0; word &= word - 1) {
      if (stamp_[w * 64 + static_cast<size_t>(std::countr_zero(word))] > time) return false;
    }
  }
  return true;
}

void footprint_C::stamp(int key) {
  const auto block = static_cast<size_t>(key >> block_shift_);
  if (key >= 0 && block < stamp_.size()) stamp_[block] = clock_;
}

void footprint_C::changed(const line_C* l) {
  clock_++;
  if (!l->primary_input_b) stamp(key_of(l->driver()));
  if (!l->primary_output_b) stamp(key_of(l->successor()));
}

void footprint_C::learned(const line_C* source, int index) {
  clock_++;
  stamp(list_key(source, index));
}

void footprint_C::stamp_entry(const protocol_item_t& e) {
  if (e.line_p == nullptr) return;
  changed(e.line_p);
  if (e.d_front_eingefuegt_b || e.d_front_ausgefuegt_b) d_front_stamp_ = clock_;
}

namespace {

bool same_entry(const protocol_item_t& a, const protocol_item_t& b) {
  return a.line_p == b.line_p && a.optionale_zuweisung_b == b.optionale_zuweisung_b &&
         a.bound_eingefuegt_b == b.bound_eingefuegt_b && a.bound_ausgefuegt_b == b.bound_ausgefuegt_b &&
         a.d_front_eingefuegt_b == b.d_front_eingefuegt_b &&
         a.d_front_ausgefuegt_b == b.d_front_ausgefuegt_b && a.alter_gut_wert_c == b.alter_gut_wert_c &&
         a.neuer_gut_wert_c == b.neuer_gut_wert_c && a.alter_schlecht_wert_c == b.alter_schlecht_wert_c &&
         a.neuer_schlecht_wert_c == b.neuer_schlecht_wert_c;
}

}  // namespace

void footprint_C::follow(protocol_stack_C& journal) {
  const int now_count = journal.anzahl_i;
  const int old_count = static_cast<int>(seen_.size());
  // Below the lowest depth since the last call nothing was popped.
  int k = std::min({journal.low_water_i, old_count, now_count});
  while (k < old_count && k < now_count && same_entry(seen_[k], journal[k])) k++;
  for (int i = k; i < old_count; i++) stamp_entry(seen_[i]);
  seen_.resize(static_cast<size_t>(now_count));
  for (int i = k; i < now_count; i++) {
    stamp_entry(journal[i]);
    seen_[i] = journal[i];
  }
  journal.low_water_i = now_count;
}
