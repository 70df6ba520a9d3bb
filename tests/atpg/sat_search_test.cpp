// The solver's answers against the tests' own evaluator: on random circuits
// every line's two stuck-at faults are decided, a test detects its fault
// under every filling of its open inputs, and a fault called redundant has
// no detecting input vector. Nothing is left undecided.
#include "atpg/sat_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/large_stack.h"
#include "app/run.h"
#include "model/circuit.h"
#include "model/line.h"
#include "preproc/cones.h"
#include "support/circuit_text.h"
#include "support/random_circuit.h"
#include "support/reference_circuit.h"
#include "support/search_state.h"

namespace {

struct tally_t {
  int tests = 0, redundant = 0;
};

// Every line and value of one circuit; with activation_only the faults are
// those of quiescent-current testing, which only need activating.
void crosscheck(const std::string& text, bool activation_only, tally_t& tally) {
  run_C& run = preprocess_for_search("random", text);
  if (activation_only) run.settings.select_fault_model(fault_model_t::iddq);
  const reference_circuit_t ref(text);
  std::mt19937_64 rng(23);
  const line_liste_C& lines_C = run.circuit.lines_C;
  std::vector<line_C*> lines(lines_C.elemente_p.begin(), lines_C.elemente_p.begin() + lines_C.anzahl_i);
  for (line_C* line : lines) {
    for (char value : {ZERO, ONE}) {
      run.imp.reset_net(TEST_FOUND);
      const reference_fault_t fault = ref.fault_of(line, value == ONE);
      line->good_value_c = mynot(value);
      line->bad_value_c = value;
      if (!activation_only) output_kegel(line);
      const fan_result_t r = run.sat.sat_alg(line, value);
      const std::string what = line->name_s + (value == ZERO ? " s-a-0" : " s-a-1") + "\n" + text;
      const bool detectable = ref.detectable(fault, activation_only);
      ASSERT_EQ(r, detectable ? TEST_FOUND : REDUNDANT) << what;
      if (r == TEST_FOUND) {
        tally.tests++;
        const std::vector<uint64_t> in = input_fillings(ref, rng);
        EXPECT_EQ(activation_only ? ref.activating_patterns(in, fault) : ref.detecting_patterns(in, fault),
                  ~0ULL)
            << what;
      } else {
        tally.redundant++;
      }
    }
  }
  run.imp.reset_net(TEST_FOUND);
}

tally_t run_random_circuits(unsigned first_seed, int count, bool activation_only) {
  tally_t tally;
  run_on_large_stack([&] {
    for (int c = 0; c < count && !testing::Test::HasFailure(); c++) {
      const unsigned seed = first_seed + static_cast<unsigned>(c);
      std::mt19937 shape(seed);
      const int inputs = 2 + static_cast<int>(shape() % 11);
      const int gates = 4 + static_cast<int>(shape() % 30);
      crosscheck(random_circuit(seed, inputs, gates), activation_only, tally);
    }
  });
  return tally;
}

TEST(SatSearch, EveryStuckAtAnswerHoldsOnRandomCircuits) {
  const tally_t tally = run_random_circuits(5000, 60, false);
  // Random logic has both kinds in numbers.
  EXPECT_GT(tally.tests, 1500);
  EXPECT_GT(tally.redundant, 20);
}

TEST(SatSearch, QuiescentCurrentFaultsOnlyNeedActivating) {
  const tally_t tally = run_random_circuits(6000, 30, true);
  EXPECT_GT(tally.tests, 700);
}

}  // namespace
