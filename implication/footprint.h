// What a learning trial reads, and when the neighbourhood of each gate last
// changed outside the trials. A trial reads nothing but the values and list
// memberships of the signals at the gates it implies through, the learned
// implications of those gates' outputs, the values those implications name
// and whether the D-frontier can run empty. When none of that has changed
// since the trial was last made, making it again would repeat it exactly.
//
// Between two forgettings of the dynamically learned implications (every
// backtrack of the third phase forgets them) values are only ever added. A
// signal named by a learned implication either held its value already when
// the trial read it, and holds it still, or the trial gave it the value and
// so implied through one of its gates, which a later change stamps. So a
// trial notes the lists it reads (they may grow), not the signals in them;
// records from before a forgetting are not used.
//
// Gates and lists are numbered by keys, and the keys fall into blocks that
// share a stamp; a trial's footprint is the set of blocks it read, one bit
// each. Blocks are as small as the room for all footprints allows: a larger
// block only lets a change next door spoil a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/gate.h"
#include "model/line.h"
#include "model/protocol.h"

class footprint_C {
 public:
  using bits_t = std::vector<uint64_t>;

  // Sizes the stamps for a circuit whose lines are numbered below `lines`,
  // and the blocks so that `records` footprints fit into `room` bytes;
  // every earlier footprint becomes stale.
  void init(int lines, size_t records, size_t room);
  // A new search: nothing recorded before it describes the present state.
  void new_search();
  uint32_t search_serial() const { return search_serial_; }
  uint64_t now() const { return clock_; }

  // Recording of one trial into `bits`.
  void start(bits_t* bits);
  void stop() { bits_ = nullptr; }
  // Whether the trial asked if the D-frontier is empty, and whether it read
  // something no key stands for (such a trial is never taken as repeated).
  bool d_front_size_read() const { return d_front_size_read_; }
  bool uncovered_read() const { return uncovered_read_; }
  void read_gate(const gate_C* g) {
    if (bits_ != nullptr) note(key_of(g));
  }
  void read_d_front_size() { d_front_size_read_ = true; }
  // The learned implications of l for its value ZERO (index 0) or ONE (1).
  void read_learned_list(const line_C* l, int index) {
    if (bits_ != nullptr) note(list_key(l, index));
  }

  // Whether nothing a footprint covers (and, if it was read, the size of
  // the D-frontier) changed after `time`.
  bool unchanged_since(const bits_t& bits, bool d_front_read, uint64_t time) const;

  // Changes outside trials: a value or list change of a signal is seen by
  // both gates at it.
  void changed(const line_C* l);
  // The list of `source` for its value ZERO (index 0) or ONE (1) grew.
  void learned(const line_C* source, int index);
  // Stamps every signal of the journal entries pushed or popped since the
  // last call: every change of a search state goes through the journal.
  void follow(protocol_stack_C& journal);

 private:
  std::vector<uint64_t> stamp_;        // per block
  std::vector<protocol_item_t> seen_;  // the journal as the last follow saw it
  bits_t* bits_ = nullptr;
  size_t words_ = 1;
  int lines_ = 1;
  int block_shift_ = 0;  // a block holds 2^block_shift_ keys
  uint64_t clock_ = 1;
  uint64_t d_front_stamp_ = 0;
  uint32_t search_serial_ = 0;
  bool d_front_size_read_ = false;
  bool uncovered_read_ = false;

  // Gates first (by the number of their first output), then the two lists
  // of every line.
  int keys() const { return 3 * lines_; }
  static int key_of(const gate_C* g) { return g->nummer_i; }
  int list_key(const line_C* l, int index) const { return lines_ + 2 * l->nummer_i + index; }
  void note(int key) {
    if (key < 0 || key >= keys()) {
      uncovered_read_ = true;
      return;
    }
    const int block = key >> block_shift_;
    (*bits_)[static_cast<size_t>(block) >> 6] |= uint64_t{1} << (block & 63);
  }
  void stamp(int key);
  void stamp_entry(const protocol_item_t& e);
};
