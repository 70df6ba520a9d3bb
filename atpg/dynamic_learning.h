// Learning during the third phase: both values are tried on every open line;
// a value that leads to a conflict is excluded, and the implications seen
// are kept (for the present search state) in their contrapositive form.
#pragma once

class implication_C;
class line_C;

// 0 values assigned or learned, 3 the present state is inconsistent, 4 nothing.
char dyn_learning(implication_C& imp);
// Both trials on one line.
char dyn_try_learning(implication_C& imp, line_C* line);
// Learns what the trial of l showed about line (which holds a value).
char dyn_learn(implication_C& imp, line_C* line, line_C* l);
