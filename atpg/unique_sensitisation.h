// Values every propagation path of the fault effect needs, assigned without
// a decision: along a chain of single gates in front of the D-frontier and,
// from the second phase on, at the off-path inputs common to all paths.
#pragma once

class implication_C;

// 0 values assigned, 3 conflict, 4 nothing assigned.
char unique_sensitisation(implication_C& imp);
