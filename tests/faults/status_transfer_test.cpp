// Carrying a result over to related faults: a detection along equivalence
// and dominance, an abort and a redundancy along equivalence, and a
// redundancy's loss of cover for the dominating fault.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/run.h"
#include "atpg/targets.h"
#include "faults/collapsing.h"
#include "input/transform.h"
#include "model/circuit.h"
#include "model/line.h"
#include "model/values.h"
#include "preproc/levels.h"
#include "preproc/preprocessing.h"
#include "support/preproc_circuit.h"
#include "support/stuck_at_model.h"

namespace {

using target_t = std::pair<std::string, char>;

std::vector<target_t> contents(const line_value_liste_C& list) {
  std::vector<target_t> result;
  for (int i = 0; i < list.anzahl_i; i++) result.emplace_back(list[i]->line_p->name_s, list[i]->value_c);
  return result;
}

struct status_t {
  char done, aborted, redundant;
  bool operator==(const status_t&) const = default;
};

std::ostream& operator<<(std::ostream& out, const status_t& s) {
  return out << "{done " << int(s.done) << ", aborted " << int(s.aborted) << ", redundant "
             << int(s.redundant) << "}";
}

status_t sa0(const std::string& name) {
  const line_C* l = line_named(name);
  return {l->sa0_done_b, l->sa0_aborted_b, l->sa0_redundant_b};
}
status_t sa1(const std::string& name) {
  const line_C* l = line_named(name);
  return {l->sa1_done_b, l->sa1_aborted_b, l->sa1_redundant_b};
}

constexpr status_t untouched{0, 0, 0};
constexpr status_t done{1, 0, 0};
constexpr status_t aborted{0, 1, 0};
constexpr status_t redundant{0, 0, 1};

// a, b -> And -> c; c, d -> Or -> e. Classes: {a0, b0, c0}, {c1, d1, e1} and
// the single faults a1, b1, d0, e0. e0 dominates c0, c1 dominates a1 and b1.
const std::string and_or = cir_text("a, b, c, d, e", "g1 : And_2 ;\ng2 : Or_2 ;\n", "a, b, d", "e",
                                    "g1 ( a, b ; c ) ;\ng2 ( c, d ; e ) ;\n");

class StatusTransfer : public testing::Test {
 protected:
  void SetUp() override { select_pure_stuck_at_model(); }

  // The collapsed target list: a0, a1, b1, d0, d1 and e0.
  void read_collapsed(const std::string& text = and_or) {
    aequivalenzen_zahl_i = 0;
    read_checked_circuit("transfer", text);
    calculate_planes();
    gib_aequi_klassen_zahl();
  }

  // Every fault a target, as without collapsing.
  void read_all_targets(const std::string& text = and_or) {
    read_checked_circuit("transfer", text);
    for (int i = 0; i < lines_C.anzahl_i; i++) {
      zielfehler_C.fuege_ein(lines_C[i], ZERO, 0);
      zielfehler_C.fuege_ein(lines_C[i], ONE, 0);
    }
  }

