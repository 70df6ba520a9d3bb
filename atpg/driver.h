// The test generation driver: walks the targets in phases, hands every
// pattern to fault simulation and resets the circuit between searches.
#pragma once

#include "model/values.h"

class line_C;

// Phases and modes of the present search.
extern char phase2_b;
extern char phase3_b;
extern char testing_phase_b;
extern char hazard_test_ein_b;  // robust tests required in the present pass
extern char hazard_occured_b;   // a robustness check rejected a state
extern char init_pattern_b;     // the present run only sets up an initialisation pattern
extern char test_generated_b;

// Counters of the whole run.
extern int number_backtracks_i;   // backtracks of the present search
extern int backtrack_counter_i;   // backtracks of all searches
extern int no_red_classes_i;      // redundant targets
extern int no_aborted_path_i;     // aborted targets or paths
extern int no_redundant_path_i;   // redundant paths
extern int elements_to_test_i;    // bridging targets left
extern int zento_reject_level_i;  // sub-passes, for the switch-level companion

// The whole test generation, after preprocessing.
void test_circuit();

// Resets every value, cone mark and working set after a search; a found test
// leaves its good values behind as the init values of the next one.
void reset_net(fan_result_t r);

// Marks the target's output cone as the driver does and runs the search for
// it; the caller has injected the fault (the target's good and bad value).
fan_result_t generate_test(line_C* target, char test_value);
