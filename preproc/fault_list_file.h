// Target faults chosen by the user: a ".flt" file of records of two words,
// a fault keyword ("s-a-0", "s-a-1", "rising", "falling", "i-s-on-0",
// "i-s-on-1", any letter case) and a signal name.
#pragma once

#include <istream>

class circuit_C;
class messages_C;
class target_list_C;
struct settings_C;

// Reads the records the selected model accepts into the target list, sorted
// by falling level; a name no signal has is warned about. A fanout branch
// is also selected by its name without the last "_" and what follows.
void read_flt(std::istream& in, circuit_C& circuit, const settings_C& settings, messages_C& messages,
              target_list_C& targets);
