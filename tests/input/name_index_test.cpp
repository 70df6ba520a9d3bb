// The name indexes of signals and gates: balance and exact names.
#include "input/name_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// Checks that each balance field is the height difference of the subtrees
// and at most 1, collects the keys in order and returns the height.
template <class N>
int checked_height(const N* node, std::vector<std::string>& keys) {
  if (node == nullptr) return 0;
  int left = checked_height(node->left_p, keys);
  keys.push_back(node->key_s);
  int right = checked_height(node->right_p, keys);
  EXPECT_EQ(node->balance_i, right - left) << node->key_s;
  EXPECT_LE(std::abs(right - left), 1) << node->key_s;
  return 1 + std::max(left, right);
}

TEST(NameIndex, SortedInsertionsInEitherDirectionGiveAPerfectTree) {
  lines_C.init(max_lines);
  gates_C.init(max_gates);
  std::vector<std::string> names;
  for (int i = 0; i < 1023; i++) {
    char name[16];
    std::snprintf(name, sizeof name, "n%05d", i);
    names.push_back(name);
    lines_C.fuege_ein(new line_C(name, 1));
    std::snprintf(name, sizeof name, "n%05d", 1022 - i);
    gates_C.fuege_ein(new gate_C(string_C(name)));
  }
  // 2^10 - 1 names fill ten complete levels.
  std::vector<std::string> line_keys, gate_keys;
  EXPECT_EQ(checked_height(quarn_line_tree_root_p, line_keys), 10);
  EXPECT_EQ(checked_height(quarn_gate_tree_root_p, gate_keys), 10);
  EXPECT_EQ(line_keys, names);
  EXPECT_EQ(gate_keys, names);
  EXPECT_EQ(search("n00417", quarn_line_tree_root_p), lines_C[417]);
  EXPECT_EQ(search("n00417", quarn_gate_tree_root_p), gates_C[1022 - 417]);
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
