// The command line, the fixed sequence of phases and the settings of a run.
#pragma once

// Circuit name: the circuit file as given, and after the file's Circuit
// statement its stem. Every output file is this name plus an extension.
constexpr int circuit_name_size = 800;
extern char schaltungsname_s[circuit_name_size];

extern int max_number_backtracks_i;
extern bool only_iddq_test_b;
extern bool only_stuck_at_test_b;
extern bool stuck_at_test_without_branches_b;
extern bool path_delay_test_b;
extern bool transition_test_b;
extern bool stuck_open_test_b;
extern bool iddq_stuck_on_test_b;
extern bool bridging_iddq_b;
extern bool bridging_b;
extern bool use_3_phases_b;

// The whole run; returns after the last phase.
int mmain(int argc, char* argv[]);
// Prints the usage text and ends the process: a call without the required
// arguments is a failed invocation.
[[noreturn]] void quarn_syntax();
// Sizes the working lists once the circuit is known.
void listen_init();

// Exit status of an invocation with missing or unrecognised arguments.
constexpr int usage_exit_status = 2;
