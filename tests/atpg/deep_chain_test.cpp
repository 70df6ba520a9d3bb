// A chain of 200000 inverters: the search from its input implies through
// the whole depth of the circuit.
#include <gtest/gtest.h>

#include <string>

#include "app/driver.h"
#include "app/large_stack.h"
#include "app/run.h"
#include "model/circuit.h"
#include "model/line.h"
#include "support/circuit_text.h"
#include "support/search_state.h"

namespace {

constexpr int chain_length = 200000;

TEST(DeepChain, TargetAtTheInputOfTheLongestChainIsTested) {
  const std::string text = inverter_chain(chain_length);
  run_on_large_stack([&] {
    run_C& run = preprocess_for_search("chain", text);
    line_C* input = line_named("s0");
    line_C* output = line_named("s" + std::to_string(chain_length));
    for (char value : {ZERO, ONE}) {
      run.imp.reset_net(TEST_FOUND);
      input->good_value_c = value == ZERO ? ONE : ZERO;
      input->bad_value_c = value;
      ASSERT_EQ(generate_test(run, input, value), TEST_FOUND);
      // An even number of inversions: the output follows the input, and the
      // fault effect arrives there.
      EXPECT_EQ(input->good_value_c, value == ZERO ? ONE : ZERO);
      EXPECT_EQ(output->good_value_c, input->good_value_c);
      EXPECT_EQ(output->bad_value_c, value);
      EXPECT_EQ(line_named("s1")->good_value_c, mynot(input->good_value_c));
    }
    run.imp.reset_net(TEST_FOUND);
  });
}

}  // namespace
