// The name indexes of signals and gates: balance and exact names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/name_index.h"

namespace {

template <class N>
int checked_height(const N* node) {
  if (node == nullptr) return 0;
  const int left = checked_height(node->left_p), right = checked_height(node->right_p);
  EXPECT_EQ(node->balance_i, right - left) << node->key_s;  // right height minus left
  return 1 + std::max(left, right);
}

// The indexes of a circuit, and each one's root for the balance check.
struct indexes_t {
  circuit_C circuit;
  line_tree_u* line_root = nullptr;
  gate_tree_u* gate_root = nullptr;
  ~indexes_t() {
    quarn_release_tree(line_root);
    quarn_release_tree(gate_root);
  }
};

TEST(NameIndex, SortedInsertionsInEitherDirectionGiveAPerfectTree) {
  indexes_t x;
  const auto name = [](int i) { return std::to_string(10000 + i); };  // fixed width: sorted as numbered
  std::vector<line_C*> lines;
  std::vector<gate_C*> gates;
  for (int i = 0; i < 1023; i++) {
    lines.push_back(x.circuit.new_line(name(i), 1));
    quarn_add_to_line_tree(x.line_root, lines.back());
  }
  for (int i = 1022; i >= 0; i--) {
    gates.push_back(x.circuit.new_gate(name(i)));
    quarn_add_to_gate_tree(x.gate_root, gates.back());
  }
  EXPECT_EQ(checked_height(x.line_root), 10);  // 2^10 - 1 names fill ten levels
  EXPECT_EQ(checked_height(x.gate_root), 10);
  for (int i = 0; i < 1023; i++) {
    EXPECT_EQ(search_line_in_tree(x.line_root, name(i).c_str()), lines[i]);
    EXPECT_EQ(search_gate_in_tree(x.gate_root, name(i).c_str()), gates[1022 - i]);
  }
}

TEST(NameIndex, NamesAreComparedExactlyAndAForgottenRecordIsNotFound) {
  circuit_C circuit;
  for (const char* name : {"a", "A", "ab"}) circuit.add_line(circuit.new_line(name, 1));
  EXPECT_EQ(circuit.search_line("a"), circuit.lines_C[0]);
  EXPECT_EQ(circuit.search_line("A"), circuit.lines_C[1]);
  for (const char* missing : {"", "B", "aB", "AB", "ab "}) EXPECT_EQ(circuit.search_line(missing), nullptr);
  circuit.forget_line(circuit.lines_C[1]);
  EXPECT_EQ(circuit.search_line("A"), nullptr);
  EXPECT_EQ(circuit.search_line("ab"), circuit.lines_C[2]);
}

}  // namespace
