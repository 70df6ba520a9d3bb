#include "faults/robustness.h"

#include "base/messages.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

bool pending(unsigned char v) {
  return v == ONE_PENDING || v == ZERO_PENDING;
}

// An input that keeps the value v robustly through both patterns.
bool stable_robust(const line_C* in, unsigned char v) {
  return v == ZERO ? in->good_value_c == ZERO_ROBUST && in->init_value_c == ZERO
                   : in->good_value_c == ONE_ROBUST && in->init_value_c == ONE;
}

unsigned char robust_code(unsigned char pending_value) {
  return pending_value == ONE_PENDING ? ONE_ROBUST : ZERO_ROBUST;
}
unsigned char plain_code(unsigned char pending_value) {
  return pending_value == ONE_PENDING ? ONE : ZERO;
}

// The robust or plain code of the output of a gate whose output is pending
// at m and that does not make a transition.
unsigned char classified_output(const gate_C* g, unsigned char m) {
  switch (g->gate_type_c) {
    case AND_GATE:
    case NAND_GATE:
    case OR_GATE:
    case NOR_GATE: {
      // A robust stable controlling input decides for a robust forced value;
      // a plain non-controlling input makes the uncontrolled value plain.
      const gate_semantics_t sem = g->semantics();
      const unsigned char c = sem.controlling_value_c;
      const unsigned char uncontrolled = mynot(sem.forced_output()) == ONE ? ONE_PENDING : ZERO_PENDING;
      for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
        const line_C* in = g->inputs_C[i];
        if (stable_robust(in, c)) return sem.forced_output() == ONE ? ONE_ROBUST : ZERO_ROBUST;
        if (in->good_value_c == mynot(c) && m == uncontrolled) return plain_code(m);
      }
      return m == uncontrolled ? robust_code(m) : plain_code(m);
    }
    case EXOR_GATE: {
      const line_C* a = g->inputs_C[0];
      const line_C* b = g->inputs_C[1];
      const bool robust = (stable_robust(a, ZERO) || stable_robust(a, ONE)) &&
                          (stable_robust(b, ZERO) || stable_robust(b, ONE));
      return robust ? robust_code(m) : plain_code(m);
    }
    default:
      return m;  // not reached: the other kinds are handled by the caller
  }
}

}  // namespace

void mark_robust_signals(circuit_C& circuit) {
  const line_liste_C& lines_C = circuit.lines_C;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    if (l->good_value_c == ONE) l->good_value_c = ONE_PENDING;
    if (l->good_value_c == ZERO) l->good_value_c = ZERO_PENDING;
  }
  const line_liste_C& inputs = circuit.input_lines_C;
  for (int i = 0; i < inputs.anzahl_i; i++) {
    line_C* l = inputs[i];
    if (pending(l->good_value_c)) l->good_value_c = robust_code(l->good_value_c);
  }
  for (int i = 0; i < inputs.anzahl_i; i++) {
    if (!inputs[i]->primary_output_b) mark_robust_signals(inputs[i]->successor());
  }
  // A line whose value does not follow from open inputs (a learned only
  // value) is not reached: it is not known to be robust.
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    if (pending(l->good_value_c)) l->good_value_c = plain_code(l->good_value_c);
  }
}

void mark_robust_signals(gate_C* g) {
  line_C* o = g->output();
  const unsigned char m = o->good_value_c;
  if (!pending(m)) return;
  for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
    if (pending(g->inputs_C[i]->good_value_c)) return;  // reached again from that input
  }
  const bool transition =
      (m == ONE_PENDING && o->init_value_c == ZERO) || (m == ZERO_PENDING && o->init_value_c == ONE);
  if (transition && g->gate_type_c != FANOUT_GATE) {
    o->good_value_c = robust_code(m);
  } else {
    switch (g->gate_type_c) {
      case AND_GATE:
      case NAND_GATE:
      case OR_GATE:
      case NOR_GATE:
      case EXOR_GATE:
        o->good_value_c = classified_output(g, m);
        break;
      case INVERTER_GATE:
        o->good_value_c = mynot(g->inputs_C[0]->good_value_c);
        break;
      case DRIVER_GATE:
      case FANOUT_GATE:
        for (int i = 0; i < g->outputs_C.anzahl_i; i++)
          g->outputs_C[i]->good_value_c = g->inputs_C[0]->good_value_c;
        break;
      case FLIPFLOP_GATE:
      case SEQUENTIAL_GATE:
        error(string_C("mark_robust_signals: not implemented for sequential gates"));
      default:
        error(string_C("mark_robust_signals:  undefined gate found"));
    }
  }
  for (int i = 0; i < g->outputs_C.anzahl_i; i++) {
    line_C* out = g->outputs_C[i];
    if (!out->primary_output_b) mark_robust_signals(out->successor());
  }
}

char robustness_test(line_C* line, char test_value) {
  if (line->primary_output_b) return 0;
  if (test_value == X && line->primary_input_b) return 0;  // no driving gate to look at
  const gate_C* g = test_value == X ? line->driver() : line->successor();
  for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
    if (char r = hazard_test(g->inputs_C[i])) return r;
  }
  return 0;
}

char hazard_test(line_C* line) {
  if (line->primary_input_b || line->init_value_c == X) return 0;
  gate_C* g = line->driver();
  if (g->hazard_state_c != 0) return g->hazard_state_c == 2 ? 1 : 0;
  if (g->gate_type_c == FANOUT_GATE) return hazard_test(g->inputs_C[0]);
  const line_C* o = g->output();
  const bool changes = (o->init_value_c == ZERO && o->good_value_c != ZERO) ||
                       (o->init_value_c == ONE && o->good_value_c != ONE);
  if (changes || o->good_value_c == X) return 0;
  // The value no input holds where a gate has no controlling value.
  constexpr unsigned char none = UNDEFINED;
  unsigned char c = none;
  switch (g->gate_type_c) {
    case AND_GATE:
    case NAND_GATE:
    case OR_GATE:
    case NOR_GATE:
      c = g->controlling_value();
      break;
    case EXOR_GATE: {
      auto changing = [](const line_C* in) { return in->init_value_c != in->good_value_c; };
      if (changing(g->inputs_C[0]) && changing(g->inputs_C[1])) {
        g->hazard_state_c = 2;
        return 1;
      }
      break;
    }
    case INVERTER_GATE:
    case DRIVER_GATE:
      return hazard_test(g->inputs_C[0]);
    case FLIPFLOP_GATE:
    case SEQUENTIAL_GATE:
      error(string_C("hazard_test: not implemented for sequential gates"));
    default:
      error(string_C("hazard_test: undefined gate found"));
  }
  // The output keeps its value when an input stays at the controlling value
  // without a hazard; an input that only arrives there can glitch it.
  char r = 0;
  bool at_c = false;
  bool stable_at_c = false;
  for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
    line_C* in = g->inputs_C[i];
    if (in->good_value_c == X) continue;
    if (in->good_value_c == c) {
      at_c = true;
      if (in->init_value_c == c) {
        r = hazard_test(in);
        if (r == 0) stable_at_c = true;
      }
    }
    if (!stable_at_c && in->good_value_c == c && in->init_value_c == mynot(c)) r = 1;
  }
  if (!at_c) {
    for (int i = 0; i < g->inputs_C.anzahl_i && r != 1; i++) {
      if (g->inputs_C[i]->good_value_c != X) r = hazard_test(g->inputs_C[i]);
    }
  }
  g->hazard_state_c = r == 1 ? 2 : 1;
  return r;
}
