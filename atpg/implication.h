// Implication: every value that follows necessarily from the present
// assignments, forward and backward, for the good circuit and, inside the
// target's output cone, for the faulty one.
#pragma once

class line_C;
class gate_C;

// Runs the pending implications; 0 or 3 (conflict).
char implication();

// Gives an unassigned line a deduced good value: journalled, and a bound line
// enters the unjustified bound lines in the same journal entry.
void assign_good_value(line_C* line, char value);

// Journal entries of the list changes implication makes.
void journal_good(line_C* line, char old_value, char new_value);
void journal_bad(line_C* line, char old_value, char new_value);
void remove_from_unjustified(line_C* line);
void enter_d_front(line_C* line);
void leave_d_front(line_C* line);

// The value a gate computes from its inputs in the good circuit, or in the
// faulty one (where lines of the output cone contribute their bad value).
unsigned char evaluate_gate(const gate_C* g, bool faulty, const char* caller);
// The controlling input value of a gate, or X when it has none.
unsigned char controlling_value(const gate_C* g);
