#include "implication/implication.h"

#include <string>

#include "base/messages.h"
#include "base/settings.h"
#include "model/gate.h"
#include "model/hazard.h"
#include "model/line.h"

namespace {

[[noreturn]] void gate_kind_error(const char* caller, const char* what) {
  error(string_C(std::string(caller) + what));
}

}  // namespace

unsigned char evaluate_gate(const gate_C* g, bool faulty, const char* caller) {
  auto value = [faulty](const line_C* l) -> unsigned char {
    return faulty && l->in_ausgangskegel_b ? l->bad_value_c : l->good_value_c;
  };
  const line_liste_C& in = g->inputs_C;
  unsigned char v;
  switch (g->gate_type_c) {
    case AND_GATE:
    case NAND_GATE:
      v = ONE;
      for (int i = 0; i < in.anzahl_i; i++) v = myand(v, value(in[i]));
      return g->gate_type_c == NAND_GATE ? mynot(v) : v;
    case OR_GATE:
    case NOR_GATE:
      v = ZERO;
      for (int i = 0; i < in.anzahl_i; i++) v = myor(v, value(in[i]));
      return g->gate_type_c == NOR_GATE ? mynot(v) : v;
    case EXOR_GATE:
      return myexor(value(in[0]), value(in[1]));
    case INVERTER_GATE:
      return mynot(value(in[0]));
    case DRIVER_GATE:
    case FANOUT_GATE:
      return value(in[0]);
    case FLIPFLOP_GATE:
    case SEQUENTIAL_GATE:
      gate_kind_error(caller, ": not implemented for sequential gates");
    default:
      gate_kind_error(caller, ": undefined gate found");
  }
}

bool implication_C::in_cone_not_target(const line_C* l) const {
  return l->in_ausgangskegel_b && l != ziel_line_p;
}

void implication_C::journal_good(line_C* line, char old_value, char new_value) {
  protocol_C.push(good_value_entry(line, old_value, new_value));
}

void implication_C::journal_bad(line_C* line, char old_value, char new_value) {
  protocol_C.push(bad_value_entry(line, old_value, new_value));
}

void implication_C::remove_from_unjustified(line_C* line) {
  unjustified_bound_line_C.fuege_aus(line);
  protocol_C.push(list_entry(line, list_change_t::bound_out));
}

// The D-frontier is a set: a line already in it is not entered twice.
void implication_C::enter_d_front(line_C* line) {
  if (d_front_C.element_in_liste(line, 0)) return;
  d_front_C.fuege_ein(line);
  protocol_C.push(list_entry(line, list_change_t::d_front_in));
}

void implication_C::leave_d_front(line_C* line) {
  d_front_C.fuege_aus(line);
  protocol_C.push(list_entry(line, list_change_t::d_front_out));
  d_front_changed_b = 1;
}

void implication_C::assign_good_value(line_C* line, char value) {
  char old_value = line->good_value_c;
  line->good_value_c = value;
  if (line->in_eingangskegel_b) input_kegel_changed_b = 1;
  if (line->line_type_c == BOUND_LINE) {
    unjustified_bound_line_C.fuege_ein(line);
    protocol_item_t entry = good_value_entry(line, old_value, value);
    entry.bound_eingefuegt_b = 1;
    protocol_C.push(entry);
  } else {
    journal_good(line, old_value, value);
  }
}

