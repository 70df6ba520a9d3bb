// Circuits prepared for the search the way the driver has them before a
// target, and the search state (values, working sets, journal) in a form
// the tests can compare.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "model/values.h"

class line_C;
class gate_C;

// Reads the circuit and computes levels, line classes and the probabilistic
// figures; values, working sets, journal and flags start reset, the pure
// stuck-at model is selected and the first phase is running. Static
// learning does not run, so every implication comes from the gates alone.
void prepare_search(const std::string& stem, const std::string& text);

// What the search does with a target before its first implication: output
// cone, fault injected (the test value names the stuck-at value), target
// in the D-frontier, in the unjustified bound lines when it is bound, and in
// the lines to imply.
void stage_target(line_C* target, char test_value);

// y = (t a) xor (t a) from two And gates that both read t and a: y is
// always 0, so no fault on t is observable, and the search needs one
// decision (on a) to find that out. A fault on p1 alone is observable.
std::string cancelling_paths_circuit();

// Injects the fault the test value names at the target (good value the
// complement, bad value the test value) and runs the search for it the way
// the driver does.
fan_result_t search_for(const std::string& target, char test_value);

// The driving gate of a signal.
gate_C* driver_of(const std::string& line_name);

// The journal from the oldest entry to the newest, one text per entry:
// the line, "decision" for an optional one, "good <old>><new>" and
// "bad <old>><new>" for the values it changes (0, 1, X) and "+unjustified",
// "-unjustified", "+dfront", "-dfront" for its list flags. Reading it leaves
// the journal as it was.
std::vector<std::string> journal_text();

// Every good and bad value (in the order of the signal list), the D-frontier
// and the unjustified bound lines (as sorted names) and the journal's size.
struct search_state_t {
  std::vector<std::string> values;
  std::vector<std::string> d_front;
  std::vector<std::string> unjustified;
  int journal_entries = 0;
  bool operator==(const search_state_t&) const = default;
};
search_state_t capture_search_state();
std::ostream& operator<<(std::ostream& out, const search_state_t& state);

// The text of a value as journal_text writes it.
std::string value_text(char v);
