#include "atpg/working_sets.h"

line_liste_C implication_line_C;
line_liste_C d_front_C(position_slot_t::d_front);
line_liste_C unjustified_bound_line_C(position_slot_t::unjustified);
line_liste_C unjustified_free_line_C;
line_liste_C tmp_line_liste_C;
line_liste_C hilf_imp_line_C;
gate_liste_C tmp_gate_liste_C;

line_C* ziel_line_p = nullptr;

char input_kegel_changed_b = 0;
char d_front_changed_b = 0;
char bound_line_in_back_implication_ausgefuegt_b = 0;
gate_C* inconsistent_gate_p = nullptr;

void init_working_sets(int lines, int gates) {
  for (line_liste_C* list : {&implication_line_C, &d_front_C, &unjustified_bound_line_C,
                             &unjustified_free_line_C, &tmp_line_liste_C, &hilf_imp_line_C}) {
    list->init(lines);
  }
  tmp_gate_liste_C.init(gates);
}
