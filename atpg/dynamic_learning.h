// Learning during the third phase: both values are tried on every open line;
// a value that leads to a conflict is excluded, and the implications seen
// are kept (for the present search state) in their contrapositive form.
//
// Learning is repeated at every step of a search, and most trials then meet
// the same values around them as last time. A trial is a function of what
// its footprint records; one whose footprint is unchanged since it was made
// is not made again: its outcome, its effect on the order of the working
// lists and the flags it set are taken from its record.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "model/protocol.h"

class implication_C;
class line_C;

class dynamic_learning_C {
 public:
  explicit dynamic_learning_C(implication_C& imp) : imp_(imp) {}

  // Forgets every trial record.
  void init();
  // A search starts: no record describes its state yet.
  void new_search();

  // 0 values assigned or learned, 3 the present state is inconsistent, 4 nothing.
  char dyn_learning();
  // Both trials on one line.
  char dyn_try_learning(line_C* line);
  // Learns what the trial of l showed about line (which holds a value).
  char dyn_learn(line_C* line, line_C* l);

  // 0: every trial is made (the records are a pure saving of time).
  char repeat_trials_b = 1;
  // Trials made, and trials taken from their records.
  long trials_made = 0;
  long trials_repeated = 0;

 private:
  struct trial_record_t {
    uint32_t search = 0;      // the search it belongs to; 0: none
    uint32_t generation = 0;  // of the dynamically learned implications
    uint64_t time = 0;        // footprint clock when it was made
    int entries = 0;          // journal entries it pushed
    bool conflict = false;
    bool d_front_size_read = false;
    unsigned char flags = 0;  // the search flags it set
    std::vector<uint64_t> footprint;
    std::vector<uint32_t> list_changes;  // lines moved to the end of a working list
    size_t bytes() const;
    void release();
  };

  implication_C& imp_;
  std::vector<int> slots_;  // record per line number and value; -1: none yet
  std::deque<trial_record_t> records_;
  size_t stored_ = 0;  // bytes held by all records
  bool sized_ = false;
  // Marks per line and list (moves) or line and value list (lessons),
  // each use with a serial of its own.
  std::vector<uint32_t> mark_;
  uint32_t mark_serial_ = 0;
  // The lessons of each trial in the present generation (see recall_lessons).
  struct lesson_link_t {
    uint32_t code;  // the implication's line (learn_index_i) and list
    int next;
  };
  std::vector<lesson_link_t> lesson_links_;
  std::vector<int> lesson_head_;  // per trial slot; -1: not used, -2: empty
  std::vector<int> lesson_slots_;
  uint32_t lesson_serial_ = 0;  // marks the lessons known to the trial in hand
  uint32_t lesson_generation_ = 0;
  int lesson_slot_ = 0;

  size_t slot_of(const line_C* l, char t) const;
  uint32_t next_mark();
  line_C* line_of_index(size_t i) const;
  void recall_lessons(line_C* l, char t);

  void size_records();
  bool trial(line_C* l, char t, bool& learned);
  bool make_trial(line_C* l, char t, bool& learned, trial_record_t* record);
  void repeat_trial(const trial_record_t& record);
  void note_moves(int base, std::vector<uint32_t>& moves);
  trial_record_t* record_of(line_C* l, char t);
  unsigned char take_flags();
  void set_flags(unsigned char flags);
};
