#include "model/name_index.h"

#include <cstring>
#include <iostream>

#include "base/messages.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// The subtree below node grew on the right.
template <class N>
void grown_right(N*& node, char& grown) {
  if (node->balance_i == -1) {
    node->balance_i = 0;
    grown = 0;
  } else if (node->balance_i == 0) {
    node->balance_i = 1;
  } else {
    N* right = node->right_p;
    if (right->balance_i == 1) {  // single left rotation
      node->right_p = right->left_p;
      right->left_p = node;
      node->balance_i = 0;
      node = right;
    } else {  // double rotation right-left
      N* grandchild = right->left_p;
      right->left_p = grandchild->right_p;
      grandchild->right_p = right;
      node->right_p = grandchild->left_p;
      grandchild->left_p = node;
      node->balance_i = grandchild->balance_i == 1 ? -1 : 0;
      right->balance_i = grandchild->balance_i == -1 ? 1 : 0;
      node = grandchild;
    }
    node->balance_i = 0;
    grown = 0;
  }
}

template <class N>
void grown_left(N*& node, char& grown) {
  if (node->balance_i == 1) {
    node->balance_i = 0;
    grown = 0;
  } else if (node->balance_i == 0) {
    node->balance_i = -1;
  } else {
    N* left = node->left_p;
    if (left->balance_i == -1) {  // single right rotation
      node->left_p = left->right_p;
      left->right_p = node;
      node->balance_i = 0;
      node = left;
    } else {  // double rotation left-right
      N* grandchild = left->right_p;
      left->right_p = grandchild->left_p;
      grandchild->left_p = left;
      node->left_p = grandchild->right_p;
      grandchild->right_p = node;
      node->balance_i = grandchild->balance_i == -1 ? 1 : 0;
      left->balance_i = grandchild->balance_i == 1 ? -1 : 0;
      node = grandchild;
    }
    node->balance_i = 0;
    grown = 0;
  }
}

template <class N>
void find_or_insert(const char* name, N*& node, char& grown, N*& found) {
  if (node == nullptr) {
    node = new N();
    node->key_s = name;
    grown = 1;
    found = node;
    return;
  }
  int cmp = std::strcmp(name, node->key_s.c_str());
  if (cmp == 0) {
    grown = 0;
    found = node;
  } else if (cmp < 0) {
    find_or_insert(name, node->left_p, grown, found);
    if (grown) grown_left(node, grown);
  } else {
    find_or_insert(name, node->right_p, grown, found);
    if (grown) grown_right(node, grown);
  }
}

template <class N>
void release(N* node) {
  if (node == nullptr) return;
  release(node->left_p);
  release(node->right_p);
  delete node;
}

}  // namespace

void quarn_search_line_tree(line_C* line, line_tree_u*& node, char& grown, line_tree_u*& found) {
  find_or_insert(line->name_s.c_str(), node, grown, found);
}

void quarn_search_gate_tree(const char* name, gate_tree_u*& node, char& grown, gate_tree_u*& found) {
  find_or_insert(name, node, grown, found);
}

// A node that has lost its record (deleted) takes the new one.
void quarn_add_to_line_tree(line_tree_u*& root, line_C* line) {
  char grown = 0;
  line_tree_u* found = nullptr;
  quarn_search_line_tree(line, root, grown, found);
  if (found->line_p != nullptr) {
    std::cout << "\n\n\n\nSignal name: " << line->name_s << "\n";
    error(string_C("quarn_add_to_line_tree: Line was already in the list"));
  }
  found->line_p = line;
}

void quarn_add_to_gate_tree(gate_tree_u*& root, gate_C* gate) {
  char grown = 0;
  gate_tree_u* found = nullptr;
  quarn_search_gate_tree(gate->name_s.c_str(), root, grown, found);
  if (found->gate_p != nullptr) {
    std::cout << "\n\n\n\nGate name: " << gate->name_s << "\n";
    error(string_C("quarn_add_to_gate_tree: gate was already in the list"));
  }
  found->gate_p = gate;
}

namespace {

template <class N>
N* find_node(const char* name, N* node) {
  while (node != nullptr) {
    int cmp = std::strcmp(name, node->key_s.c_str());
    if (cmp == 0) return node;
    node = cmp < 0 ? node->left_p : node->right_p;
  }
  return nullptr;
}

}  // namespace

line_C* search_line_in_tree(line_tree_u* root, const char* name) {
  line_tree_u* node = find_node(name, root);
  return node ? node->line_p : nullptr;
}

gate_C* search_gate_in_tree(gate_tree_u* root, const char* name) {
  gate_tree_u* node = find_node(name, root);
  return node ? node->gate_p : nullptr;
}

void quarn_forget_line(line_tree_u* root, line_C* line) {
  line_tree_u* node = find_node(line->name_s.c_str(), root);
  if (node != nullptr && node->line_p == line) node->line_p = nullptr;
}

void quarn_forget_gate(gate_tree_u* root, gate_C* gate) {
  gate_tree_u* node = find_node(gate->name_s.c_str(), root);
  if (node != nullptr && node->gate_p == gate) node->gate_p = nullptr;
}

void quarn_release_tree(line_tree_u*& root) {
  release(root);
  root = nullptr;
}

void quarn_release_tree(gate_tree_u*& root) {
  release(root);
  root = nullptr;
}
