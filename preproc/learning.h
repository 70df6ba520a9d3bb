// Static learning: both values are tried on every signal, and for every
// signal the trial implied the contrapositive is kept. A trial that ends in
// a conflict proves the signal can never take that value. What is learned is
// applied by implication (the lines' learned_C lists, the engine's
// statically_learned keys and only_value_lines_C).
#pragma once

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

  // The implications a trial (signal, value) learned, as 2 * number + list
  // index of the line they were learned for, by 2 * number of the signal
  // plus 1 for the trial of ZERO. A trial of s can only repeat what its own
  // earlier runs learned, so asking these is asking the key set, without a
  // probe into it for every line the trial reached.
  std::vector<std::vector<uint32_t>> learned_by_trial_;
  // The present trial's list and stamp; the lines it knows already carry
  // the stamp in known_stamp_.
  std::vector<uint32_t>* trial_learned_ = nullptr;
  std::vector<uint32_t> known_stamp_;
  uint32_t trial_stamp_ = 0;

  void open_trial(line_C* line, char value);
  bool already_learned(const line_C* line, int index, line_C* s, char consequence) const;
};