  // What fault simulation does for a detected fault.
  void detect(const std::string& name, int kind) {
    line_C* l = line_named(name);
    (kind == STUCK_AT_0_KIND ? l->sa0_done_b : l->sa1_done_b) = 1;
    mark_all(l, kind);
  }
};

// ---------------------------------------------------------------- detection

TEST_F(StatusTransfer, DetectedStuckAt0AtAndInputIsDetectedForItsWholeClassAndTheDominatingFault) {
  read_all_targets();
  detect("a", STUCK_AT_0_KIND);
  EXPECT_EQ(sa0("b"), done);
  EXPECT_EQ(sa0("c"), done);
  // The test for c s-a-0 (c at 1, d at 0) shows at e.
  EXPECT_EQ(sa0("e"), done);
  EXPECT_EQ(sa0("d"), untouched);
  for (const char* name : {"a", "b", "c", "d", "e"}) EXPECT_EQ(sa1(name), untouched) << name;
  EXPECT_EQ(contents(hilf_C), (std::vector<target_t>{{"c", ZERO}, {"b", ZERO}, {"e", ZERO}}));
}

TEST_F(StatusTransfer, OnlyTargetsGoToTheDetectedFaultList) {
  read_collapsed();
  detect("a", STUCK_AT_0_KIND);
  EXPECT_EQ(sa0("b"), done);
  EXPECT_EQ(sa0("c"), done);
  EXPECT_EQ(sa0("e"), done);
  // b s-a-0 and c s-a-0 are represented by a s-a-0, which the caller lists.
  EXPECT_EQ(contents(hilf_C), (std::vector<target_t>{{"e", ZERO}}));
}

TEST_F(StatusTransfer, AFaultAlreadyInTheDetectedFaultListIsNotAddedAgain) {
  read_all_targets();
  hilf_C.fuege_ein(line_named("b"), ZERO, 1);
  detect("a", STUCK_AT_0_KIND);
  EXPECT_EQ(contents(hilf_C), (std::vector<target_t>{{"b", ZERO}, {"c", ZERO}, {"e", ZERO}}));
}

TEST_F(StatusTransfer, DetectedStuckAt1AtAndInputDetectsTheOutputAndGoesOnFromThere) {
  read_all_targets();
  detect("a", STUCK_AT_1_KIND);
  // Dominance gives c s-a-1, equivalence through the Or then e and d s-a-1.
  EXPECT_EQ(sa1("c"), done);
  EXPECT_EQ(sa1("e"), done);
  EXPECT_EQ(sa1("d"), done);
  // b s-a-1 needs b at 0, which the test of a s-a-1 does not give.
  EXPECT_EQ(sa1("b"), untouched);
  for (const char* name : {"a", "b", "c", "d", "e"}) EXPECT_EQ(sa0(name), untouched) << name;
  EXPECT_EQ(contents(hilf_C), (std::vector<target_t>{{"c", ONE}, {"e", ONE}, {"d", ONE}}));
}

TEST_F(StatusTransfer, DetectionAtTheEndOfAnInverterChainReachesItsStart) {
  read_all_targets(
      cir_text("a, m, c", "g1, g2 : Inverter ;\n", "a", "c", "g1 ( a ; m ) ;\ng2 ( m ; c ) ;\n"));
  detect("c", STUCK_AT_0_KIND);
  EXPECT_EQ(sa1("m"), done);
  EXPECT_EQ(sa0("a"), done);
  EXPECT_EQ(sa0("m"), untouched);
  EXPECT_EQ(contents(hilf_C), (std::vector<target_t>{{"m", ONE}, {"a", ZERO}}));
}

TEST_F(StatusTransfer, DetectionInTheMiddleOfAnInverterChainReachesBothEnds) {
  read_all_targets(
      cir_text("a, m, c", "g1, g2 : Inverter ;\n", "a", "c", "g1 ( a ; m ) ;\ng2 ( m ; c ) ;\n"));
  detect("m", STUCK_AT_1_KIND);
  EXPECT_EQ(sa0("a"), done);
  EXPECT_EQ(sa0("c"), done);
  EXPECT_EQ(sa1("a"), untouched);
  EXPECT_EQ(sa1("c"), untouched);
}

TEST_F(StatusTransfer, DetectionEndsEarlierAbortsInTheClass) {
  read_all_targets();
  line_named("b")->sa0_aborted_b = 1;
  line_named("c")->sa0_aborted_b = 1;
  detect("a", STUCK_AT_0_KIND);
  EXPECT_EQ(sa0("b"), done);
  EXPECT_EQ(sa0("c"), done);
}

TEST_F(StatusTransfer, LineWithBothFaultsDetectedIsDone) {
  read_all_targets();
  line_named("d")->sa0_done_b = 1;
  detect("a", STUCK_AT_1_KIND);
  EXPECT_EQ(line_named("d")->stuck_at_done_b, 1);
  EXPECT_EQ(line_named("d")->test_done_b, 1);
  EXPECT_EQ(line_named("e")->stuck_at_done_b, 0);
  EXPECT_EQ(line_named("e")->test_done_b, 0);
}

TEST_F(StatusTransfer, DetectionNeverCrossesAFanout) {
  // x fans out to two inverters through the branches x->y__1 and x->z__2.
  const std::string fanout = cir_text("a, b, x, y, z", "g1 : And_2 ;\ng2, g3 : Inverter ;\n", "a, b", "y, z",
                                      "g1 ( a, b ; x ) ;\ng2 ( x ; y ) ;\ng3 ( x ; z ) ;\n");
  read_all_targets(fanout);
  detect("x", STUCK_AT_0_KIND);
  EXPECT_EQ(sa0("a"), done);
  EXPECT_EQ(sa0("x->y__1"), untouched);
  EXPECT_EQ(sa0("x->z__2"), untouched);
  EXPECT_EQ(sa1("y"), untouched);

  detect("x->y__1", STUCK_AT_1_KIND);
  EXPECT_EQ(sa0("y"), done);
  EXPECT_EQ(sa1("x"), untouched);
  EXPECT_EQ(sa1("x->z__2"), untouched);
}

// -------------------------------------------------------------- redundancy

TEST_F(StatusTransfer, RedundantFaultMakesItsEquivalentFaultsRedundant) {
  read_all_targets();
  line_named("a")->sa0_redundant_b = 1;
  mark_all(line_named("a"), STUCK_AT_0_KIND);
  EXPECT_EQ(sa0("b"), redundant);
  EXPECT_EQ(sa0("c"), redundant);
  // A redundancy says nothing about the dominating fault.
  EXPECT_EQ(sa0("e"), untouched);
  EXPECT_EQ(contents(hilf_C), (std::vector<target_t>{{"c", ZERO}, {"b", ZERO}}));
}

TEST_F(StatusTransfer, RedundancyReplacesAnAbortInItsClass) {
  read_all_targets();
  line_named("b")->sa0_aborted_b = 1;
  line_named("c")->sa0_aborted_b = 1;
  line_named("a")->sa0_redundant_b = 1;
  mark_all(line_named("a"), STUCK_AT_0_KIND);
  EXPECT_EQ(sa0("b"), redundant);
  EXPECT_EQ(sa0("c"), redundant);
}

TEST_F(StatusTransfer, RedundantStuckAt1AtAndInputMakesTheOutputStuckAt1ATarget) {
  read_collapsed();
  const int before = zielfehler_C.anzahl_i;
  line_named("a")->sa1_redundant_b = 1;
  mark_all(line_named("a"), STUCK_AT_1_KIND);
  // c s-a-1 was covered through a s-a-1's test; with a s-a-1 redundant it
  // becomes a target of its own, appended to the list.
  ASSERT_EQ(zielfehler_C.anzahl_i, before + 1);
  EXPECT_EQ(contents(zielfehler_C).back(), target_t("c", ONE));
  EXPECT_EQ(sa1("c"), untouched);
  EXPECT_EQ(hilf_C.anzahl_i, 0);
}

TEST_F(StatusTransfer, OutputFaultThatIsATargetOrHasAResultIsNotAddedAgain) {
  struct staging_t {
    std::string what;
    void (*stage)(line_C* c);
  };
  const staging_t cases[] = {
      {"already a target", [](line_C* c) { zielfehler_C.fuege_ein(c, ONE, 0); }},
      {"detected", [](line_C* c) { c->sa1_done_b = 1; }},
      {"aborted", [](line_C* c) { c->sa1_aborted_b = 1; }},
      {"redundant", [](line_C* c) { c->sa1_redundant_b = 1; }},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    read_collapsed();
    k.stage(line_named("c"));
    const std::vector<target_t> before = contents(zielfehler_C);
    line_named("a")->sa1_redundant_b = 1;
    mark_all(line_named("a"), STUCK_AT_1_KIND);
    EXPECT_EQ(contents(zielfehler_C), before);
    release_circuit();
  }
}

// ------------------------------------------------------------------ aborts

TEST_F(StatusTransfer, AbortSpreadsOverTheClassAndToTheDominatingFault) {
  read_all_targets();
  line_named("a")->sa0_aborted_b = 1;
  mark_all(line_named("a"), STUCK_AT_0_KIND);
  EXPECT_EQ(sa0("b"), aborted);
  EXPECT_EQ(sa0("c"), aborted);
  EXPECT_EQ(sa0("e"), aborted);
  EXPECT_EQ(sa0("d"), untouched);
  EXPECT_EQ(hilf_C.anzahl_i, 0);
}

TEST_F(StatusTransfer, AbortLeavesDetectedFaultsDetected) {
  read_all_targets();
  line_named("e")->sa0_done_b = 1;
  line_named("a")->sa0_aborted_b = 1;
  mark_all(line_named("a"), STUCK_AT_0_KIND);
  EXPECT_EQ(sa0("c"), aborted);
  EXPECT_EQ(sa0("e"), done);
}

// ------------------------------------------------------------ no transfer

TEST_F(StatusTransfer, NothingIsCarriedOverOnceAFaultListFileWasRead) {
  read_all_targets();
  flt_read_b = 1;
  detect("a", STUCK_AT_0_KIND);
  line_named("a")->sa1_redundant_b = 1;
  mark_all(line_named("a"), STUCK_AT_1_KIND);
  for (const char* name : {"b", "c", "d", "e"}) {
    EXPECT_EQ(sa0(name), untouched) << name;
    EXPECT_EQ(sa1(name), untouched) << name;
  }
  EXPECT_EQ(hilf_C.anzahl_i, 0);
  EXPECT_EQ(zielfehler_C.anzahl_i, 10);
}

TEST_F(StatusTransfer, NothingIsCarriedOverOutsideThePureStuckAtModel) {
  only_stuck_at_test_b = false;
  only_iddq_test_b = true;
  read_all_targets();
  detect("a", STUCK_AT_0_KIND);
  line_named("a")->sa1_aborted_b = 1;
  mark_all(line_named("a"), STUCK_AT_1_KIND);
  for (const char* name : {"b", "c", "d", "e"}) {
    EXPECT_EQ(sa0(name), untouched) << name;
    EXPECT_EQ(sa1(name), untouched) << name;
  }
  EXPECT_EQ(hilf_C.anzahl_i, 0);
}

}  // namespace