char implication_C::forward_implication(gate_C* g) {
  clear_hazard_bits(g);
  footprint.read_gate(g);
  const bool fanout = g->gate_type_c == FANOUT_GATE;
  const int n_out = fanout ? g->outputs_C.anzahl_i : 1;
  line_C* first = g->output();
  const bool output_was_assigned = first->good_value_c != X;
  bool changed = false;

  unsigned char good = evaluate_gate(g, false, "gate_C::forward_implication");
  if (good != X) {
    for (int i = 0; i < n_out; i++) {
      line_C* out = g->outputs_C[i];
      if (out->good_value_c == X) {
        out->good_value_c = good;
        if (!fanout) out->learn_mark_b = 1;
        if (out->in_eingangskegel_b) input_kegel_changed_b = 1;
        journal_good(out, X, good);
        changed = true;
      }
      if (out->good_value_c != good) return STEP_CONFLICT;
    }
  }

  bool bad_evaluated = false;
  unsigned char bad = X;
  for (int i = 0; i < n_out; i++) {
    line_C* out = g->outputs_C[i];
    if (!in_cone_not_target(out)) continue;
    if (!bad_evaluated) {
      bad = evaluate_gate(g, true, "gate_C::forward_implication");
      bad_evaluated = true;
    }
    if (bad == X) continue;
    if (out->bad_value_c == X) {
      out->bad_value_c = bad;
      journal_bad(out, X, bad);
      changed = true;
    }
    if (out->bad_value_c != bad) return STEP_CONFLICT;
  }

  // The fault effect moves from the inputs to the outputs.
  if (first->good_value_c != X && first->bad_value_c != X && !settings.current_detection()) {
    bool removed = false;
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
      if (d_front_C.element_in_liste(g->inputs_C[i], 0)) {
        leave_d_front(g->inputs_C[i]);
        removed = true;
      }
    }
    if (removed) {
      for (int i = 0; i < g->outputs_C.anzahl_i; i++) {
        line_C* out = g->outputs_C[i];
        if (out->good_value_c != X && out->bad_value_c != X && out->good_value_c != out->bad_value_c) {
          enter_d_front(out);
          changed = true;
        }
      }
    }
    footprint.read_d_front_size();
    if (d_front_C.is_empty()) return STEP_CONFLICT;
  }

  if (good != X) {
    for (int i = 0; i < n_out; i++) {
      line_C* out = g->outputs_C[i];
      if (bad == X && in_cone_not_target(out)) continue;
      if (unjustified_bound_line_C.element_in_liste(out, 0)) remove_from_unjustified(out);
    }
  }

  if (fanout) {
    if (changed) {
      for (int i = 0; i < n_out; i++) {
        line_C* out = g->outputs_C[i];
        if (!out->primary_output_b && forward_implication(out->successor()) == STEP_CONFLICT)
          return STEP_CONFLICT;
      }
    }
  } else {
    if (output_was_assigned) {
      // The output is known and only one input is open: that input follows.
      unsigned char c = g->controlling_value();
      int open = 0;
      bool controlled = false;
      for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
        if (g->inputs_C[i]->good_value_c == X) open++;
        if (c != X && g->inputs_C[i]->good_value_c == c) controlled = true;
      }
      if (open == 1 && !controlled && backward_implication(g, 1) == STEP_CONFLICT) return STEP_CONFLICT;
    }
    if (changed && !first->primary_output_b && forward_implication(first->successor()) == STEP_CONFLICT) {
      return STEP_CONFLICT;
    }
  }
  return changed ? STEP_ASSIGNED : STEP_NOTHING_NEW;
}

// Gives an open input of g a value deduced from g's output and continues
// backwards from there.
char implication_C::assign_input(line_C* input, char value) {
  assign_good_value(input, value);
  if (!input->primary_input_b) return backward_implication(input->driver(), 1);
  return STEP_NOTHING_NEW;
}

