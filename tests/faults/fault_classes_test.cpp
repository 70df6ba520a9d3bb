// Fault classes, the target list, results carried over to related faults and
// the classes the report counts. Faults are written "a/0" for a stuck-at-0 at a.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/run.h"
#include "atpg/targets.h"
#include "faults/collapsing.h"
#include "model/circuit.h"
#include "model/line.h"
#include "model/values.h"
#include "preproc/levels.h"
#include "preproc/preprocessing.h"
#include "support/bench_reference.h"
#include "support/paths.h"
#include "support/circuit_text.h"
#include "support/run_quarn.h"
#include "support/stuck_at_model.h"

namespace {

using flags_t = std::pair<char line_C::*, char line_C::*>;  // stuck-at-0, stuck-at-1
const flags_t done{&line_C::sa0_done_b, &line_C::sa1_done_b};
const flags_t aborted{&line_C::sa0_aborted_b, &line_C::sa1_aborted_b};
const flags_t redundant{&line_C::sa0_redundant_b, &line_C::sa1_redundant_b};
const flags_t marks{&line_C::aequi_mark_0_b, &line_C::aequi_mark_1_b};

line_C* line_of(const std::string& fault) {
  return line_named(fault.substr(0, fault.size() - 2));
}
// The class numbers of the faults ("a/0 b/1"); 0 for a fault in no class.
std::set<int> classes_of(const std::string& faults) {
  std::istringstream in(faults);
  std::set<int> classes;
  for (std::string f; in >> f;)
    classes.insert(f.back() == '0' ? line_of(f)->aequi_class_0_i : line_of(f)->aequi_class_1_i);
  return classes;
}

// Sets the flag of a fault and carries the result over as the search and
// fault simulation do, unless told not to.
void report(flags_t flags, const std::string& fault, bool carry = true) {
  const bool zero = fault.back() == '0';
  line_of(fault)->*(zero ? flags.first : flags.second) = 1;
  if (carry) mark_all(line_of(fault), zero ? STUCK_AT_0_KIND : STUCK_AT_1_KIND);
}

// The faults whose flag is set, in line order.
std::string with(flags_t flags) {
  std::string faults;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    if (lines_C[i]->*flags.first) faults += " " + lines_C[i]->name_s + "/0";
    if (lines_C[i]->*flags.second) faults += " " + lines_C[i]->name_s + "/1";
  }
  return faults.empty() ? faults : faults.substr(1);
}

std::string listed(const line_value_liste_C& list) {
  std::string faults;
  for (int i = 0; i < list.anzahl_i; i++)
    faults += (i ? " " : "") + list[i]->line_p->name_s + (list[i]->value_c == ZERO ? "/0" : "/1");
  return faults;
}

void collapse(const std::string& text) {
  read_checked_circuit("faults", text);
  calculate_planes();
  gib_aequi_klassen_zahl();
}

std::string gate(const std::string& keyword) {
  return cir_text("a, b, c", "g : " + keyword + " ;\n", "a, b", "c", "g ( a, b ; c ) ;\n");
}
// x = a op b fans out to two inverters through the branches x->y__1 and x->z__2.
std::string fanout(const std::string& keyword) {
  return cir_text("a, b, x, y, z", "g1 : " + keyword + " ;\ng2, g3 : Inverter ;\n", "a, b", "y, z",
                  "g1 ( a, b ; x ) ;\ng2 ( x ; y ) ;\ng3 ( x ; z ) ;\n");
}
// a, b -> And -> c; c, d -> Or -> e. Classes: {a/0 b/0 c/0}, {c/1 d/1 e/1} and
// the single faults a/1, b/1, d/0, e/0; e/0 dominates c/0, c/1 dominates a/1 and b/1.
std::string and_or(const std::string& nodes = "a, b, c, d, e") {
  return cir_text(nodes, "g1 : And_2 ;\ng2 : Or_2 ;\n", "a, b, d", "e",
                  "g1 ( a, b ; c ) ;\ng2 ( c, d ; e ) ;\n");
}

// Every fault a target, as without collapsing.
void read_all_targets() {
  read_checked_circuit("transfer", and_or());
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    zielfehler_C.fuege_ein(lines_C[i], ZERO, 0);
    zielfehler_C.fuege_ein(lines_C[i], ONE, 0);
  }
}

class Faults : public testing::Test {
 protected:
  void SetUp() override { select_pure_stuck_at_model(); }
};

