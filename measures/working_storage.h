// Working storage of one gate evaluation of the testability measures. The
// arrays grow to the widest gate met, so no gate is too wide for them.
#pragma once

#include <vector>

class gate_C;

// contby_0_d and contby_1_d of the driving gate's inputs, in input order.
extern std::vector<double> zero_contby_a;
extern std::vector<double> one_contby_a;
// observaby_d of the successor gate's outputs, in output order, and the
// observability reached through each of them.
extern std::vector<double> nachfolger_observaby_a;
extern std::vector<double> durch_a;
// Number of outputs of the successor gate.
extern int anzahl_outputs_i;
// Products of contby_1_d and contby_0_d over the side inputs of the
// successor gate.
extern double prod_1_contby_f;
extern double prod_0_contby_f;

// Copies the controllabilities of g's inputs into zero_contby_a and
// one_contby_a; false when one of them is not computed yet.
bool copy_input_contby(const gate_C* g);
// Copies the observabilities of g's outputs into nachfolger_observaby_a and
// sets anzahl_outputs_i; false when one of them is not computed yet.
bool copy_output_observaby(const gate_C* g);
