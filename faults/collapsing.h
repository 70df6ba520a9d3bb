// Stuck-at faults grouped by structural equivalence and dominance: one
// target per equivalence class, and results carried over to the related
// faults.
#pragma once

#include "model/liste.h"
#include "model/values.h"

class circuit_C;
class implication_C;
class line_C;
class line_value_liste_C;
class target_list_C;
struct settings_C;

// Fault kinds of this module: a stuck-at-0 or stuck-at-1 fault at a line.
enum : int { STUCK_AT_0_KIND = 2, STUCK_AT_1_KIND = 3 };
// What the class count looks for.
enum test_typ_t : int { TEST_TYP_ABORTED = 0, TEST_TYP_REDUNDANT = 1 };

// The output fault of a gate of the given type equivalent to the input fault
// of kind k at line (2 or 3), or 0 for none.
int out_Aequivalenztyp(line_C* line, char gate_type, int k);
// The output fault dominating it (2 or 3), or 1 for none.
int out_Dominanztyp(line_C* line, char gate_type, int k);
// Orders the target list by falling level.
int compare_zielfehler(const void* a, const void* b);
void sort_by_falling_level(line_value_liste_C& zielfehler_C);

class collapsing_C {
 public:
  collapsing_C(circuit_C& circuit, const settings_C& settings, implication_C& imp, target_list_C& targets);

  int aequivalenzen_zahl_i = 0;
  int aborted_klassen_zahl_i = 0;
  int redundanz_klassen_zahl_i = 0;
  line_liste_C red_abo_liste_C;

  void zaehl_aequivalenzen(line_C* line);
  void zaehl_aequivalenzen_towards_input(line_C* line, int r);
  // Builds the target list with one fault per equivalence class, sorted by
  // falling level.
  void gib_aequi_klassen_zahl();
  // Carries the result of the fault of kind k at line over to the equivalent
  // faults, and a detection to the dominating ones.
  void mark_all(line_C* line, int k);
  void mark_aequivalenzen_towards_input(line_C* line);
  // Marks a target (and its class) with the result of a failed search: 1
  // aborted, any other redundant.
  void mark_result(line_C* line, fan_result_t r, char test_value);
  // Counts the classes with an aborted and with a redundant member.
  void gib_redundanz_aborted_klassen_anzahl();
  void zaehl_abort_u_redunant_klassen(line_C* line, test_typ_t typ, int k);
  void zaehl_abort_u_redunant_klassen_towards_input(line_C* line, test_typ_t typ, int k);

 private:
  circuit_C& circuit_;
  const settings_C& settings_;
  implication_C& imp_;
  target_list_C& targets_;

  void add_detected(line_C* l, int k);
  void mark_done(line_C* l, int k);
  void sort_targets();
};
