// One run of the program: its command line, the objects that own every
// piece of its state, and the fixed sequence of phases.
#pragma once

#include "app/cpu_time.h"
#include "atpg/fan.h"
#include "atpg/paths.h"
#include "atpg/pattern.h"
#include "atpg/sat_search.h"
#include "atpg/targets.h"
#include "base/messages.h"
#include "base/settings.h"
#include "faults/collapsing.h"
#include "faults/fault_simulation.h"
#include "faults/target_list.h"
#include "implication/implication.h"
#include "model/circuit.h"
#include "preproc/preprocessing.h"

// Most characters of the circuit file name, the stem of every output file.
constexpr int circuit_name_size = 800;

// Exit status of an invocation with missing or unrecognised arguments.
constexpr int usage_exit_status = 2;

class run_C {
 public:
  run_C() = default;
  run_C(const run_C&) = delete;
  run_C& operator=(const run_C&) = delete;

  settings_C settings;
  messages_C messages{settings};
  circuit_C circuit;
  implication_C imp{circuit, settings};
  target_list_C target_list{circuit, settings};
  collapsing_C collapsing{circuit, settings, imp, target_list};
  fault_simulation_C simulation{circuit, settings, imp, target_list, collapsing};
  fan_C fan{imp, settings, messages};
  sat_search_C sat{circuit, settings, imp};
  targets_C targets{settings, imp, target_list};
  paths_C paths{circuit, imp};
  pattern_writer_C patterns{circuit, settings, imp, simulation, paths};
  preprocessing_C preprocessing{circuit, settings, messages, imp, target_list, collapsing};
  cpu_time_C cpu;

  // Counters of the whole run.
  int backtrack_counter_i = 0;   // backtracks of all searches
  int no_red_classes_i = 0;      // redundant targets
  int no_aborted_path_i = 0;     // aborted targets or paths
  int no_redundant_path_i = 0;   // redundant paths
  int zento_reject_level_i = 0;  // sub-passes, for the switch-level companion
  double robuste_fehlerueberdeckung_f = 0;

  // Sizes the working lists once the circuit is known.
  void listen_init();
};

// The whole run as the program makes it: arguments checked, circuit read,
// preprocessed and tested, every file written. Returns the exit status; a
// fatal error is reported here (message, statistics file, debug dump).
int mmain(int argc, char* argv[]);

// What a fatal error leaves behind: its message on standard output and in
// the statistics file, and the debug dump of every record.
void report_fatal_error(const run_C& run, const string_C& message);

// The text printed for a call without the required arguments.
void print_usage();
