// Random combinational circuits in the .cir format: every gate kind, fanout
// that reconverges, signals read twice by one gate.
#pragma once

#include <string>

std::string random_circuit(unsigned seed, int inputs, int gates);
