// Fault simulation of a generated pattern: every target fault that the
// pattern detects is marked done, logged and collected for dropping.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

class circuit_C;
class collapsing_C;
class implication_C;
class line_C;
struct line_line_t;
class target_list_C;
struct settings_C;

class fault_simulation_C {
 public:
  fault_simulation_C(circuit_C& circuit, const settings_C& settings, implication_C& imp,
                     target_list_C& targets, collapsing_C& collapsing);

  // The test log (the circuit name followed by ".tests"), open while tests
  // are generated: one line per pattern line of the pattern file.
  std::ofstream simu_F;
  // The detections of the last simulated pattern, for its line of the log.
  std::string detections_s;

  // Simulates all target faults under the values the present pattern left in
  // the circuit; target and test value name the fault it was generated for.
  void fault_simulation(line_C* target, char test_value);
  // The variant for faults detected by quiescent-current measurement.
  void iddq_fault_simulation();
  // Whether the fault effect of line reaches a primary output.
  char exist_signal_path_to_output(line_C* line, char test_value);
  // Records what the pattern detects at line; 0 when that contradicts a
  // fault already proven redundant.
  char check_generated_test(line_C* line, line_C* target, char test_value);
  void check_iddq_test(line_C* line, char test_value);
  // The bridging models: every bridging target not yet detected or proven
  // redundant, detected by its fault effect at an output or by the current
  // that flows while its signals hold opposite values.
  void bridging_fault_simulation();
  void bridging_iddq_simulation();
  // Records a bridging target as detected by the present pattern.
  void detect_pair(line_line_t* pair);

 private:
  // Fault-affected lines waiting for their successor gate, taken in level
  // order of that gate and, on one level, in the order they arrived.
  struct frontier_entry_t {
    int level;
    unsigned arrival;
    line_C* line;
    bool operator>(const frontier_entry_t& o) const {
      return level != o.level ? level > o.level : arrival > o.arrival;
    }
  };

  circuit_C& circuit_;
  const settings_C& settings_;
  implication_C& imp_;
  target_list_C& targets_;
  collapsing_C& collapsing_;
  std::vector<frontier_entry_t> frontier_;
  unsigned arrivals_ = 0;
  int effects_ = 0;  // fault effects (not X) in the frontier
  unsigned simulation_stamp_ = 0;
  // Bridging targets still open, by index; the settled ones leave after
  // every pattern.
  std::vector<std::int64_t> open_pairs_;
  bool open_pairs_listed_ = false;
  // Per signal and pattern: whether its fault effect reaches an output.
  std::vector<unsigned> reach_stamp_;
  std::vector<char> reaches_;
  unsigned pattern_stamp_ = 0;
  // Per pattern and (signal, fault effect): whether an effect that is alone
  // in the frontier at that signal reaches an output. What follows from such
  // a state depends on the pattern only, so each is simulated once per
  // pattern. Session 0: no pattern open, nothing remembered.
  std::vector<unsigned> alone_stamp_;
  std::vector<char> alone_reaches_;
  unsigned alone_session_ = 0;
  unsigned alone_sessions_ = 0;
  std::vector<size_t> alone_passed_;
  // Level of each signal's successor gate, by signal number: the frontier
  // order, read for every fault effect. The circuit is fixed once levelled.
  std::vector<int> successor_level_;

  bool advance(line_C* line, unsigned char value);
  char propagate();
  // Sizes the per-signal tables and reads the successor levels, once.
  void size_per_signal();
  void open_alone_session();
  line_C* take();
  void undo_journal();
  void add_detected(line_C* l, char value);
  void record_stuck_at(line_C* l, int k);
  void record_transition(line_C* l, char value);
  std::vector<std::int64_t>& open_pairs();
  void drop_settled_pairs();
  bool effect_reaches_output(line_C* l);
};
