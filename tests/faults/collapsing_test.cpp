// Equivalence classes of stuck-at faults and the target list built from
// them: one target per class, nearest the outputs first.
#include "faults/collapsing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/run.h"
#include "atpg/targets.h"
#include "input/transform.h"
#include "model/circuit.h"
#include "model/line.h"
#include "model/values.h"
#include "preproc/levels.h"
#include "support/paths.h"
#include "support/preproc_circuit.h"
#include "support/run_quarn.h"
#include "support/stuck_at_model.h"

namespace {

constexpr int sa0 = STUCK_AT_0_KIND;
constexpr int sa1 = STUCK_AT_1_KIND;

struct fault_t {
  std::string line;
  int kind;
};

std::string describe(const fault_t& f) {
  return f.line + (f.kind == sa0 ? " s-a-0" : " s-a-1");
}

int class_of(const fault_t& f) {
  const line_C* l = line_named(f.line);
  return f.kind == sa0 ? l->aequi_class_0_i : l->aequi_class_1_i;
}

// Reads the circuit and builds its target list as preprocessing does.
void collapse(const std::string& stem, const std::string& text) {
  read_checked_circuit(stem, text);
  calculate_planes();
  gib_aequi_klassen_zahl();
}

void expect_marks_cleared() {
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    EXPECT_EQ(lines_C[i]->aequi_mark_0_b, 0) << lines_C[i]->name_s;
    EXPECT_EQ(lines_C[i]->aequi_mark_1_b, 0) << lines_C[i]->name_s;
  }
}

// Two faults share a class exactly when they are in the same group; the
// groups cover every fault of the circuit.
void expect_classes(const std::vector<std::vector<fault_t>>& groups) {
  EXPECT_EQ(aequivalenzen_zahl_i, static_cast<int>(groups.size()));
  for (size_t g = 0; g < groups.size(); g++) {
    for (size_t h = 0; h < groups.size(); h++) {
      for (const fault_t& f : groups[g]) {
        for (const fault_t& e : groups[h]) {
          if (g == h) {
            EXPECT_EQ(class_of(f), class_of(e)) << describe(f) << " and " << describe(e);
          } else {
            EXPECT_NE(class_of(f), class_of(e)) << describe(f) << " and " << describe(e);
          }
        }
      }
    }
  }
  for (const auto& group : groups) {
    for (const fault_t& f : group) {
      EXPECT_GE(class_of(f), 1) << describe(f);
      EXPECT_LE(class_of(f), aequivalenzen_zahl_i) << describe(f);
    }
  }
  expect_marks_cleared();
}

std::string two_input_gate(const std::string& keyword) {
  return cir_text("a, b, c", "g : " + keyword + " ;\n", "a, b", "c", "g ( a, b ; c ) ;\n");
}

using target_t = std::pair<std::string, char>;

std::vector<target_t> targets(int from, int to) {
  std::vector<target_t> result;
  for (int i = from; i < to; i++)
    result.emplace_back(zielfehler_C[i]->line_p->name_s, zielfehler_C[i]->value_c);
  return result;
}

std::multiset<target_t> as_set(const std::vector<target_t>& list) {
  return {list.begin(), list.end()};
}

class Collapsing : public testing::Test {
 protected:
  void SetUp() override { select_pure_stuck_at_model(); }
};

// ------------------------------------------------------------------ classes

TEST_F(Collapsing, EachGateJoinsTheInputFaultsThatForceItsOutput) {
  struct gate_case_t {
    std::string keyword;
    std::vector<std::vector<fault_t>> groups;
  };
  // A controlling value at an input fixes the output, so the input stuck at
  // it cannot be told from the output stuck at the value it forces.
  const gate_case_t cases[] = {
      {"And_2", {{{"a", sa0}, {"b", sa0}, {"c", sa0}}, {{"a", sa1}}, {{"b", sa1}}, {{"c", sa1}}}},
      {"Nand_2", {{{"a", sa0}, {"b", sa0}, {"c", sa1}}, {{"a", sa1}}, {{"b", sa1}}, {{"c", sa0}}}},
      {"Or_2", {{{"a", sa1}, {"b", sa1}, {"c", sa1}}, {{"a", sa0}}, {{"b", sa0}}, {{"c", sa0}}}},
      {"Nor_2", {{{"a", sa1}, {"b", sa1}, {"c", sa0}}, {{"a", sa0}}, {{"b", sa0}}, {{"c", sa1}}}},
      // No input value of an Exor fixes its output.
      {"Exor", {{{"a", sa0}}, {{"a", sa1}}, {{"b", sa0}}, {{"b", sa1}}, {{"c", sa0}}, {{"c", sa1}}}},
  };
  for (const auto& gate : cases) {
    SCOPED_TRACE(gate.keyword);
    aequivalenzen_zahl_i = 0;
    collapse("gate", two_input_gate(gate.keyword));
    expect_classes(gate.groups);
    release_circuit();
  }
}

