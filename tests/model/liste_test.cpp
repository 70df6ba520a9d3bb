#include "model/liste.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/statistic.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/record_lists.h"
#include "support/child.h"

namespace {

// A handful of free-standing signals to put into lists.
struct Signals {
  std::vector<std::unique_ptr<line_C>> lines;
  explicit Signals(int n) {
    for (int i = 0; i < n; i++)
      lines.push_back(std::make_unique<line_C>(("s" + std::to_string(i)).c_str(), 5));
  }
  line_C* operator[](int i) const { return lines[i].get(); }
};

std::vector<line_C*> contents(const line_liste_C& list, int n) {
  return std::vector<line_C*>(list.elemente_p.begin(), list.elemente_p.begin() + n);
}

TEST(SignalList, RemovalMovesLaterElementsDownAndParksTheRemovedOne) {
  Signals s(4);
  line_liste_C list;
  list.init(4);
  for (int i = 0; i < 4; i++) list.fuege_ein(s[i]);

  list.fuege_aus(s[3]);  // the last one: nothing moves
  EXPECT_EQ(list.anzahl_i, 3);
  EXPECT_EQ(contents(list, 4), (std::vector<line_C*>{s[0], s[1], s[2], s[3]}));

  list.fuege_aus(s[0]);  // the first one: all others move down
  EXPECT_EQ(list.anzahl_i, 2);
  EXPECT_EQ(contents(list, 3), (std::vector<line_C*>{s[1], s[2], s[0]}));
  EXPECT_TRUE(list.element_in_liste(s[2], 0));
  EXPECT_FALSE(list.element_in_liste(s[0], 0));
  EXPECT_TRUE(list.element_in_liste(s[1], 1));
  EXPECT_EQ(list.anzahl_i, 1);
  EXPECT_EQ(list[0], s[2]);
}

TEST(SignalList, GateConnectionListsDoubleTheirStorage) {
  Signals s(1);
  std::vector<std::unique_ptr<gate_C>> gates;
  gate_liste_C list(1);
  std::vector<int> capacities;
  for (int i = 0; i < 9; i++) {
    gates.push_back(std::make_unique<gate_C>(string_C(("g" + std::to_string(i)).c_str())));
    list.verbinde(gates.back().get());
    capacities.push_back(list.groesse_i);
  }
  EXPECT_EQ(capacities, (std::vector<int>{2, 4, 4, 8, 8, 8, 8, 16, 16}));
  for (int i = 0; i < 9; i++) EXPECT_EQ(list[i], gates[i].get());
}

TEST(SignalList, MisuseEndsTheRunWithItsMessage) {
  Signals s(3);
  line_liste_C fixed(2);
  EXPECT_FATAL(fixed.fuege_ein(s[0]), "fuege_ein: not allowed for non-generic lists");
  line_liste_C generic;
  generic.init(2);
  EXPECT_FATAL(generic.fuege_aus(s[0]), "fuege_aus:  list is empty");
  generic.fuege_ein(s[0]);
  EXPECT_FATAL(generic.fuege_aus(s[1]), "fuege_aus: element not found in list");
  generic.fuege_ein(s[1]);
  EXPECT_FATAL(generic.gib_only_line(), "gib_only_line: more than 1 gate in list");
  EXPECT_FATAL(generic.fuege_ein(s[2]), "line_liste_C::fuege_ein: list is full (room for 2 elements)");
  gate_liste_C gates;
  EXPECT_FATAL(gates.gib_only_gate(), "gib_only_gate: more than 1 gate in list");
}

TEST(SignalList, TheTwentyThousandAndFirstConnectionEndsTheRun) {
  line_C stem("stem", 1);
  gate_C g(string_C("g"));
  EXPECT_FATAL(
      {
        for (int i = 0; i < max_connections + 1; i++) stem.verbinde(&g, 'I');
      },
      "too many fanout-branches at some signal");
  child_result_t ok = run_in_child([&] {
    for (int i = 0; i < max_connections; i++) stem.verbinde(&g, 'I');
  });
  EXPECT_EQ(ok.exit_status, 0);
}

TEST(SignalList, ConnectionReplacedByIdentityNotByName) {
  line_C upper("A", 1);
  line_C lower("a", 1);
  line_C branch("a->x__1", 1);
  line_liste_C inputs(2);
  inputs.verbinde(&upper, 1);
  inputs.verbinde(&lower, 2);
  inputs.change_connection(&lower, &branch);
  EXPECT_EQ(inputs[0], &upper);
  EXPECT_EQ(inputs[1], &branch);
}

// ----------------------------------------------------- (signal, value) lists

TEST(ValueList, RemovalMovesLaterRecordsDownAndParksTheRemovedOne) {
  Signals s(3);
  line_value_liste_C list;
  list.init(3);
  list.fuege_ein(s[0], ZERO, 0);
  list.fuege_ein(s[1], ONE, 0);
  list.fuege_ein(s[2], ZERO, 0);
  list.fuege_aus(s[0], ZERO);
  EXPECT_EQ(list.anzahl_i, 2);
  EXPECT_EQ(list[0]->line_p, s[1]);
  EXPECT_EQ(list[1]->line_p, s[2]);
  EXPECT_EQ(list[2]->line_p, s[0]);  // parked behind the last record
  list.fuege_ein(s[0], ONE, 0);      // and refilled by the next insertion
  EXPECT_EQ(list[2]->value_c, ONE);
  EXPECT_FALSE(list.element_in_liste(s[1], ZERO, 0));
  EXPECT_TRUE(list.element_in_liste(s[1], ONE, 1));
  EXPECT_EQ(list.anzahl_i, 2);
  EXPECT_EQ(list[0]->line_p, s[2]);
}

TEST(ValueList, GrowsByFiftyUpToTheNumberOfLines) {
  statistic_u.no_signals_i = 100;
  statistic_u.no_fanout_branches_i = 20;
  Signals s(1);
  line_value_liste_C list;
  EXPECT_EQ(list.groesse_i, 0);
  list.fuege_ein(s[0], ZERO, 0);
  EXPECT_EQ(list.groesse_i, 50);
  EXPECT_EQ(list[1]->line_p, nullptr);
  EXPECT_EQ(list[1]->value_c, UNDEFINED);
  for (int i = 1; i < 150; i++) list.fuege_ein(s[0], ONE, 0);
  EXPECT_EQ(list.groesse_i, 150);
  // Growing past 150 would exceed the 120 lines of the circuit.
  EXPECT_FATAL(list.fuege_ein(s[0], ONE, 0), "line_value_liste_C::fuege_ein: Listen overflow");
}

TEST(ValueList, TargetListInsertsInAscendingKeyOrderBeforeEqualKeys) {
  Signals s(4);
  double observabilities[] = {2.0, 1.0, 3.0, 1.0};
  for (int i = 0; i < 4; i++) {
    s[i]->contby_0_d = 1.0;
    s[i]->contby_1_d = 2.0;
    s[i]->observaby_d = observabilities[i];
  }
  line_value_liste_C targets(line_value_rolle_t::zielfehler);
  targets.init(8);
  targets.fuege_ein(s[0], ZERO, 1);  // key 2
  targets.fuege_ein(s[1], ONE, 1);   // key 2, goes before the equal key
  targets.fuege_ein(s[2], ZERO, 1);  // key 3
  targets.fuege_ein(s[3], ZERO, 1);  // key 1
  targets.fuege_ein(s[2], ONE, 0);   // unsorted: stays last
  std::vector<std::pair<line_C*, char>> got;
  for (int i = 0; i < targets.anzahl_i; i++) got.emplace_back(targets[i]->line_p, targets[i]->value_c);
  std::vector<std::pair<line_C*, char>> expected = {
      {s[3], ZERO}, {s[1], ONE}, {s[0], ZERO}, {s[2], ZERO}, {s[2], ONE}};
  EXPECT_EQ(got, expected);
}

TEST(ValueList, DetectedListStoresRepeatsOnlyWhileAtMostHalfFull) {
  Signals s(2);
  line_value_liste_C detected(line_value_rolle_t::hilf);
  detected.init(4);
  detected.fuege_ein(s[0], ZERO, 1);
  detected.fuege_ein(s[0], ZERO, 1);  // half full: stored twice
  EXPECT_EQ(detected.anzahl_i, 2);
  detected.fuege_ein(s[1], ONE, 1);
  detected.fuege_ein(s[0], ZERO, 1);  // more than half full: refused
  EXPECT_EQ(detected.anzahl_i, 3);
  line_value_liste_C plain;
  plain.init(4);
  for (int i = 0; i < 4; i++) plain.fuege_ein(s[0], ZERO, 1);
  EXPECT_EQ(plain.anzahl_i, 4);
}

TEST(ValueList, FindsAMemberOfAnEquivalenceClass) {
  Signals s(2);
  s[0]->aequi_class_0_i = 7;
  s[1]->aequi_class_1_i = 7;
  line_value_liste_C list;
  list.init(2);
  list.fuege_ein(s[0], ONE, 0);
  EXPECT_EQ(list.find_a_aequi_class_member(7), nullptr);
  list.fuege_ein(s[1], ONE, 0);
  EXPECT_EQ(list.find_a_aequi_class_member(7), list[1]);
}

// ------------------------------------------------------------ other records

TEST(PairList, ReportsOverflow) {
  Signals s(2);
  line_line_liste_C pairs;
  pairs.init(1);
  pairs.fuege_ein(s[0], s[1]);
  EXPECT_EQ(pairs[0]->line_b_p, s[1]);
  EXPECT_EQ(pairs[0]->pair_state_c, 0);
  EXPECT_FATAL(pairs.fuege_ein(s[1], s[0]), "Overflow of line_line_liste_C");
}

TEST(ObjectiveList, FanoutObjectivesStayInLevelOrder) {
  Signals s(4);
  s[0]->plane_i = 3;
  s[1]->plane_i = 1;
  s[2]->plane_i = 2;
  s[3]->plane_i = 2;
  s[2]->nummer_i = 5;
  s[3]->nummer_i = 4;
  objective_liste_C fanouts(objective_rolle_t::by_level);
  fanouts.init(4);
  for (int i = 0; i < 4; i++) fanouts.fuege_ein(s[i], i, 0);
  std::vector<line_C*> order;
  for (int i = 0; i < 4; i++) order.push_back(fanouts[i]->objective_line_p);
  EXPECT_EQ(order, (std::vector<line_C*>{s[1], s[3], s[2], s[0]}));
  EXPECT_EQ(fanouts.pop()->objective_line_p, s[0]);  // the highest level first
  EXPECT_EQ(fanouts.anzahl_i, 3);
  EXPECT_TRUE(fanouts.element_in_liste(s[3], 1));
  EXPECT_EQ(fanouts[1]->objective_line_p, s[2]);
  EXPECT_FATAL(fanouts.fuege_aus(s[3]), "fuege_aus: element not found in list");
}

TEST(ObjectiveList, PlainListKeepsInsertionOrderAndChecksItsCapacity) {
  Signals s(3);
  objective_liste_C current;
  current.init(2);
  current.fuege_ein(s[2], 1, 0);
  current.fuege_ein(s[0], 0, 1);
  EXPECT_EQ(current.pop()->objective_line_p, s[0]);
  current.fuege_ein(s[1], 0, 1);
  EXPECT_FATAL(current.fuege_ein(s[0], 1, 1), "objective_liste_C::fuege_ein: more than 2 records");
  current.loesche_liste();
  EXPECT_EQ(current.pop(), nullptr);
}

}  // namespace
