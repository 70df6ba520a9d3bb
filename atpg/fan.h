// The search for one test: implication, unique sensitisation, learning and
// multiple backtrace, with chronological backtracking through the journal.
#pragma once

#include "model/values.h"

class line_C;

// Generates a test for the fault that the test value names at the target
// line; the pattern is left on the primary inputs.
fan_result_t fan_alg(line_C* target, char test_value);

char exist_untried_combination_of_values();
void set_untried_combination_of_values();
int number_of_gates_in_d_front();
void justify_free_lines();

struct protocol_item_t;
// Reverses one journal entry: its values and its list changes.
void undo_journal_entry(const protocol_item_t* entry);
