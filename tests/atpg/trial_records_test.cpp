// Learning trials taken from their records must leave every search exactly
// as making them again would: same answers, values, journal, learned
// implications and order of the working lists.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/driver.h"
#include "app/large_stack.h"
#include "app/run.h"
#include "model/circuit.h"
#include "model/line.h"
#include "support/circuit_text.h"
#include "support/random_circuit.h"
#include "support/search_state.h"

namespace {

std::string names(const line_liste_C& list) {
  std::string text;
  for (int i = 0; i < list.anzahl_i; i++) text += list[i]->name_s + " ";
  return text;
}

std::string learned_text(const circuit_C& circuit) {
  std::ostringstream text;
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    const line_C* l = circuit.lines_C[i];
    for (int index = 0; index < 2; index++) {
      const line_value_liste_C& list = l->dyn_learned_C[index];
      for (int j = 0; j < list.anzahl_i; j++) {
        text << l->name_s << index << ">" << list[j]->line_p->name_s << int(list[j]->value_c) << " ";
      }
    }
  }
  return text.str();
}

// Every line and stuck-at value of a circuit searched for in the third
// phase, one description per search; `repeated` counts the trials taken
// from records.
std::vector<std::string> third_phase_searches(const std::string& text, char repeat, long& repeated) {
  run_C& run = preprocess_for_search("records", text);
  run.imp.phase2_b = 1;
  run.imp.phase3_b = 1;
  run.settings.max_number_backtracks_i = 10;
  run.fan.learning.repeat_trials_b = repeat;
  std::vector<std::string> searches;
  const line_liste_C& lines_C = run.circuit.lines_C;
  std::vector<line_C*> lines(lines_C.elemente_p.begin(), lines_C.elemente_p.begin() + lines_C.anzahl_i);
  for (line_C* line : lines) {
    for (char value : {ZERO, ONE}) {
      run.imp.reset_net(TEST_FOUND);
      run.imp.unjustified_bound_line_C.anzahl_i = 0;
      line->good_value_c = value == ZERO ? ONE : ZERO;
      line->bad_value_c = value;
      const fan_result_t r = generate_test(run, line, value);
      std::string journal;
      for (const std::string& entry : journal_text()) journal += entry + "; ";
      searches.push_back(line->name_s + (value == ZERO ? " s-a-0: " : " s-a-1: ") + std::to_string(r) +
                         " | " + values_text() + " | " + journal + " | " +
                         names(run.imp.unjustified_bound_line_C) + " | " + names(run.imp.d_front_C) + " | " +
                         learned_text(run.circuit) + " | " + std::to_string(run.imp.number_backtracks_i));
      run.imp.reset_net(r);
      run.imp.unjustified_bound_line_C.anzahl_i = 0;
    }
  }
  repeated = run.fan.learning.trials_repeated;
  return searches;
}

void expect_same_searches(const std::string& text, long& repeated_in_all) {
  long repeated = 0, none = 0;
  const std::vector<std::string> with_records = third_phase_searches(text, 1, repeated);
  const std::vector<std::string> every_trial_made = third_phase_searches(text, 0, none);
  EXPECT_EQ(none, 0);
  ASSERT_EQ(with_records.size(), every_trial_made.size());
  for (size_t i = 0; i < with_records.size(); i++) {
    ASSERT_EQ(with_records[i], every_trial_made[i]) << text;
  }
  repeated_in_all += repeated;
}

TEST(TrialRecords, SearchesGoExactlyAsWithEveryTrialMadeOnRandomCircuits) {
  long repeated_in_all = 0;
  run_on_large_stack([&] {
    for (unsigned seed = 7000; seed < 7040; seed++) {
      std::mt19937 shape(seed);
      const int inputs = 4 + static_cast<int>(shape() % 10);
      const int gates = 20 + static_cast<int>(shape() % 40);
      expect_same_searches(random_circuit(seed, inputs, gates), repeated_in_all);
      if (testing::Test::HasFailure()) return;
    }
  });
  // The comparison means something only if records were used.
  EXPECT_GT(repeated_in_all, 1000);
}

// A circuit large enough for long searches: many steps of learning between
// changes of the search state, and changes far from most trials.
TEST(TrialRecords, SearchesGoExactlyAsWithEveryTrialMadeOnC432) {
  std::ifstream in(std::string(QUARN_TEST_CIRCUITS) + "/c432.cir");
  std::stringstream text;
  text << in.rdbuf();
  long repeated = 0;
  run_on_large_stack([&] { expect_same_searches(text.str(), repeated); });
  EXPECT_GT(repeated, 100000);
}

}  // namespace
