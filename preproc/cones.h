// The cones of a signal, marked on the signals themselves.
#pragma once

class line_C;

// Marks in_ausgangskegel_b on s and every signal reachable from it.
void output_kegel(line_C* s);
// Marks in_eingangskegel_b on s and every signal it depends on.
void input_kegel(line_C* s);
