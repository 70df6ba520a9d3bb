// Two-pattern tests are only trustworthy when no line on the sensitised path
// can glitch between the first pattern (the lines' init values) and the
// second (their good values): robust marking classifies the good values
// after such a test, and the hazard analysis decides whether a target's test
// can glitch. Its memo per gate is kept valid by clear_hazard_bits
// (model/hazard.h).
#pragma once

class circuit_C;
class gate_C;
class line_C;

// Gives every good value ONE or ZERO its robust (hazard-free) or plain code.
void mark_robust_signals(circuit_C& circuit);
void mark_robust_signals(gate_C* g);

// 1 when the test for the fault that the test value names at line can glitch.
char robustness_test(line_C* line, char test_value);
// 1 when line can glitch between the two patterns.
char hazard_test(line_C* line);
