// The name indexes of signals and gates: balance and exact names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "input/name_index.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

template <class N>
int checked_height(const N* node) {
  if (node == nullptr) return 0;
  const int left = checked_height(node->left_p), right = checked_height(node->right_p);
  EXPECT_EQ(node->balance_i, right - left) << node->key_s;  // right height minus left
  return 1 + std::max(left, right);
}

TEST(NameIndex, SortedInsertionsInEitherDirectionGiveAPerfectTree) {
  lines_C.init(max_lines);
  gates_C.init(max_gates);
  const auto name = [](int i) { return std::to_string(10000 + i); };  // fixed width: sorted as numbered
  for (int i = 0; i < 1023; i++) lines_C.fuege_ein(new line_C(name(i).c_str(), 1));
  for (int i = 1022; i >= 0; i--) gates_C.fuege_ein(new gate_C(name(i)));
  EXPECT_EQ(checked_height(quarn_line_tree_root_p), 10);  // 2^10 - 1 names fill ten levels
  EXPECT_EQ(checked_height(quarn_gate_tree_root_p), 10);
  for (int i = 0; i < 1023; i++) {
    EXPECT_EQ(search(name(i).c_str(), quarn_line_tree_root_p), lines_C[i]);
    EXPECT_EQ(search(name(i).c_str(), quarn_gate_tree_root_p), gates_C[1022 - i]);
  }
}

TEST(NameIndex, NamesAreComparedExactly) {
  lines_C.init(max_lines);
  for (const char* name : {"a", "A", "ab"}) lines_C.fuege_ein(new line_C(name, 1));
  EXPECT_EQ(search("a", quarn_line_tree_root_p), lines_C[0]);
  EXPECT_EQ(search("A", quarn_line_tree_root_p), lines_C[1]);
  for (const char* missing : {"", "B", "aB", "AB", "ab "})
    EXPECT_EQ(search(missing, quarn_line_tree_root_p), nullptr);
}

}  // namespace
