#include "model/liste.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/statistic.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/record_lists.h"
#include "support/child.h"

namespace {

// Free-standing signals s0, s1, ... to put into lists, alive until the test process ends.
std::vector<line_C*> signals(int n) {
  std::vector<line_C*> s;
  for (int i = 0; i < n; i++) s.push_back(new line_C(("s" + std::to_string(i)).c_str(), 5));
  return s;
}

TEST(Lists, RemovalMovesLaterElementsDownAndParksTheRemovedOne) {
  std::vector<line_C*> s = signals(4);
  line_liste_C list;
  list.init(4);
  for (int i = 0; i < 4; i++) list.fuege_ein(s[i]);
  list.fuege_aus(s[0]);
  EXPECT_TRUE(list.element_in_liste(s[2], 1));
  EXPECT_EQ(list.anzahl_i, 2);
  EXPECT_EQ(list.elemente_p, (std::vector<line_C*>{s[1], s[3], s[2], s[0]}));

  line_value_liste_C values;
  values.init(3);
  for (int i = 0; i < 3; i++) values.fuege_ein(s[i], ONE, 0);
  values.fuege_aus(s[0], ONE);
  EXPECT_EQ(values[0]->line_p, s[1]);
  EXPECT_EQ(values[2]->line_p, s[0]);  // parked, then refilled by the next insertion
  values.fuege_ein(s[3], ZERO, 0);
  EXPECT_EQ(values[2]->line_p, s[3]);
  EXPECT_FALSE(values.element_in_liste(s[1], ZERO, 0));
}

TEST(Lists, ConnectionListsDoubleAndValueListsGrowByFifty) {
  gate_C g(string_C("g"));
  gate_liste_C connections(1);
  std::vector<int> capacities;
  for (int i = 0; i < 9; i++) {
    connections.verbinde(&g);
    capacities.push_back(connections.groesse_i);
  }
  EXPECT_EQ(capacities, (std::vector<int>{2, 4, 4, 8, 8, 8, 8, 16, 16}));

  statistic_u.no_signals_i = 100;
  statistic_u.no_fanout_branches_i = 20;
  std::vector<line_C*> s = signals(1);
  line_value_liste_C values;
  values.fuege_ein(s[0], ZERO, 0);
  EXPECT_EQ(values.groesse_i, 50);
  for (int i = 1; i < 150; i++) values.fuege_ein(s[0], ONE, 0);
  EXPECT_EQ(values.groesse_i, 150);
  // Growing past 150 would exceed the 120 lines of the circuit.
  EXPECT_FATAL(values.fuege_ein(s[0], ONE, 0), "line_value_liste_C::fuege_ein: Listen overflow");
}

TEST(Lists, TargetFanoutAndDetectedListsFollowTheirRoles) {
  std::vector<line_C*> s = signals(4);
  const double observabilities[] = {2.0, 1.0, 3.0, 1.0};
  const int planes[] = {3, 1, 2, 2};
  for (int i = 0; i < 4; i++) {
    s[i]->contby_0_d = 1.0;
    s[i]->contby_1_d = 2.0;
    s[i]->observaby_d = observabilities[i];
    s[i]->plane_i = planes[i];
    s[i]->nummer_i = 9 - i;
  }
  line_value_liste_C targets(line_value_rolle_t::zielfehler);
  targets.init(8);
  targets.fuege_ein(s[0], ZERO, 1);  // key 2
  targets.fuege_ein(s[1], ONE, 1);   // key 2 as well: goes before the equal key
  targets.fuege_ein(s[2], ZERO, 1);  // key 3
  targets.fuege_ein(s[3], ZERO, 1);  // key 1
  targets.fuege_ein(s[2], ONE, 0);   // unsorted: stays last
  std::vector<std::pair<line_C*, char>> got;
  for (int i = 0; i < targets.anzahl_i; i++) got.emplace_back(targets[i]->line_p, targets[i]->value_c);
  EXPECT_EQ(got, (std::vector<std::pair<line_C*, char>>{
                     {s[3], ZERO}, {s[1], ONE}, {s[0], ZERO}, {s[2], ZERO}, {s[2], ONE}}));

  objective_liste_C fanouts(objective_rolle_t::by_level);
  fanouts.init(4);
  for (int i = 0; i < 4; i++) fanouts.fuege_ein(s[i], i, 0);
  std::vector<line_C*> order;
  for (int i = 0; i < 4; i++) order.push_back(fanouts[i]->objective_line_p);
  EXPECT_EQ(order, (std::vector<line_C*>{s[1], s[3], s[2], s[0]}));  // level, then number

  // A repeat enters the list of detected faults only while it is at most half full.
  line_value_liste_C detected(line_value_rolle_t::hilf);
  detected.init(4);
  for (int i : {0, 0, 1, 0}) detected.fuege_ein(s[i], ZERO, 1);
  EXPECT_EQ(detected.anzahl_i, 3);
}

TEST(Lists, MisuseEndsTheRunWithItsMessage) {
  std::vector<line_C*> s = signals(3);
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

  // Connections 1 to 20000 are fine: the test process must survive them.
  line_C stem("stem", 1);
  gate_C g(string_C("g"));
  for (int i = 0; i < max_connections; i++) stem.verbinde(&g, 'I');
  EXPECT_FATAL(stem.verbinde(&g, 'I'), "too many fanout-branches at some signal");
}

}  // namespace