char implication_C::backward_implication(gate_C* g, char global) {
  clear_hazard_bits(g);
  footprint.read_gate(g);
  const bool fanout = g->gate_type_c == FANOUT_GATE;
  line_C* out = g->outputs_C[0];
  if (!fanout && out->good_value_c == X && out->bad_value_c == X) {
    error(string_C("gate_C::backward_implication: output not covered"));
  }
  if (global) {
    if (try_global_imp(g) == STEP_CONFLICT) return STEP_CONFLICT;
    if (global_implication(out) == STEP_CONFLICT) return STEP_CONFLICT;
  }

  const unsigned char o = out->good_value_c;
  bool justified = false;
  switch (g->gate_type_c) {
    case AND_GATE:
    case NAND_GATE:
    case OR_GATE:
    case NOR_GATE: {
      const unsigned char c = g->controlling_value();
      const unsigned char f = g->semantics().forced_output();
      int n = 0;
      bool k = false;
      for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
        if (g->inputs_C[i]->good_value_c == X) n++;
        if (g->inputs_C[i]->good_value_c == c) k = true;
      }
      if ((k && o == mynot(f)) || (!k && n == 0 && o == f)) return STEP_CONFLICT;
      if (o == X || (!k && n > 1 && o == f)) return STEP_NOTHING_NEW;
      if ((k && o == f) || (!k && n == 0 && o == mynot(f))) {
        justified = true;
        break;
      }
      if (o == f) {
        // Only one input is open and none controls: it must control.
        if (n > 1) error(string_C("backward_implication  uncorrect"));
        int assigned = 0;
        for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
          line_C* in = g->inputs_C[i];
          if (in->good_value_c == c) error(string_C("backward_implication uncorrect"));
          if (in->good_value_c != X) continue;
          if (++assigned > 1) error(string_C("backward_implication uncorrect"));
          if (assign_input(in, c) == STEP_CONFLICT) return STEP_CONFLICT;
        }
      } else {
        for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
          line_C* in = g->inputs_C[i];
          if (in->good_value_c == X && assign_input(in, mynot(c)) == STEP_CONFLICT) return STEP_CONFLICT;
        }
        // Reconvergence may have given a later input the controlling value
        // while the earlier ones were being justified.
        for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
          if (g->inputs_C[i]->good_value_c == c) return STEP_CONFLICT;
        }
      }
      if (in_cone_not_target(out) && forward_implication(g) == STEP_CONFLICT) return STEP_CONFLICT;
      justified = true;
      break;
    }
    case EXOR_GATE: {
      line_C* a = g->inputs_C[0];
      line_C* b = g->inputs_C[1];
      if (o == X || (a->good_value_c == X && b->good_value_c == X)) return STEP_NOTHING_NEW;
      line_C* known = a->good_value_c != X ? a : b;
      line_C* other = known == a ? b : a;
      const unsigned char required = o == known->good_value_c ? ZERO : ONE;
      if (other->good_value_c == X) {
        if (assign_input(other, required) == STEP_CONFLICT) return STEP_CONFLICT;
        if (in_cone_not_target(out) && forward_implication(g) == STEP_CONFLICT) return STEP_CONFLICT;
      } else if (other->good_value_c != required) {
        return STEP_CONFLICT;
      }
      justified = true;
      break;
    }
    case INVERTER_GATE:
    case DRIVER_GATE:
    case FANOUT_GATE: {
      unsigned char required = X;
      if (fanout) {
        for (int i = 0; i < g->outputs_C.anzahl_i; i++) {
          unsigned char v = g->outputs_C[i]->good_value_c;
          if (v == X) continue;
          if (required != X && v != required) return STEP_CONFLICT;
          required = v;
        }
      } else if (o != X) {
        required = g->gate_type_c == INVERTER_GATE ? mynot(o) : o;
      }
      line_C* in = g->inputs_C[0];
      bool assigned = false;
      if (required != X) {
        if (in->good_value_c == X) {
          assign_good_value(in, required);
          assigned = true;
        } else if (in->good_value_c != required) {
          return STEP_CONFLICT;
        }
      }
      if (fanout) {
        for (int i = 0; i < g->outputs_C.anzahl_i; i++) {
          if (unjustified_bound_line_C.element_in_liste(g->outputs_C[i], 0)) {
            remove_from_unjustified(g->outputs_C[i]);
            bound_line_in_back_implication_ausgefuegt_b = 1;
          }
        }
      }
      if (!assigned) return STEP_NOTHING_NEW;
      if (!in->primary_input_b && backward_implication(in->driver(), 1) == STEP_CONFLICT)
        return STEP_CONFLICT;
      if (fanout) {
        if (forward_implication(g) == STEP_CONFLICT) return STEP_CONFLICT;
        return STEP_ASSIGNED;
      }
      justified = true;
      break;
    }
    case FLIPFLOP_GATE:
    case SEQUENTIAL_GATE:
      error(string_C("gate_C::backward_implication: for sequential gates not implemented"));
    default:
      error(string_C("gate_C::backward_implication: undefined gate found"));
  }

  if (justified && unjustified_bound_line_C.element_in_liste(out, 0)) {
    bool complete = true;
    if (in_cone_not_target(out)) {
      for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
        const line_C* in = g->inputs_C[i];
        if (in->good_value_c == X || (in->in_ausgangskegel_b && in->bad_value_c == X)) complete = false;
      }
    }
    if (complete) {
      remove_from_unjustified(out);
      bound_line_in_back_implication_ausgefuegt_b = 1;
    }
  }
  return STEP_ASSIGNED;
}

