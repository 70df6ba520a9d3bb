// Learning during the third phase: both values are tried on every open line;
// a value that leads to a conflict is excluded, and the implications seen
// are kept (for the present search state) in their contrapositive form.
#pragma once

// 0 values assigned or learned, 3 the present state is inconsistent, 4 nothing.
char dyn_learning();

// Empties the dynamically learned implications of every line: they hold only
// for the search state that found them.
void forget_dynamic_implications();
