// Static compaction of a stuck-at test set. The classic way fills the open
// inputs and fault-simulates the patterns in reverse order, keeping those
// that detect something new. The default way does better: it merges test
// cubes whose specified inputs agree, so one pattern carries several
// targets, fills what stays open, simulates every candidate against every
// fault the original set detects without dropping, and covers those faults
// with as few candidates as it can (essential patterns first, then greedily,
// then passes that drop patterns every fault of which another one detects).
// Whatever the filled original set detects, the compacted set detects too:
// a fault the candidates miss brings back the original pattern that found
// it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "flow/bit_simulator.h"
#include "flow/flat_circuit.h"

// Test cubes: per cube a bit per input for "specified" and one for its value.
struct cube_set_t {
  int inputs = 0;
  int count = 0;
  int words = 0;  // words per cube
  std::vector<uint64_t> care, value;

  explicit cube_set_t(int input_count = 0);
  // Appends a cube written as '0', '1' and 'X' per input.
  void add(const std::string& values);
  int specified(int cube) const;
  bool compatible(int a, const cube_set_t& other, int b) const;
};

// The open inputs of each cube take pseudo-random values drawn from seed, in
// cube order, input by input.
pattern_bits_t fill_cubes(const cube_set_t& cubes, uint64_t seed);

// Cubes in the order of falling number of specified inputs, each merged
// into the first merged cube it agrees with, or starting a new one. leaders,
// if given, receives for each merged cube the cube that started it.
cube_set_t merge_cubes(const cube_set_t& cubes, std::vector<int>* leaders = nullptr);

// Per fault the first pattern that detects it, in the set's order, or -1;
// detected faults are dropped from the rest of the simulation.
std::vector<int> first_detections(const flat_circuit_t& net, const std::vector<stuck_fault_t>& faults,
                                  const pattern_bits_t& patterns);

// Coverage in percent of the classes after each prefix of the patterns:
// entry k after the first k patterns (entry 0 is 0).
std::vector<double> coverage_curve(const std::vector<int>& first, int patterns, int classes);

// The classic: the patterns kept by reverse-order fault simulation with
// dropping, in their original order.
std::vector<int> reverse_order_selection(const flat_circuit_t& net, const std::vector<stuck_fault_t>& faults,
                                         const pattern_bits_t& patterns);

// Which patterns detect which fault: a row of bits per fault.
struct detection_matrix_t {
  int faults = 0, patterns = 0, words = 0;
  std::vector<uint64_t> rows;
  bool detects(int fault, int pattern) const {
    return rows[static_cast<size_t>(fault) * words + pattern / 64] >> (pattern % 64) & 1;
  }
};
detection_matrix_t detection_matrix(const flat_circuit_t& net, const std::vector<stuck_fault_t>& faults,
                                    const pattern_bits_t& patterns);

// A smallest set of patterns found that detects every fault some pattern
// detects: essential patterns, greedy cover, then a reverse pass and
// `shuffles` passes in pseudo-random order dropping patterns whose faults
// all stay detected. The patterns come in the order of falling number of
// faults each adds to those before it, so that coverage rises fast.
std::vector<int> cover_faults(const detection_matrix_t& matrix, int shuffles, uint64_t seed);

struct compaction_options_t {
  uint64_t seed = 1;
  int shuffles = 4;
  int fillings = 8;      // fillings of each merged cube offered to the cover
  bool classic = false;  // reverse-order simulation only
};

struct compaction_result_t {
  pattern_bits_t original;          // the original cubes, filled
  std::vector<int> original_first;  // per class: first original pattern detecting it
  pattern_bits_t compacted;
  // Per compacted pattern the original cube it extends (for a merged cube,
  // the one that started it).
  std::vector<int> origin;
  int classic_patterns = 0;  // what reverse-order simulation alone keeps
  int candidates = 0;        // merged cubes and original patterns brought back
  int brought_back = 0;      // original patterns among the candidates
};

compaction_result_t compact(const fault_circuit_t& circuit, const cube_set_t& cubes,
                            const compaction_options_t& options);