char implication_C::fast_forward_implication(gate_C* g) {
  const bool fanout = g->gate_type_c == FANOUT_GATE;
  const int n_out = fanout ? g->outputs_C.anzahl_i : 1;
  const unsigned char good = evaluate_gate(g, false, "gate_C::fast_forward_implication");
  bool bad_evaluated = false;
  unsigned char bad = X;
  bool changed = false;
  for (int i = 0; i < n_out; i++) {
    line_C* out = g->outputs_C[i];
    bool received = false;
    if (good != X) {
      if (out->good_value_c == X) {
        out->good_value_c = good;
        received = true;
      } else if (out->good_value_c != good) {
        inconsistent_gate_p = g;
        return STEP_CONFLICT;
      }
    }
    if (in_cone_not_target(out)) {
      if (!bad_evaluated) {
        bad = evaluate_gate(g, true, "gate_C::fast_forward_implication");
        bad_evaluated = true;
      }
      if (bad != X) {
        if (out->bad_value_c == X) {
          out->bad_value_c = bad;
          received = true;
        } else if (out->bad_value_c != bad) {
          inconsistent_gate_p = g;
          return STEP_CONFLICT;
        }
      }
    }
    if (received) {
      changed = true;
      if (!out->primary_output_b && fast_forward_implication(out->successor()) == STEP_CONFLICT) {
        return STEP_CONFLICT;
      }
    }
  }
  return changed ? STEP_ASSIGNED : STEP_NOTHING_NEW;
}

char implication_C::implication() {
  for (int i = 0; i < implication_line_C.anzahl_i; i++) {
    line_C* l = implication_line_C[i];
    if (!l->primary_input_b && backward_implication(l->driver(), 1) == STEP_CONFLICT) return STEP_CONFLICT;
    if (!l->primary_output_b && forward_implication(l->successor()) == STEP_CONFLICT) return STEP_CONFLICT;
  }
  implication_line_C.anzahl_i = 0;
  for (int i = 0; i < d_front_C.anzahl_i; i++) implication_line_C.fuege_ein(d_front_C[i]);
  for (int i = 0; i < implication_line_C.anzahl_i; i++) {
    line_C* l = implication_line_C[i];
    if (!l->primary_output_b && forward_implication(l->successor()) == STEP_CONFLICT) return STEP_CONFLICT;
  }
  do {
    bound_line_in_back_implication_ausgefuegt_b = 0;
    implication_line_C.anzahl_i = 0;
    for (int i = 0; i < unjustified_bound_line_C.anzahl_i; i++) {
      implication_line_C.fuege_ein(unjustified_bound_line_C[i]);
    }
    for (int i = 0; i < implication_line_C.anzahl_i; i++) {
      if (backward_implication(implication_line_C[i]->driver(), 1) == STEP_CONFLICT) return STEP_CONFLICT;
    }
  } while (bound_line_in_back_implication_ausgefuegt_b);
  return STEP_ASSIGNED;
}
