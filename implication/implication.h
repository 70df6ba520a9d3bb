// Implication: every value that follows necessarily from the present
// assignments, forward and backward, for the good circuit and, inside the
// target's output cone, for the faulty one. The engine owns the state of the
// present search that implication works on: the journal, the working sets,
// the flags of the search and the learned implications it applies.
#pragma once

#include <cstdint>
#include <vector>

#include "implication/footprint.h"
#include "model/key_set.h"
#include "model/liste.h"
#include "model/protocol.h"
#include "model/values.h"

class circuit_C;
class line_C;
class gate_C;
struct settings_C;

class implication_C {
 public:
  implication_C(circuit_C& circuit, const settings_C& settings);

  circuit_C& circuit;
  const settings_C& settings;

  protocol_stack_C protocol_C;

  // The working sets of one search.
  line_liste_C implication_line_C;
  line_liste_C d_front_C{position_slot_t::d_front};
  line_liste_C unjustified_bound_line_C{position_slot_t::unjustified};
  line_liste_C unjustified_free_line_C;
  line_liste_C tmp_line_liste_C;
  line_liste_C hilf_imp_line_C;
  gate_liste_C tmp_gate_liste_C;
  // The target line; its bad value is the injected fault.
  line_C* ziel_line_p = nullptr;
  char input_kegel_changed_b = 0;
  char d_front_changed_b = 0;
  char bound_line_in_back_implication_ausgefuegt_b = 0;
  gate_C* inconsistent_gate_p = nullptr;
  // Set before a robustness check, which leaves hazard memos on gates:
  // reset_net then clears them.
  char hazard_memo_written_b = 0;

  // Phase and mode of the present search.
  char phase2_b = 0;
  char phase3_b = 0;
  char testing_phase_b = 0;
  char hazard_test_ein_b = 0;  // robust tests required in the present pass
  char hazard_occured_b = 0;   // a robustness check rejected a state
  char init_pattern_b = 0;     // the present run only sets up an initialisation pattern
  char test_generated_b = 0;
  int number_backtracks_i = 0;  // backtracks of the present search

  // Learned implications. Static learning records its implications in the
  // lines' learned_C lists and their keys here; dynamic learning those of the
  // present search state in dyn_learned_C.
  key_set_t statically_learned;
  std::vector<line_C*> lines_with_dynamic_implications;
  // Counts the times the dynamically learned implications were forgotten.
  uint32_t dynamic_generation_i = 0;
  // What learning trials read, and where the search state changed.
  footprint_C footprint;
  // The lines learning proved can take one value only, in circuit order.
  line_liste_C only_value_lines_C;

  // Sizes the journal and every working set for a circuit of the given
  // number of lines and gates.
  void init_working_sets(int lines, int gates);

  // Runs the pending implications; 0 or 3 (conflict).
  char implication();
  char forward_implication(gate_C* g);
  char backward_implication(gate_C* g, char global);
  // Forward only, without journal, lists or learned implications; records
  // the gate that first disagreed in inconsistent_gate_p.
  char fast_forward_implication(gate_C* g);
  // Applies the learned implications of a line that holds a value.
  char global_implication(line_C* l);
  char try_global_imp(gate_C* g);

  // Gives an unassigned line a deduced good value: journalled, and a bound
  // line enters the unjustified bound lines in the same journal entry.
  void assign_good_value(line_C* line, char value);
  // Journal entries of the list changes implication makes.
  void journal_good(line_C* line, char old_value, char new_value);
  void journal_bad(line_C* line, char old_value, char new_value);
  void remove_from_unjustified(line_C* line);
  void enter_d_front(line_C* line);
  void leave_d_front(line_C* line);
  // Reverses one journal entry: its values and its list changes.
  void undo_journal_entry(const protocol_item_t* entry);

  // Resets every value, cone mark and working set after a search; a found
  // test leaves its good values behind as the init values of the next one.
  void reset_net(fan_result_t r);
  // Empties the dynamically learned implications of every line: they hold
  // only for the search state that found them.
  void forget_dynamic_implications();

 private:
  bool in_cone_not_target(const line_C* l) const;
  char assign_input(line_C* input, char value);
};

// The value a gate computes from its inputs in the good circuit, or in the
// faulty one (where lines of the output cone contribute their bad value).
unsigned char evaluate_gate(const gate_C* g, bool faulty, const char* caller);
