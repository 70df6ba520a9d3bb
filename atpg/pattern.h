// The pattern file of a run: a header naming the primary inputs and outputs,
// then one line per pattern with the input values, the fault-free output
// values and the target it was generated for.
#pragma once

class line_C;

// Patterns written, for the report.
extern int tests_i;
extern int inits_i;
extern int no_testpattern_i;
extern int no_non_robust_pattern_i;

// Writes the pattern the last search left on the primary inputs; an
// initialisation pattern is kept and written in front of the next test.
void print_testpattern(line_C* target, int sub_pass);
