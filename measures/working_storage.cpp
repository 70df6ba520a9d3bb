#include "measures/working_storage.h"

namespace {

void make_room(std::vector<double>& a, int n) {
  if (static_cast<int>(a.size()) < n) a.resize(n);
}

}  // namespace

bool measure_storage_C::copy_input_contby(const gate_C* g) {
  int n = g->inputs_C.anzahl_i;
  make_room(zero_contby_a, n);
  make_room(one_contby_a, n);
  bool ready = true;
  for (int i = 0; i < n; i++) {
    zero_contby_a[i] = g->inputs_C[i]->contby_0_d;
    one_contby_a[i] = g->inputs_C[i]->contby_1_d;
    if (zero_contby_a[i] == 0.0 || one_contby_a[i] == 0.0) ready = false;
  }
  return ready;
}

bool measure_storage_C::copy_output_observaby(const gate_C* g) {
  anzahl_outputs_i = g->outputs_C.anzahl_i;
  make_room(nachfolger_observaby_a, anzahl_outputs_i);
  make_room(durch_a, anzahl_outputs_i);
  for (int j = 0; j < anzahl_outputs_i; j++) {
    nachfolger_observaby_a[j] = g->outputs_C[j]->observaby_d;
    if (nachfolger_observaby_a[j] == 0.0) return false;
  }
  return true;
}
