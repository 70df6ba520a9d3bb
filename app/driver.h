// The test generation driver: walks the targets in phases, hands every
// pattern to fault simulation and resets the circuit between searches.
#pragma once

#include "model/values.h"

class line_C;
class run_C;

// The whole test generation, after preprocessing.
void test_circuit(run_C& run);

// Marks the target's output cone as the driver does and runs the search for
// it; the caller has injected the fault (the target's good and bad value).
fan_result_t generate_test(run_C& run, line_C* target, char test_value);