TEST_F(Collapsing, InverterChainIsTwoClassesAlternatingInKind) {
  collapse("chain",
           cir_text("a, m, c", "g1, g2 : Inverter ;\n", "a", "c", "g1 ( a ; m ) ;\ng2 ( m ; c ) ;\n"));
  expect_classes({{{"a", sa0}, {"m", sa1}, {"c", sa0}}, {{"a", sa1}, {"m", sa0}, {"c", sa1}}});
}

TEST_F(Collapsing, OneInputGatesCollapseAsDriverAndInverter) {
  // A one-input And is a driver and a one-input Nand an inverter.
  collapse("single", cir_text("a, m, n, c", "g1 : Driver ;\ng2 : And_1 ;\ng3 : Nand_1 ;\n", "a", "c",
                              "g1 ( a ; m ) ;\ng2 ( m ; n ) ;\ng3 ( n ; c ) ;\n"));
  expect_classes(
      {{{"a", sa0}, {"m", sa0}, {"n", sa0}, {"c", sa1}}, {{"a", sa1}, {"m", sa1}, {"n", sa1}, {"c", sa0}}});
}

TEST_F(Collapsing, FanoutStemAndBranchesNeverShareAClass) {
  // x fans out to two inverters; its branches are x->y__1 and x->z__2.
  collapse("fanout", cir_text("a, b, x, y, z", "g1 : And_2 ;\ng2, g3 : Inverter ;\n", "a, b", "y, z",
                              "g1 ( a, b ; x ) ;\ng2 ( x ; y ) ;\ng3 ( x ; z ) ;\n"));
  expect_classes({{{"a", sa0}, {"b", sa0}, {"x", sa0}},
                  {{"a", sa1}},
                  {{"b", sa1}},
                  {{"x", sa1}},
                  {{"x->y__1", sa0}, {"y", sa1}},
                  {{"x->y__1", sa1}, {"y", sa0}},
                  {{"x->z__2", sa0}, {"z", sa1}},
                  {{"x->z__2", sa1}, {"z", sa0}}});
}

TEST_F(Collapsing, ClassFollowsEquivalencesAcrossSeveralGates) {
  // a or b at 0 makes c 0, and c or d at 0 makes e 1: the five faults that
  // force e to 1 are one class.
  collapse("chain2", cir_text("a, b, c, d, e", "g1 : And_2 ;\ng2 : Nand_2 ;\n", "a, b, d", "e",
                              "g1 ( a, b ; c ) ;\ng2 ( c, d ; e ) ;\n"));
  expect_classes({{{"a", sa0}, {"b", sa0}, {"c", sa0}, {"d", sa0}, {"e", sa1}},
                  {{"a", sa1}},
                  {{"b", sa1}},
                  {{"c", sa1}},
                  {{"d", sa1}},
                  {{"e", sa0}}});
}

// -------------------------------------------------------------- target list

// a, b -> And -> c; c, d -> Or -> e.
const std::string and_or = cir_text("a, b, c, d, e", "g1 : And_2 ;\ng2 : Or_2 ;\n", "a, b, d", "e",
                                    "g1 ( a, b ; c ) ;\ng2 ( c, d ; e ) ;\n");

TEST_F(Collapsing, TargetsAreOneCandidatePerClassThenTheClassesNoCandidateStandsFor) {
  collapse("and_or", and_or);
  // Candidates are the primary inputs: b s-a-0 shares a's class, d s-a-1
  // stands for c and e s-a-1. e s-a-0 is in no candidate's class and follows
  // the sorted part although it lies on a higher level.
  ASSERT_EQ(aequivalenzen_zahl_i, 6);
  ASSERT_EQ(zielfehler_C.anzahl_i, 6);
  EXPECT_EQ(as_set(targets(0, 5)), as_set({{"a", ZERO}, {"a", ONE}, {"b", ONE}, {"d", ZERO}, {"d", ONE}}));
  EXPECT_EQ(targets(5, 6), std::vector<target_t>({{"e", ZERO}}));
}

