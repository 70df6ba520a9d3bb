// The bridging targets of a run: the pairs named in a ".BF_flt" file of
// records of three words (a keyword, then two signal names), or, without
// that file, every pair of signals that are not fanout branches.
#pragma once

#include <cstdint>
#include <istream>

class circuit_C;
class messages_C;
class target_list_C;
struct settings_C;

// Takes every record whose keyword the model accepts (BRIDGING: "bridge" in
// any letter case; BRIDGING_IDDQ: any) and whose two names are signals of
// the circuit. A record naming one signal twice is skipped with a warning.
void read_bridging_fault_list(std::istream& in, circuit_C& circuit, const settings_C& settings,
                              messages_C& messages, target_list_C& targets);

// Every unordered pair of non-branch signals, in the order of the signal
// list. With BRIDGING a pair that no values can activate is counted in
// nr_redFaults and listed in the statistics file instead. A circuit with
// more pairs than the machine can hold ends the run with a message that
// names their number.
void calculate_bridgings(circuit_C& circuit, const settings_C& settings, target_list_C& targets);
