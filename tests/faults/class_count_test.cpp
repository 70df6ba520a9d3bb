// The classes the report counts: a class with an aborted or a redundant
// member counts once, however many of its faults carry the result.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/run.h"
#include "faults/collapsing.h"
#include "input/transform.h"
#include "model/circuit.h"
#include "model/line.h"
#include "preproc/levels.h"
#include "support/paths.h"
#include "support/preproc_circuit.h"
#include "support/run_quarn.h"
#include "support/stuck_at_model.h"

namespace {

// a, b -> And -> c; c, d -> Or -> e. Classes: {a0, b0, c0}, {c1, d1, e1} and
// the single faults a1, b1, d0, e0.
const std::string and_or = cir_text("a, b, c, d, e", "g1 : And_2 ;\ng2 : Or_2 ;\n", "a, b, d", "e",
                                    "g1 ( a, b ; c ) ;\ng2 ( c, d ; e ) ;\n");

class ClassCount : public testing::Test {
 protected:
  void SetUp() override {
    select_pure_stuck_at_model();
    read_checked_circuit("count", and_or);
  }

  static void aborted(const char* name, int kind) {
    line_C* l = line_named(name);
    (kind == STUCK_AT_0_KIND ? l->sa0_aborted_b : l->sa1_aborted_b) = 1;
  }
  static void redundant(const char* name, int kind) {
    line_C* l = line_named(name);
    (kind == STUCK_AT_0_KIND ? l->sa0_redundant_b : l->sa1_redundant_b) = 1;
  }
};

void expect_marks_cleared() {
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    EXPECT_EQ(lines_C[i]->aequi_mark_0_b, 0) << lines_C[i]->name_s;
    EXPECT_EQ(lines_C[i]->aequi_mark_1_b, 0) << lines_C[i]->name_s;
  }
}

std::vector<std::string> listed_lines() {
  std::vector<std::string> names;
  for (int i = 0; i < red_abo_liste_C.anzahl_i; i++) names.push_back(red_abo_liste_C[i]->name_s);
  return names;
}

TEST_F(ClassCount, RedundantFaultsOfOneClassCountOnce) {
  redundant("a", STUCK_AT_0_KIND);
  redundant("b", STUCK_AT_0_KIND);
  redundant("c", STUCK_AT_0_KIND);
  gib_redundanz_aborted_klassen_anzahl();
  EXPECT_EQ(redundanz_klassen_zahl_i, 1);
  EXPECT_EQ(aborted_klassen_zahl_i, 0);
  expect_marks_cleared();
}

TEST_F(ClassCount, ClassIsCountedOnceWhicheverMemberIsMetFirst) {
  // c is listed before e; e s-a-1 and d s-a-1 lie ahead of and behind c s-a-1.
  redundant("c", STUCK_AT_1_KIND);
  redundant("d", STUCK_AT_1_KIND);
  redundant("e", STUCK_AT_1_KIND);
  gib_redundanz_aborted_klassen_anzahl();
  EXPECT_EQ(redundanz_klassen_zahl_i, 1);
  expect_marks_cleared();
}

TEST_F(ClassCount, ClassMetAtItsOutputEndFirstIsCountedOnce) {
  // The same circuit with the lines listed from the output back.
  release_circuit();
  read_checked_circuit("reversed", cir_text("e, c, d, b, a", "g1 : And_2 ;\ng2 : Or_2 ;\n", "a, b, d", "e",
                                            "g1 ( a, b ; c ) ;\ng2 ( c, d ; e ) ;\n"));
  redundant("c", STUCK_AT_0_KIND);
  redundant("b", STUCK_AT_0_KIND);
  redundant("a", STUCK_AT_0_KIND);
  redundant("e", STUCK_AT_1_KIND);
  redundant("d", STUCK_AT_1_KIND);
  gib_redundanz_aborted_klassen_anzahl();
  EXPECT_EQ(redundanz_klassen_zahl_i, 2);
}

TEST_F(ClassCount, FaultsOfDifferentClassesCountSeparately) {
  redundant("a", STUCK_AT_1_KIND);
  redundant("b", STUCK_AT_1_KIND);
  redundant("d", STUCK_AT_1_KIND);
  redundant("d", STUCK_AT_0_KIND);
  gib_redundanz_aborted_klassen_anzahl();
  EXPECT_EQ(redundanz_klassen_zahl_i, 4);
  EXPECT_EQ(aborted_klassen_zahl_i, 0);
}

TEST_F(ClassCount, AbortedAndRedundantClassesAreCountedApart) {
  // One class holds an aborted and a redundant fault: it counts for both.
  aborted("a", STUCK_AT_0_KIND);
  redundant("b", STUCK_AT_0_KIND);
  aborted("a", STUCK_AT_1_KIND);
  aborted("e", STUCK_AT_0_KIND);
  gib_redundanz_aborted_klassen_anzahl();
  EXPECT_EQ(aborted_klassen_zahl_i, 3);
  EXPECT_EQ(redundanz_klassen_zahl_i, 1);
  expect_marks_cleared();
}

TEST_F(ClassCount, CollectsEveryLineWithAFailedStuckAtFaultOncePerReport) {
  aborted("e", STUCK_AT_0_KIND);
  redundant("b", STUCK_AT_1_KIND);
  redundant("b", STUCK_AT_0_KIND);
  line_named("c")->sa1_done_b = 1;
  gib_redundanz_aborted_klassen_anzahl();
  EXPECT_EQ(listed_lines(), (std::vector<std::string>{"b", "e"}));
  // The next report (after a retry cleared e's abort) collects again.
  line_named("e")->sa0_aborted_b = 0;
  gib_redundanz_aborted_klassen_anzahl();
  EXPECT_EQ(listed_lines(), (std::vector<std::string>{"b"}));
}

TEST_F(ClassCount, NothingIsCountedOutsideThePureStuckAtModel) {
  only_stuck_at_test_b = false;
  only_iddq_test_b = true;
  aborted("a", STUCK_AT_0_KIND);
  redundant("d", STUCK_AT_1_KIND);
  gib_redundanz_aborted_klassen_anzahl();
  EXPECT_EQ(aborted_klassen_zahl_i, 0);
  EXPECT_EQ(redundanz_klassen_zahl_i, 0);
}

// On a benchmark, the classes counted are the distinct class numbers among
// the flagged faults.
TEST_F(ClassCount, AgreesWithTheClassNumbersOnABenchmark) {
  release_circuit();
  read_checked_circuit("c432", read_file(bench_circuit("iscas85", "c432")));
  calculate_planes();
  gib_aequi_klassen_zahl();
  std::set<int> aborted_classes, redundant_classes;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    line_C* l = lines_C[i];
    if (i % 3 == 0) {
      l->sa0_aborted_b = 1;
      aborted_classes.insert(l->aequi_class_0_i);
    }
    if (i % 4 == 1) {
      l->sa1_aborted_b = 1;
      aborted_classes.insert(l->aequi_class_1_i);
    }
    if (i % 5 == 2) {
      l->sa1_redundant_b = 1;
      redundant_classes.insert(l->aequi_class_1_i);
    }
    if (i % 7 == 3) {
      l->sa0_redundant_b = 1;
      redundant_classes.insert(l->aequi_class_0_i);
    }
  }
  gib_redundanz_aborted_klassen_anzahl();
  EXPECT_EQ(aborted_klassen_zahl_i, static_cast<int>(aborted_classes.size()));
  EXPECT_EQ(redundanz_klassen_zahl_i, static_cast<int>(redundant_classes.size()));
  expect_marks_cleared();
}

}  // namespace
