// Circuits prepared for the search the way the driver has them before a
// target, and the search state in a form the tests can compare. They work
// on the current run (support/circuit_text.h).
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/values.h"

class line_C;
class run_C;
class reference_circuit_t;

// Reads the circuit with levels, line classes and probabilistic figures but
// no static learning, so every implication comes from the gates alone; the
// pure stuck-at model and the first phase are selected, limit 10.
run_C& prepare_search(const std::string& stem, const std::string& text);

// Reads the circuit and runs the whole preprocessing (static learning
// included) and the probabilistic measures, as a run does before its
// searches; stuck-at model, limit 10, first phase.
run_C& preprocess_for_search(const std::string& stem, const std::string& text);

// What the search does with a target before its first implication: output
// cone, fault injected (the test value is the stuck-at value), target in the
// D-frontier, in the lines to imply and, when bound, in the unjustified set.
void stage_target(line_C* target, char test_value);

// Gives each line of "y0 a1 ..." (one-letter names) its good value, without
// the journal.
void set_good(const std::string& values);

// Injects the fault at the target and runs the search as the driver does.
fan_result_t search_for(const std::string& target, char test_value);

// Input words for 64 fillings of the pattern the current run's primary
// inputs hold: open inputs 0 in pattern 0, 1 in pattern 1, random in the
// others; in the order of the evaluator's inputs.
std::vector<uint64_t> input_fillings(const reference_circuit_t& ref, std::mt19937_64& rng);

// The journal oldest first, one text per entry: the line, "decision",
// "good <old>><new>" and "bad <old>><new>" (0, 1, X), "+unjustified",
// "-unjustified", "+dfront", "-dfront". Reading leaves the journal as it was.
std::vector<std::string> journal_text();

// "name good/bad" for every line holding a value, in signal list order.
std::string values_text();
