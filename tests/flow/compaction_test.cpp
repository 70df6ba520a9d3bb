// The pieces of compaction on sets small enough to reason out by hand, and
// the bit-parallel fault simulation against the tests' own evaluator.
#include "flow/compaction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "support/output_files.h"
#include "support/paths.h"
#include "support/reference_circuit.h"
#include "support/run_quarn.h"

namespace {

std::string cube_text(const cube_set_t& cubes, int c) {
  std::string text;
  for (int i = 0; i < cubes.inputs; i++) {
    const size_t w = static_cast<size_t>(c) * cubes.words + i / 64;
    const bool care = cubes.care[w] >> (i % 64) & 1, one = cubes.value[w] >> (i % 64) & 1;
    text += care ? (one ? '1' : '0') : 'X';
  }
  return text;
}

TEST(Compaction, CubesThatAgreeMerge) {
  cube_set_t cubes(4);
  for (const char* c : {"1XX0", "X1X0", "0XXX", "XX11", "00XX"}) cubes.add(c);
  std::vector<int> leaders;
  const cube_set_t merged = merge_cubes(cubes, &leaders);
  // Most specified first: 1XX0 and X1X0 give 11X0, XX11 cannot join it,
  // 00XX joins XX11, and 0XXX, the least specified, joins 0011.
  ASSERT_EQ(merged.count, 2);
  EXPECT_EQ(cube_text(merged, 0), "11X0");
  EXPECT_EQ(cube_text(merged, 1), "0011");
  EXPECT_EQ(leaders, (std::vector<int>{0, 3}));
}

TEST(Compaction, FillingKeepsEverySpecifiedInput) {
  cube_set_t cubes(70);  // across a word boundary
  const std::string cube = "1" + std::string(66, 'X') + "010";
  cubes.add(cube);
  cubes.add(std::string(70, 'X'));
  const pattern_bits_t filled = fill_cubes(cubes, 7);
  ASSERT_EQ(filled.count, 2);
  for (int i = 0; i < 70; i++) {
    if (cube[i] != 'X') {
      EXPECT_EQ(filled.get(i, 0), cube[i] == '1') << i;
    }
  }
  // The open inputs are not all alike.
  int ones = 0;
  for (int i = 0; i < 70; i++) ones += filled.get(i, 1);
  EXPECT_GT(ones, 10);
  EXPECT_LT(ones, 60);
  // The same seed gives the same filling.
  EXPECT_EQ(fill_cubes(cubes, 7).bits, filled.bits);
}

detection_matrix_t matrix_of(const std::vector<std::vector<int>>& faults_of_pattern, int faults) {
  detection_matrix_t m;
  m.faults = faults;
  m.patterns = static_cast<int>(faults_of_pattern.size());
  m.words = (m.patterns + 63) / 64;
  m.rows.assign(static_cast<size_t>(m.faults) * m.words, 0);
  for (int p = 0; p < m.patterns; p++) {
    for (int f : faults_of_pattern[p]) m.rows[static_cast<size_t>(f) * m.words + p / 64] |= 1ULL << (p % 64);
  }
  return m;
}

TEST(Compaction, CoverPrefersOnePatternThatDetectsAll) {
  const auto m = matrix_of({{0, 1}, {1, 2}, {2, 3}, {0, 1, 2, 3}, {3}}, 4);
  EXPECT_EQ(cover_faults(m, 4, 1), (std::vector<int>{3}));
}

TEST(Compaction, CoverKeepsEssentialPatternsAndDropsWhatTheyMakeRedundant) {
  // Fault 0 only pattern 0 detects, fault 4 only pattern 3: both essential.
  // Together they leave fault 2, which 1 and 2 detect; the greedy step then
  // takes the first of them. Pattern 4, detecting faults 1 and 3 that the
  // essential ones have, is not needed.
  const auto m = matrix_of({{0, 1}, {1, 2}, {2}, {3, 4}, {1, 3}}, 5);
  const std::vector<int> chosen = cover_faults(m, 4, 1);
  EXPECT_EQ(std::set<int>(chosen.begin(), chosen.end()), (std::set<int>{0, 1, 3}));
  // Ordered by what each adds: 0 and 1 add two faults each, 3 adds two.
  EXPECT_EQ(chosen.size(), 3u);
}

TEST(Compaction, CoverageCurveCountsFirstDetections) {
  // Four classes: two found by pattern 0, one by pattern 2, one never.
  const std::vector<double> curve = coverage_curve({0, 2, -1, 0}, 3, 4);
  EXPECT_EQ(curve, (std::vector<double>{0, 50, 50, 75}));
}

TEST(Compaction, CountsTheClassesQuarnCounts) {
  for (const char* name : {"c880", "s298", "s1494"}) {
    SCOPED_TRACE(name);
    const std::string cir = std::string(name) + ".cir";
    write_file(cir, read_file(bench_circuit(name)));
    ASSERT_EQ(run_quarn({cir, "10", "STUCK_AT"}).exit_status, 0);
    const fault_circuit_t circuit = load_fault_circuit(cir);
    EXPECT_EQ(static_cast<long>(circuit.classes.size()),
              last_figure(read_file(std::string(name) + ".stat"), "Number of Equivalent Classes : "));
    // Loading writes nothing beside the circuit: the run's report stays.
    EXPECT_NE(read_file(std::string(name) + ".stat").find("Fault Coverage"), std::string::npos);
  }
}

// The bit-parallel fault simulation against the reference evaluator's own
// fault injection, on random patterns: every class representative on a
// signal of c432 and s298 (those on fanout branches the reference names by
// gate pin; the end-to-end tests check them through all the reference's
// faults).
TEST(Compaction, FaultSimulationAgreesWithTheReferenceEvaluator) {
  for (const char* name : {"c432", "s298"}) {
    SCOPED_TRACE(name);
    const std::string text = read_file(bench_circuit(name));
    write_file(std::string(name) + ".cir", text);
    const fault_circuit_t circuit = load_fault_circuit(std::string(name) + ".cir");
    const reference_circuit_t ref(text);
    const flat_circuit_t& net = circuit.net;
    // 150 random patterns: three words, the last one partly used.
    std::mt19937_64 random(5);
    pattern_bits_t patterns(static_cast<int>(net.inputs.size()), 150);
    for (uint64_t& w : patterns.bits) w = random();
    std::vector<std::vector<uint64_t>> ref_inputs(3, std::vector<uint64_t>(ref.inputs().size(), 0));
    for (size_t i = 0; i < net.inputs.size(); i++) {
      const int at =
          static_cast<int>(std::find(ref.inputs().begin(), ref.inputs().end(), net.names[net.inputs[i]]) -
                           ref.inputs().begin());
      ASSERT_LT(at, static_cast<int>(ref.inputs().size())) << net.names[net.inputs[i]];
      for (int w = 0; w < 3; w++) ref_inputs[w][at] = patterns.bits[i * patterns.words + w];
    }
    bit_simulator_C sim(net);
    sim.load(patterns, 0);
    ASSERT_EQ(sim.loaded_words(), 3);
    const uint64_t valid[3] = {~0ULL, ~0ULL, (1ULL << 22) - 1};
    int detected = 0;
    for (const stuck_fault_t& f : circuit.classes) {
      // The reference names faults by signal; a branch is the pin of the
      // gate it feeds, or the output it is observed at.
      reference_fault_t rf{reference_fault_t::on_signal, 0, 0, f.stuck_at_one};
      const std::string& site = net.names[f.node];
      const size_t arrow = site.find("->");
      if (arrow == std::string::npos) {
        rf.index = ref.signal(site);
      } else {
        continue;  // branches are checked end to end through the compacted files
      }
      uint64_t hits[bit_simulator_C::block_words];
      sim.detect(f, hits);
      for (int w = 0; w < 3; w++) {
        EXPECT_EQ(hits[w], ref.detecting_patterns(ref_inputs[w], rf) & valid[w]) << circuit.fault_name(f);
        detected += hits[w] != 0;
      }
    }
    EXPECT_GT(detected, 100);
  }
}

}  // namespace
