// The paths of the path-delay model: every path from a primary input to a
// primary output, one after the other, in odometer order (the last fanout
// on the path turns fastest).
#pragma once

#include <vector>

#include "model/liste.h"

class circuit_C;
class gate_C;
class implication_C;
class line_C;

class paths_C {
 public:
  paths_C(circuit_C& circuit, implication_C& imp);

  // The gates of the present path, from its primary output back to its start.
  gate_liste_C selected_path_C;

  void init(int gates);
  // The start line of the next path, or null when every path was taken, with
  // the path's values assigned (assign_path).
  line_C* search_next_path();
  // Moves to the next path without assigning anything.
  line_C* next_path();
  // The start of the present path gets good ONE and bad ZERO, every side
  // input its non-controlling value, without journal; bound side inputs
  // enter the unjustified set.
  void assign_path();

  // Walks the path onwards from line l; with found clear, moves it to the next
  // path instead. Returns whether a path was found.
  char search_next_path(line_C* l, char& found);
  char search_next_path(gate_C* g, line_C* from, char& found);

 private:
  circuit_C& circuit_;
  implication_C& imp_;
  int present_input_i = -1;
  // The line through which the path enters each gate of selected_path_C.
  std::vector<line_C*> entries_;
  line_C* start_ = nullptr;
};
