// The name indexes of signals and gates: height-balanced search trees ordered
// by strcmp of the names.
#pragma once

#include <string>

class line_C;
class gate_C;

struct line_tree_u {
  line_tree_u* left_p = nullptr;
  line_tree_u* right_p = nullptr;
  int balance_i = 0;         // height of the right subtree minus height of the left
  line_C* line_p = nullptr;  // null once the signal has been deleted
  std::string key_s;         // the name the node is ordered by
};

struct gate_tree_u {
  gate_tree_u* left_p = nullptr;
  gate_tree_u* right_p = nullptr;
  int balance_i = 0;
  gate_C* gate_p = nullptr;  // null once the gate has been deleted
  std::string key_s;
};

// Inserts a record under its name; a name already present is fatal.
void quarn_add_to_line_tree(line_tree_u*& root, line_C* line);
void quarn_add_to_gate_tree(gate_tree_u*& root, gate_C* gate);
// The find-or-insert step: found is the node holding the name, a new node
// without a record when the name was absent; grown tells whether the subtree
// grew in height.
void quarn_search_line_tree(line_C* line, line_tree_u*& node, char& grown, line_tree_u*& found);
void quarn_search_gate_tree(const char* name, gate_tree_u*& node, char& grown, gate_tree_u*& found);

// Lookup without insertion; null when absent.
line_C* search_line_in_tree(line_tree_u* root, const char* name);
gate_C* search_gate_in_tree(gate_tree_u* root, const char* name);

// A deleted record leaves the index, so that no later lookup reaches it.
void quarn_forget_line(line_tree_u* root, line_C* line);
void quarn_forget_gate(gate_tree_u* root, gate_C* gate);

// Releases an index.
void quarn_release_tree(line_tree_u*& root);
void quarn_release_tree(gate_tree_u*& root);
