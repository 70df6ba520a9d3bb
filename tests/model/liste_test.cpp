#include "model/liste.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/record_lists.h"
#include "support/fatal.h"

namespace {

// Signals s0 ... s3 to put into lists, in no list of their circuit.
circuit_C records;
line_C* const s[] = {records.new_line("s0", 5), records.new_line("s1", 5), records.new_line("s2", 5),
                     records.new_line("s3", 5)};

std::string listed(const line_value_liste_C& list) {  // "s3/0 s1/1"
  std::string text;
  for (int i = 0; i < list.anzahl_i; i++)
    text += (i ? " " : "") + list[i]->line_p->name_s + (list[i]->value_c == ZERO ? "/0" : "/1");
  return text;
}

TEST(Lists, LineListsParkWhatTheyRemoveConnectionListsDoubleAndMisuseEndsTheRun) {
  line_liste_C fixed(2), list;
  EXPECT_FATAL(fixed.fuege_ein(s[0]), "fuege_ein: not allowed for non-generic lists");
  list.init(4);
  EXPECT_FATAL(list.fuege_aus(s[0]), "fuege_aus:  list is empty");
  for (line_C* l : s) list.fuege_ein(l);
  EXPECT_FATAL(list.fuege_ein(s[0]), "line_liste_C::fuege_ein: list is full (room for 4 elements)");
  EXPECT_EQ(list.anzahl_i, 4);  // a refused element leaves the count as it was
  list.fuege_aus(s[0]);
  EXPECT_TRUE(list.element_in_liste(s[2], 1) && list.anzahl_i == 2);
  EXPECT_EQ(list.elemente_p, (std::vector<line_C*>{s[1], s[3], s[2], s[0]}));  // moved down, parked
  EXPECT_FATAL(list.fuege_aus(s[0]), "fuege_aus: element not found in list");
  EXPECT_FATAL(list.gib_only_line(), "gib_only_line: more than 1 gate in list");
  gate_C g("g", 0);
  gate_liste_C connections(1);
  std::vector<int> capacities;
  for (int i = 0; i < 9; i++) connections.verbinde(&g), capacities.push_back(connections.groesse_i);
  EXPECT_EQ(capacities, (std::vector<int>{2, 4, 4, 8, 8, 8, 8, 16, 16}));
  line_C stem("stem", 1, 0);  // connections 1 to 20000 are fine
  for (int i = 0; i < max_connections; i++) stem.verbinde(&g, 'I');
  EXPECT_FATAL(stem.verbinde(&g, 'I'), "too many fanout-branches at some signal");
  EXPECT_EQ(stem.nachfolger_C.anzahl_i, max_connections);
}

TEST(Lists, ValueListsGrowByFiftyAndFollowTheirRoles) {
  line_value_liste_C values;
  values.max_records_i = 120;  // value lists then grow from 50 to 150, and no further
  values.fuege_ein(s[0], ZERO, 0);
  EXPECT_EQ(values.groesse_i, 50);
  for (int i = 1; i < 150; i++) values.fuege_ein(s[0], ONE, 0);
  EXPECT_EQ(values.groesse_i, 150);
  EXPECT_FATAL(values.fuege_ein(s[0], ONE, 0), "line_value_liste_C::fuege_ein: Listen overflow");
  EXPECT_EQ(values.anzahl_i, 150);
  // Targets ascend by key, controllability times observability: 2, 2, 3 and 1 for s0/0, s1/1, s2/0
  // and s3/0. A new one goes before an equal key, one inserted unsorted stays last.
  const int keys[] = {2, 2, 3, 1}, levels[] = {3, 1, 2, 2};
  for (int i = 0; i < 4; i++) {
    s[i]->contby_0_d = s[i]->contby_1_d = 1.0;
    s[i]->observaby_d = keys[i];
    s[i]->plane_i = levels[i];
    s[i]->nummer_i = 9 - i;
  }
  line_value_liste_C targets(line_value_rolle_t::zielfehler), detected(line_value_rolle_t::hilf);
  targets.init(8);
  for (const auto& [i, value, sorted] :
       {std::tuple{0, ZERO, 1}, {1, ONE, 1}, {2, ZERO, 1}, {3, ZERO, 1}, {2, ONE, 0}})
    targets.fuege_ein(s[i], value, sorted);
  EXPECT_EQ(listed(targets), "s3/0 s1/1 s0/0 s2/0 s2/1");
  // Removal parks the record behind the others, and the next insertion refills its place.
  targets.fuege_aus(s[1], ONE);
  EXPECT_EQ(targets[4]->line_p, s[1]);
  targets.fuege_ein(s[3], ONE, 0);
  EXPECT_EQ(listed(targets), "s3/0 s0/0 s2/0 s2/1 s3/1");
  EXPECT_FALSE(targets.element_in_liste(s[0], ONE, 0));
  // Fanout objectives leave highest level first, then highest number; a
  // stem's objective is found and updated in place, and gone once taken out.
  fanout_objective_liste_C fanouts;
  fanouts.init(10);
  for (int i = 0; i < 4; i++) fanouts.fuege_ein(s[i], i, 0);
  fanouts.find(s[2])->n1_i = 7;
  std::string order;
  while (objective_type_u* o = fanouts.pop()) {
    order += o->objective_line_p->name_s + "/" + std::to_string(o->n1_i) + " ";
    EXPECT_EQ(fanouts.find(o->objective_line_p), nullptr);
  }
  EXPECT_EQ(order, "s0/0 s2/7 s3/0 s1/0 ");
  fanouts.fuege_ein(s[1], 1, 1);
  fanouts.loesche_liste();
  EXPECT_TRUE(fanouts.is_empty());
  EXPECT_EQ(fanouts.find(s[1]), nullptr);
  // A repeat enters the list of detected faults only while it is at most half full.
  detected.init(4);
  for (int i : {0, 0, 1, 0}) detected.fuege_ein(s[i], ZERO, 1);
  EXPECT_EQ(listed(detected), "s0/0 s0/0 s1/0");
}

}  // namespace
