// Fault simulation of a generated pattern: every target fault that the
// pattern detects is marked done, logged and collected for dropping.
#pragma once

#include <fstream>

class line_C;

// The test log (the circuit name followed by ".tests"), open while tests
// are generated.
extern std::ofstream simu_F;

// Simulates all target faults under the values the present pattern left in
// the circuit; target and test value name the fault it was generated for.
void fault_simulation(line_C* target, char test_value);
// The variant for faults detected by quiescent-current measurement.
void iddq_fault_simulation();
// Whether the fault effect of line reaches a primary output.
char exist_signal_path_to_output(line_C* line, char test_value);
