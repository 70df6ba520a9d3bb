#include "model/line.h"

#include "model/gate.h"

line_C::line_C(const std::string& name, int n, int serial) : object_C(name, serial), nachfolger_C(n) {
  object_kind_c = 1;
}

bool line_C::is_fanout_branch() const {
  return !primary_input_b && driver_p->gate_type_c == FANOUT_GATE;
}

void line_C::verbinde(gate_C* g, char dir) {
  if (dir == 'I') {
    nachfolger_C.verbinde(g);
    fanout_b = nachfolger_C.anzahl_i > 1 || primary_output_b;
  } else {
    vorgaenger_C.verbinde(g);
  }
  relink();
}

void line_C::relink() {
  driver_p = vorgaenger_C.elemente_p.empty() ? nullptr : vorgaenger_C.elemente_p[0];
  successor_p = nachfolger_C.elemente_p.empty() ? nullptr : nachfolger_C.elemente_p[0];
  const bool branch =
      driver_p != nullptr && driver_p->gate_type_c == FANOUT_GATE && driver_p->inputs_C.anzahl_i > 0;
  stem_p = branch ? driver_p->inputs_C[0] : nullptr;
}

void line_C::reset_value(fan_result_t r) {
  if (r == TEST_FOUND) init_value_c = good_value_c;
  good_value_c = X;
  bad_value_c = X;
}

void line_C::reset_non_robust() {
  hazard_b = 0;
  if (rising_hazard_b) rising_aborted_b = 0;
  if (falling_hazard_b) falling_aborted_b = 0;
  rising_hazard_b = 0;
  falling_hazard_b = 0;
}

void line_C::reset_aborted_faults() {
  sa0_aborted_b = 0;
  sa1_aborted_b = 0;
  rising_aborted_b = 0;
  falling_aborted_b = 0;
}

void line_C::reset_testaby() {
  contby_1_d = contby_0_d = contby_d = observaby_d = testaby_d = 0.0;
}

void line_C::berechne_testaby_kehrwert() {
  contby_1_d = 1 / contby_1_d;
  contby_0_d = 1 / contby_0_d;
  contby_d = 1 / contby_d;
  observaby_d = 1 / observaby_d;
  testaby_d = 1 / testaby_d;
}

void line_C::reset_dyn_learning() {
  dyn_learned_C[0].anzahl_i = 0;
  dyn_learned_C[1].anzahl_i = 0;
}

void line_C::print_all(std::ostream& out) const {
  out << "Adresse   " << static_cast<const void*>(this) << "\n";
  out << "Name:   " << name_s << "\n";
  out << "Nummer:   " << nummer_i << "\n";
  out << "Im Eingangskegel:   " << int(in_eingangskegel_b) << "\n";
  out << "Im Ausgangskegel:   " << int(in_ausgangskegel_b) << "\n";
  out << "Primaer Eingang:   " << int(primary_input_b) << "\n";
  out << "Primaer Ausgang:   " << int(primary_output_b) << "\n";
  out << "Fanout:   " << int(fanout_b) << "\n";
  out << "Plane Number:   " << plane_i << "\n";
  out << "Output Depth:   " << output_depth_i << "\n";
  out << "Line Type:   " << int(line_type_c) << "\n";
  out << "Element in Feedback:   " << int(in_feedback_b) << "\n";
  out << "Init Value:   " << int(init_value_c) << "\n";
  out << "Good Value:   " << int(good_value_c) << "\n";
  out << "Bad Value:   " << int(bad_value_c) << "\n";
  out << "Only Value:   " << int(only_value_c) << "\n";
  out << "Vorgaenger:   " << static_cast<const void*>(&vorgaenger_C) << "\n";
  out << "Nachfolger:   " << static_cast<const void*>(&nachfolger_C) << "\n";
  out << "Rising Test erledigt:   " << int(rising_done_b) << "\n";
  out << "Falling Test erledigt:   " << int(falling_done_b) << "\n";
  out << "Stuck at 0 redundant:   " << int(sa0_redundant_b) << "\n";
  out << "Stuck at 1 redundant:   " << int(sa1_redundant_b) << "\n";
  out << "Stuck at 0 aborted:   " << int(sa0_aborted_b) << "\n";
  out << "Stuck at 1 aborted:   " << int(sa1_aborted_b) << "\n";
  out << "Test erledigt:   " << int(test_done_b) << "\n";
  out << "Stuck at Test erledigt:   " << int(stuck_at_done_b) << "\n";
  out << "Stuck at 0 Test erledigt:   " << int(sa0_done_b) << "\n";
  out << "Stuck at 1 Test erledigt:   " << int(sa1_done_b) << "\n";
  out << "0 Controllability:   " << contby_0_d << "\n";
  out << "1 Controllability:   " << contby_1_d << "\n";
  out << "Gesamt Controllability:   " << contby_d << "\n";
  out << "Observability:   " << observaby_d << "\n";
  out << "Testability:   " << testaby_d << "\n";
  out << "##### Vorgaenger\n";
  vorgaenger_C.print_all(out);
  out << "##### Nachfolger\n";
  nachfolger_C.print_all(out);
  out << "\n\n***********\n";
}
