// Every answer of the search is checked against the tests' own evaluator:
// a found test must detect its fault under every filling of its open
// inputs, and a fault called redundant must be undetectable by any input.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/driver.h"
#include "app/large_stack.h"
#include "app/run.h"
#include "model/circuit.h"
#include "model/line.h"
#include "model/protocol.h"
#include "support/circuit_text.h"
#include "support/random_circuit.h"
#include "support/reference_circuit.h"
#include "support/search_state.h"

namespace {

implication_C& imp() {
  return current_run().imp;
}

struct tally_t {
  int tests = 0, redundant = 0, aborted = 0, other = 0;
  int cases() const { return tests + redundant + aborted + other; }
};

void expect_journal_undone(const line_C* target) {
  EXPECT_EQ(imp().protocol_C.anzahl_i, 0);
  for (int i = 0; i < current_run().circuit.lines_C.anzahl_i; i++) {
    const line_C* l = current_run().circuit.lines_C[i];
    if (l == target) continue;
    // Values learned to be the only possible ones are set without the journal.
    const bool only = l->only_value_c != X && !l->in_ausgangskegel_b;
    ASSERT_EQ(l->good_value_c, only ? l->only_value_c : static_cast<char>(X)) << l->name_s;
    ASSERT_EQ(l->bad_value_c, X) << l->name_s;
  }
}

// Runs the search in the given phase for every line and both stuck-at
// values of one circuit.
void crosscheck(const std::string& text, int limit, char phase2, char phase3, tally_t& tally) {
  run_C& run = preprocess_for_search("random", text);
  run.imp.phase2_b = phase2;
  run.imp.phase3_b = phase3;
  reference_circuit_t ref(text);
  std::mt19937_64 rng(17);
  run.settings.max_number_backtracks_i = limit;
  const line_liste_C& lines_C = run.circuit.lines_C;
  std::vector<line_C*> lines(lines_C.elemente_p.begin(), lines_C.elemente_p.begin() + lines_C.anzahl_i);
  for (line_C* line : lines) {
    for (char value : {ZERO, ONE}) {
      imp().reset_net(TEST_FOUND);
      imp().unjustified_bound_line_C.anzahl_i = 0;
      const reference_fault_t fault = ref.fault_of(line, value == ONE);
      line->good_value_c = value == ZERO ? ONE : ZERO;
      line->bad_value_c = value;
      fan_result_t r = generate_test(current_run(), line, value);
      const std::string what = line->name_s + (value == ZERO ? " s-a-0" : " s-a-1");
      if (r == TEST_FOUND) {
        tally.tests++;
        EXPECT_EQ(ref.detecting_patterns(input_fillings(ref, rng), fault), ~0ULL) << what << "\n" << text;
      } else if (r == REDUNDANT) {
        tally.redundant++;
        EXPECT_FALSE(ref.detectable(fault)) << what << "\n" << text;
        expect_journal_undone(line);
      } else if (r == ABORTED) {
        tally.aborted++;
      } else {
        tally.other++;
      }
      imp().reset_net(r);
      imp().unjustified_bound_line_C.anzahl_i = 0;
    }
  }
}

// Runs the search on `count` random circuits from first_seed on, with the
// given backtrack limit and phase, and returns what it answered.
tally_t run_random_circuits(unsigned first_seed, int count, int limit, char phase2, char phase3) {
  tally_t tally;
  run_on_large_stack([&] {
    for (int c = 0; c < count; c++) {
      unsigned seed = first_seed + static_cast<unsigned>(c);
      std::mt19937 shape(seed);
      int inputs = 2 + static_cast<int>(shape() % 11);
      int gates = 4 + static_cast<int>(shape() % 30);
      crosscheck(random_circuit(seed, inputs, gates), limit, phase2, phase3, tally);
      if (testing::Test::HasFailure()) return;
    }
  });
  std::cout << tally.tests << " tests, " << tally.redundant << " redundant, " << tally.aborted
            << " aborted\n";
  return tally;
}

TEST(SearchCrosscheck, FirstPhaseAnswersAreTrueOnRandomCircuits) {
  const tally_t tally = run_random_circuits(1000, 60, 1000, 0, 0);
  EXPECT_GT(tally.cases(), 1500);
  EXPECT_EQ(tally.aborted, 0);
}

TEST(SearchCrosscheck, OffPathSensitisationKeepsAnswersTrue) {
  const tally_t tally = run_random_circuits(2000, 60, 1000, 1, 0);
  EXPECT_GT(tally.cases(), 1500);
  EXPECT_EQ(tally.aborted, 0);
}

TEST(SearchCrosscheck, DynamicLearningKeepsAnswersTrue) {
  const tally_t tally = run_random_circuits(3000, 40, 1000, 1, 1);
  EXPECT_GT(tally.cases(), 1000);
  EXPECT_EQ(tally.aborted, 0);
}

// With limit 0 the search may give up, but whatever it answers holds.
TEST(SearchCrosscheck, WithoutBacktracksTheSearchMayGiveUpButNeverLies) {
  const tally_t tally = run_random_circuits(4000, 60, 0, 0, 0);
  EXPECT_GT(tally.tests + tally.redundant, 1000);
}

}  // namespace
