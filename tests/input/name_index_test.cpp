// The name indexes of signals and gates: balance, order, exact names and
// what happens to records that the transformation deletes.
#include "input/name_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "input/transform.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/child.h"
#include "support/circuit_text.h"

namespace {

// Names whose strcmp order is their numeric order.
std::string numbered(int i) {
  char name[16];
  std::snprintf(name, sizeof name, "n%05d", i);
  return name;
}

// Walks a subtree, checking that every balance field is the height
// difference of the subtrees and at most 1, and collects the keys in order.
// Returns the height.
template <class N>
int check_subtree(const N* node, std::vector<std::string>& keys) {
  if (node == nullptr) return 0;
  int left = check_subtree(node->left_p, keys);
  keys.push_back(node->key_s);
  int right = check_subtree(node->right_p, keys);
  EXPECT_EQ(node->balance_i, right - left) << node->key_s;
  EXPECT_LE(std::abs(right - left), 1) << node->key_s;
  return 1 + std::max(left, right);
}

template <class N>
int checked_height(const N* root, const std::vector<std::string>& expected_keys) {
  std::vector<std::string> keys;
  int height = check_subtree(root, keys);
  EXPECT_EQ(keys, expected_keys);
  return height;
}

TEST(NameIndex, AscendingSignalNamesGiveAPerfectTree) {
  lines_C.init(max_lines);
  std::vector<std::string> names;
  for (int i = 0; i < 1023; i++) {
    names.push_back(numbered(i));
    lines_C.fuege_ein(new line_C(names.back().c_str(), 1));
  }
  // 2^10 - 1 names inserted in order fill ten complete levels.
  EXPECT_EQ(checked_height(quarn_line_tree_root_p, names), 10);
  for (int i = 0; i < 1023; i++) EXPECT_EQ(search(names[i].c_str(), quarn_line_tree_root_p), lines_C[i]);
}

TEST(NameIndex, DescendingGateNamesGiveAPerfectTree) {
  gates_C.init(max_gates);
  std::vector<std::string> names;
  for (int i = 1022; i >= 0; i--) {
    names.push_back(numbered(i));
    gates_C.fuege_ein(new gate_C(string_C(names.back().c_str())));
  }
  std::reverse(names.begin(), names.end());
  EXPECT_EQ(checked_height(quarn_gate_tree_root_p, names), 10);
  EXPECT_EQ(search("n00000", quarn_gate_tree_root_p), gates_C[1022]);
}

TEST(NameIndex, ShuffledNamesStayWithinTheBalancedHeightBound) {
  lines_C.init(max_lines);
  std::vector<std::string> names;
  for (int i = 0; i < 20000; i++) names.push_back(numbered(i));
  std::vector<std::string> shuffled = names;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
  for (const std::string& name : shuffled) lines_C.fuege_ein(new line_C(name.c_str(), 1));
  int height = checked_height(quarn_line_tree_root_p, names);
  // A height-balanced tree of n nodes is lower than 1.45 log2(n + 2).
  EXPECT_LT(height, 1.45 * std::log2(20000 + 2));
  for (const std::string& name : shuffled) {
    line_C* found = search(name.c_str(), quarn_line_tree_root_p);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->name_s, name);
  }
}

TEST(NameIndex, NamesAreComparedExactly) {
  load_circuit(circuit_text({.nodes = "a, A, ab, y",
                             .gates = {"g : Or_3", "G : Inverter"},
                             .inputs = "a, A, ab",
                             .outputs = "y",
                             .instances = {"g ( a, A, ab ; y )"}}),
               false);
  line_C* lower = signal_named("a");
  line_C* upper = signal_named("A");
  ASSERT_NE(lower, nullptr);
  ASSERT_NE(upper, nullptr);
  EXPECT_NE(lower, upper);
  EXPECT_EQ(lower->name_s, "a");
  EXPECT_EQ(upper->name_s, "A");
  EXPECT_NE(gate_named("g"), gate_named("G"));
  for (const char* missing : {"", "b", "aB", "AB", "ab ", "y0", "x"}) {
    EXPECT_EQ(signal_named(missing), nullptr) << missing;
  }
  EXPECT_EQ(gate_named("h"), nullptr);
  EXPECT_EQ(gate_named("a"), nullptr);  // a signal is not a gate
}

TEST(NameIndex, ASignalAndAGateMayShareAName) {
  load_circuit(circuit_text({.nodes = "a, g",
                             .gates = {"g : Driver"},
                             .inputs = "a",
                             .outputs = "g",
                             .instances = {"g ( a ; g )"}}),
               false);
  line_C* signal = signal_named("g");
  gate_C* gate = gate_named("g");
  ASSERT_NE(signal, nullptr);
  ASSERT_NE(gate, nullptr);
  EXPECT_EQ(signal->vorgaenger_C[0], gate);
  EXPECT_EQ(gate->outputs_C[0], signal);
}

TEST(NameIndex, ASecondRecordOfTheSameNameIsFatal) {
  lines_C.init(max_lines);
  gates_C.init(max_gates);
  lines_C.fuege_ein(new line_C("x", 1));
  gates_C.fuege_ein(new gate_C(string_C("x")));
  line_C other_line("x", 1);
  gate_C other_gate(string_C("x"));
  child_result_t run = run_in_child([&] { lines_C.fuege_ein(&other_line); });
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.output.find(
                "\n\n\n\nSignal name: x\n\nERROR!!!\nquarn_add_to_line_tree: Line was already in the list\n"),
            std::string::npos)
      << run.output;
  run = run_in_child([&] { gates_C.fuege_ein(&other_gate); });
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.output.find(
                "\n\n\n\nGate name: x\n\nERROR!!!\nquarn_add_to_gate_tree: gate was already in the list\n"),
            std::string::npos)
      << run.output;
}

TEST(NameIndex, DeletedAndCutRecordsAreNotFound) {
  // The inverter "dead" and its input c feed nothing; the flip-flop is cut
  // out of the gate list.
  load_circuit(circuit_text({.nodes = "a, b, c, d, q, y",
                             .gates = {"g : And_2", "dead : Inverter", "ff : Dflipflop"},
                             .inputs = "a, b, c",
                             .outputs = "y",
                             .instances = {"ff ( b ; q )", "g ( a, q ; y )", "dead ( c ; d )"}}),
               false);
  gate_C* flipflop = gate_named("ff");
  ASSERT_NE(flipflop, nullptr);
  transform_circuit();
  for (const char* deleted : {"c", "d"}) EXPECT_EQ(signal_named(deleted), nullptr) << deleted;
  EXPECT_EQ(gate_named("dead"), nullptr);
  EXPECT_FALSE(gates_C.element_in_liste(flipflop, 0));
  for (const char* kept : {"a", "b", "q", "y"}) {
    line_C* line = signal_named(kept);
    ASSERT_NE(line, nullptr) << kept;
    EXPECT_TRUE(lines_C.element_in_liste(line, 0)) << kept;
  }
  EXPECT_TRUE(gates_C.element_in_liste(gate_named("g"), 0));
  // The name of a deleted signal is free again.
  line_C* again = new line_C("d", 1);
  lines_C.fuege_ein(again);
  EXPECT_EQ(signal_named("d"), again);
}

}  // namespace