TEST_F(Collapsing, TargetsNearestTheOutputsComeFirst) {
  // An Exor of the inputs fans out to two inverters: every candidate (inputs,
  // the Exor output, the branches) is a class of its own, and the inverter
  // outputs share the branches' classes.
  collapse("levels", cir_text("a, b, x, y, z", "g1 : Exor ;\ng2, g3 : Inverter ;\n", "a, b", "y, z",
                              "g1 ( a, b ; x ) ;\ng2 ( x ; y ) ;\ng3 ( x ; z ) ;\n"));
  ASSERT_EQ(aequivalenzen_zahl_i, 10);
  ASSERT_EQ(zielfehler_C.anzahl_i, 10);
  EXPECT_EQ(as_set(targets(0, 4)),
            as_set({{"x->y__1", ZERO}, {"x->y__1", ONE}, {"x->z__2", ZERO}, {"x->z__2", ONE}}));
  EXPECT_EQ(as_set(targets(4, 6)), as_set({{"x", ZERO}, {"x", ONE}}));
  EXPECT_EQ(as_set(targets(6, 10)), as_set({{"a", ZERO}, {"a", ONE}, {"b", ZERO}, {"b", ONE}}));
}

TEST_F(Collapsing, WithoutBranchTestsEveryOtherLineIsATargetUncollapsed) {
  stuck_at_test_without_branches_b = true;
  collapse("fanout", cir_text("a, b, x, y, z", "g1 : And_2 ;\ng2, g3 : Inverter ;\n", "a, b", "y, z",
                              "g1 ( a, b ; x ) ;\ng2 ( x ; y ) ;\ng3 ( x ; z ) ;\n"));
  EXPECT_EQ(aequivalenzen_zahl_i, 0);
  ASSERT_EQ(zielfehler_C.anzahl_i, 10);
  // Levels: a, b 1; x 2; y, z 4 (behind the branches).
  EXPECT_EQ(as_set(targets(0, 4)), as_set({{"y", ZERO}, {"y", ONE}, {"z", ZERO}, {"z", ONE}}));
  EXPECT_EQ(as_set(targets(4, 6)), as_set({{"x", ZERO}, {"x", ONE}}));
  EXPECT_EQ(as_set(targets(6, 10)), as_set({{"a", ZERO}, {"a", ONE}, {"b", ZERO}, {"b", ONE}}));
}

TEST_F(Collapsing, TransitionTargetsAreSortedButNotCollapsed) {
  only_stuck_at_test_b = false;
  transition_test_b = true;
  collapse("and_or", and_or);
  EXPECT_EQ(aequivalenzen_zahl_i, 0);
  // Every line that feeds a gate of two inputs: c (level 2) first.
  ASSERT_EQ(zielfehler_C.anzahl_i, 8);
  EXPECT_EQ(as_set(targets(0, 2)), as_set({{"c", FALLING}, {"c", RISING}}));
  EXPECT_EQ(
      as_set(targets(2, 8)),
      as_set({{"a", FALLING}, {"a", RISING}, {"b", FALLING}, {"b", RISING}, {"d", FALLING}, {"d", RISING}}));
}

TEST_F(Collapsing, PathDelayModelHasNoTargetList) {
  only_stuck_at_test_b = false;
  path_delay_test_b = true;
  collapse("and_or", and_or);
  EXPECT_EQ(zielfehler_C.anzahl_i, 0);
  EXPECT_EQ(aequivalenzen_zahl_i, 0);
}

// ---------------------------------------------------------------- benchmarks

TEST_F(Collapsing, ClassCountsMatchThePublishedCollapsedFaultCounts) {
  const std::pair<std::string, int> circuits[] = {
      {"c17", 22}, {"c432", 524}, {"c499", 758}, {"c880", 942}, {"c1355", 1574},
  };
  for (const auto& [name, collapsed] : circuits) {
    SCOPED_TRACE(name);
    aequivalenzen_zahl_i = 0;
    collapse(name, read_file(bench_circuit("iscas85", name)));
    EXPECT_EQ(aequivalenzen_zahl_i, collapsed);
    // One target for each class, every class once.
    std::vector<int> seen(aequivalenzen_zahl_i + 1, 0);
    for (int i = 0; i < zielfehler_C.anzahl_i; i++) {
      const line_C* l = zielfehler_C[i]->line_p;
      seen[zielfehler_C[i]->value_c == ZERO ? l->aequi_class_0_i : l->aequi_class_1_i]++;
    }
    EXPECT_EQ(zielfehler_C.anzahl_i, collapsed);
    EXPECT_EQ(seen[0], 0);
    EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), 1), collapsed);
    expect_marks_cleared();
    release_circuit();
  }
}

TEST_F(Collapsing, SequentialCircuitIsCollapsedAfterItsFlipFlopsAreCut) {
  collapse("s27", read_file(bench_circuit("iscas89", "s27")));
  EXPECT_EQ(aequivalenzen_zahl_i, 32);
  EXPECT_EQ(zielfehler_C.anzahl_i, 32);
}

}  // namespace
