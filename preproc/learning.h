// Static learning: both values are tried on every signal, and for every
// signal the trial implied the contrapositive is kept. A trial that ends in
// a conflict proves the signal can never take that value. What is learned is
// applied by implication (the lines' learned_C lists, the engine's
// statically_learned keys and only_value_lines_C).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class circuit_C;
class implication_C;
class line_C;
class collapsing_C;

class learning_C {
 public:
  learning_C(circuit_C& circuit, implication_C& imp, collapsing_C& collapsing);

  // Set by static learning; the learning phases repeat while it is 1.
  char something_learned_b = 1;
  // Number of implications static learning found.
  int learned_implications_i = 0;

  // Forgets what earlier learning recorded, before the first phase.
  void start_learning();
  // One learning phase over the whole circuit.
  void learning_implications();
  // Collects only_value_lines_C once the learning phases are over.
  void collect_only_value_lines();

  // Both trials on one line.
  void try_learning(line_C* line);
  // Learns what the trial of s showed about line.
  void learn(line_C* line, line_C* s);

 private:
  circuit_C& circuit_;
  implication_C& imp_;
  collapsing_C& collapsing_;

  // What the last run of a trial (signal, value) left: the implications it
  // learned, as 2 * number + list index of the line they were learned for
  // (a trial of s can only repeat what its own earlier runs learned, so
  // asking these is asking the key set, without a probe into it for every
  // line the trial reached); whether it ended in a conflict; and which of
  // the lines its phase's watch set holds it reached. Each tried signal has
  // two records, the trial of ONE first.
  struct trial_record_t {
    // The learned ones first, then the watched ones (line numbers, ascending).
    std::vector<uint32_t> items;
    uint32_t learned = 0;
    uint32_t learned_before = 0;  // implications learned when it last ran
    uint32_t watch_phase = 0;     // the phase whose watch set the watched lines are taken against
    bool ran = false;
    bool clean = false;  // it started with empty working sets
    bool conflict = false;
  };
  std::vector<trial_record_t> trials_;
  // By line number: the first of the line's two records in trials_, -1
  // while the line has none.
  std::vector<int> trials_of_;
  // The line number of every implication learned so far, in order.
  std::vector<uint32_t> changes_;
  // By line number: bit p is set when the watch set of phase p holds the
  // line (phases from 32 on watch nothing).
  std::vector<uint32_t> watch_sets_of_;
  uint32_t phase_ = 0;
  size_t phase_first_change_ = 0;
  // The present trial's record and stamp; the lines it knows already carry
  // the stamp in known_stamp_.
  trial_record_t* trial_ = nullptr;
  std::vector<uint32_t> known_stamp_;
  uint32_t trial_stamp_ = 0;
  std::vector<uint32_t> reached_;

  void start_phase();
  trial_record_t& open_trial(line_C* line, char value);
  bool unchanged_since(const trial_record_t& record) const;
  bool already_learned(const line_C* line, int index, line_C* s, char consequence) const;
};