TEST_F(Faults, ClassesHoldTheFaultsThatForceTheSameOutput) {
  // Each group is one class, and the groups are all the classes.
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {gate("And_2"), {"a/0 b/0 c/0", "a/1", "b/1", "c/1"}},
      {gate("Nor_2"), {"a/1 b/1 c/0", "a/0", "b/0", "c/1"}},
      {gate("Exor"), {"a/0", "a/1", "b/0", "b/1", "c/0", "c/1"}},
      {cir_text("a, m, c", "g1, g2 : Inverter ;\n", "a", "c", "g1 ( a ; m ) ;\ng2 ( m ; c ) ;\n"),
       {"a/0 m/1 c/0", "a/1 m/0 c/1"}},
      // Stem and branches never share a class.
      {fanout("And_2"),
       {"a/0 b/0 x/0", "a/1", "b/1", "x/1", "x->y__1/0 y/1", "x->y__1/1 y/0", "x->z__2/0 z/1",
        "x->z__2/1 z/0"}},
  };
  for (const auto& [text, groups] : cases) {
    SCOPED_TRACE(text);
    collapse(text);
    EXPECT_EQ(aequivalenzen_zahl_i, static_cast<int>(groups.size()));
    std::set<int> numbers;
    for (const std::string& group : groups) {
      EXPECT_EQ(classes_of(group).size(), 1u) << group;
      numbers.insert(*classes_of(group).begin());
    }
    EXPECT_EQ(numbers.size(), groups.size());
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(with(marks), "");
  }
}

TEST_F(Faults, OneTargetPerClassNearestTheOutputsFirst) {
  // Inputs (level 1), the Exor output (2) and the branches (3) are classes of
  // their own; the inverter outputs (4) share the branches' classes.
  collapse(fanout("Exor"));
  std::string levels;
  for (int i = 0; i < zielfehler_C.anzahl_i; i++) levels += std::to_string(zielfehler_C[i]->line_p->plane_i);
  EXPECT_EQ(levels, "3333221111");
  EXPECT_EQ(classes_of(listed(zielfehler_C)), (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(Faults, ClassCountsMatchThePublishedCollapsedCounts) {
  const std::pair<const char*, const char*> circuits[] = {
      {"iscas85", "c17"}, {"iscas85", "c432"}, {"iscas85", "c880"}, {"iscas89", "s27"}};
  for (const auto& [suite, name] : circuits) {
    SCOPED_TRACE(name);
    collapse(read_file(bench_circuit(suite, name)));
    const int collapsed = published_figures(name).collapsed;
    EXPECT_EQ(aequivalenzen_zahl_i, collapsed);
    EXPECT_EQ(zielfehler_C.anzahl_i, collapsed);
    // One target for each class.
    const std::set<int> classes = classes_of(listed(zielfehler_C));
    EXPECT_EQ(static_cast<int>(classes.size()), collapsed);
    EXPECT_FALSE(classes.contains(0));
  }
}

TEST_F(Faults, DetectionIsCarriedAlongEquivalenceAndDominance) {
  read_all_targets();
  report(done, "a/0");
  // b/0 and c/0 are a/0's class; c/0's test (c 1, d 0) shows at e as well.
  EXPECT_EQ(with(done), "a/0 b/0 c/0 e/0");
  EXPECT_EQ(listed(hilf_C), "c/0 b/0 e/0");
  report(done, "a/1");
  // Its test detects c/1 and so c/1's class; b/1 needs b at 0.
  EXPECT_EQ(with(done), "a/0 a/1 b/0 c/0 c/1 d/1 e/0 e/1");
}

TEST_F(Faults, RedundancyIsCarriedAlongEquivalenceAndMakesTheDominatingFaultATarget) {
  collapse(and_or());
  const std::string targets = listed(zielfehler_C);
  report(redundant, "a/0");
  EXPECT_EQ(with(redundant), "a/0 b/0 c/0");  // and nothing for e/0
  report(redundant, "a/1");
  // c/1 was covered through a/1's test; now it is a target of its own.
  EXPECT_EQ(listed(zielfehler_C), targets + " c/1");
  EXPECT_EQ(with(redundant) + with(done), "a/0 a/1 b/0 c/0");
  report(redundant, "b/1");  // c/1 is a target already
  EXPECT_EQ(listed(zielfehler_C), targets + " c/1");
}

TEST_F(Faults, NothingIsCarriedOverWithAFaultListReadOrOutsideThePureStuckAtModel) {
  for (bool fault_list_read : {true, false}) {
    flt_read_b = fault_list_read;
    only_iddq_test_b = !fault_list_read;
    only_stuck_at_test_b = fault_list_read;
    read_all_targets();
    report(done, "a/0");
    report(redundant, "a/1");
    EXPECT_EQ(with(done) + " " + with(redundant), "a/0 a/1") << fault_list_read;
    EXPECT_EQ(hilf_C.anzahl_i, 0);
    EXPECT_EQ(zielfehler_C.anzahl_i, 10);
  }
}

TEST_F(Faults, ReportCountsEachClassOnce) {
  // Listed from the inputs or from the output, a class is met at either end first.
  for (const char* nodes : {"a, b, c, d, e", "e, c, d, b, a"}) {
    select_pure_stuck_at_model();
    read_checked_circuit("count", and_or(nodes));
    for (const char* fault : {"a/0", "e/0"}) report(aborted, fault, false);
    for (const char* fault : {"b/0", "c/0", "a/1", "c/1", "d/1", "e/1"}) report(redundant, fault, false);
    gib_redundanz_aborted_klassen_anzahl();
    // {a/0 b/0 c/0} counts as aborted and as redundant.
    EXPECT_EQ(aborted_klassen_zahl_i, 2) << nodes;
    EXPECT_EQ(redundanz_klassen_zahl_i, 3) << nodes;
    EXPECT_EQ(with(marks), "");
  }
}

}  // namespace
