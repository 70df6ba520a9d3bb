// Fault classes, the target list, results carried over to related faults and the classes counted.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/run.h"
#include "model/circuit.h"
#include "model/line.h"
#include "preproc/levels.h"
#include "support/bench_reference.h"
#include "support/circuit_text.h"
#include "support/paths.h"
#include "support/run_quarn.h"
#include "support/stuck_at_model.h"

namespace {

collapsing_C& collapsing() {
  return current_run().collapsing;
}
const line_liste_C& lines() {
  return current_run().circuit.lines_C;
}
line_value_liste_C& targets() {
  return current_run().target_list.zielfehler_C;
}

using flags_t = std::pair<char line_C::*, char line_C::*>;  // stuck-at-0, stuck-at-1
const flags_t done{&line_C::sa0_done_b, &line_C::sa1_done_b};
const flags_t aborted{&line_C::sa0_aborted_b, &line_C::sa1_aborted_b};
const flags_t redundant{&line_C::sa0_redundant_b, &line_C::sa1_redundant_b};
const flags_t marks{&line_C::aequi_mark_0_b, &line_C::aequi_mark_1_b};

// " a/0" for a stuck-at-0 at a; lists of faults are built from these.
const auto fault = [](const line_C* l, bool z) { return " " + l->name_s + (z ? "/0" : "/1"); };
const auto class_of = [](const line_C* l, bool z) { return z ? l->aequi_class_0_i : l->aequi_class_1_i; };

// Sets the flag of a fault and, unless told not to, carries it over as search and simulation do.
void report(flags_t flags, const std::string& f, bool carry = true) {
  const bool zero = f.back() == '0';
  line_C* l = line_named(f.substr(0, f.size() - 2));
  l->*(zero ? flags.first : flags.second) = 1;
  if (carry) collapsing().mark_all(l, zero ? STUCK_AT_0_KIND : STUCK_AT_1_KIND);
}

// The faults whose flag is set, in line order; the faults of a list, in list order.
std::string with(flags_t f) {
  const line_liste_C& lines_C = lines();
  std::string s;
  for (int i = 0; i < lines_C.anzahl_i; i++)
    for (bool z : {true, false}) s += lines_C[i]->*(z ? f.first : f.second) ? fault(lines_C[i], z) : "";
  return s.substr(s.empty() ? 0 : 1);
}
std::string listed(const line_value_liste_C& l) {
  std::string s;
  for (int i = 0; i < l.anzahl_i; i++) s += fault(l[i]->line_p, l[i]->value_c == ZERO);
  return s.substr(s.empty() ? 0 : 1);
}

// The classes as their faults in line order, sorted: "a/0 b/0|a/1".
std::string classes() {
  const line_liste_C& lines_C = lines();
  std::vector<std::string> members(2 * lines_C.anzahl_i + 1);  // by class number
  for (int i = 0; i < lines_C.anzahl_i; i++)
    for (bool z : {true, false}) members.at(class_of(lines_C[i], z)) += fault(lines_C[i], z);
  std::set<std::string> sorted(members.begin(), members.end());
  sorted.erase("");
  std::string text;
  for (const std::string& m : sorted) text.append("|").append(m, 1);
  return text.substr(1);
}

// Whether the targets stand for the classes 1 to the count, one each.
bool one_target_per_class() {
  std::set<int> targets, one_to_n;
  const line_value_liste_C& zielfehler_C = current_run().target_list.zielfehler_C;
  for (int k = 1; k <= collapsing().aequivalenzen_zahl_i; k++) one_to_n.insert(k);
  for (int i = 0; i < zielfehler_C.anzahl_i; i++)
    targets.insert(class_of(zielfehler_C[i]->line_p, zielfehler_C[i]->value_c == ZERO));
  return targets == one_to_n && zielfehler_C.anzahl_i == collapsing().aequivalenzen_zahl_i;
}

// Every fault a target unless collapsed; model 0: pure stuck-at, 1: a fault list read, 2: not only stuck-at.
void load(const std::string& text, bool collapse = true, int model = 0) {
  run_C& run = read_checked_circuit("faults", text);
  select_pure_stuck_at_model(run);
  calculate_planes(run.circuit, run.messages);
  if (collapse) run.collapsing.gib_aequi_klassen_zahl();
  for (int i = 0; i < lines().anzahl_i && !collapse; i++)
    for (char value : {ZERO, ONE}) targets().fuege_ein(lines()[i], value, 0);
  run.target_list.flt_read_b = model == 1;
  if (model == 2) run.settings.select_fault_model(fault_model_t::iddq);
}

// x = a op b fans out through x->y__1 to the inverter chain y, w and through x->z__2 to the inverter z.
std::string fanout(const std::string& op) {
  return cir_text("a, b, x, y, w, z", "g1 : " + op + " ;\ng2, g3, g4 : Inverter ;\n", "a, b", "w, z",
                  "g1 ( a, b ; x ) ;\ng2 ( x ; y ) ;\ng3 ( y ; w ) ;\ng4 ( x ; z ) ;\n");
}
// c = a b, e = c + d: classes {a/0 b/0 c/0}, {c/1 d/1 e/1}; e/0 dominates c/0, c/1 a/1 and b/1.
std::string and_or(const std::string& nodes = "a, b, c, d, e") {
  return cir_text(nodes, "g1 : And_2 ;\ng2 : Or_2 ;\n", "a, b, d", "e",
                  "g1 ( a, b ; c ) ;\ng2 ( c, d ; e ) ;\n");
}

TEST(Faults, ClassesHoldTheFaultsThatForceTheSameOutputWithOneTargetEachNearestTheOutputsFirst) {
  // A branch shares its class with the inverters it feeds, never with the stem.
  const std::string inverters = "|y/0 w/1 x->y__1/1|y/1 w/0 x->y__1/0|z/0 x->z__2/1|z/1 x->z__2/0";
  for (const auto& [op, expected] : {std::pair{"And_2", "a/0 b/0 x/0|a/1|b/1|x/1"},
                                     {"Nor_2", "a/0|a/1 b/1 x/0|b/0|x/1"},
                                     {"Exor", "a/0|a/1|b/0|b/1|x/0|x/1"}}) {
    load(fanout(op));
    EXPECT_EQ(classes() + with(marks), expected + inverters);  // and no marks left
    EXPECT_TRUE(one_target_per_class()) << op;
  }
  // With the Exor, the branches (level 3), its output (2) and the inputs (1) stand for their classes.
  std::string levels;
  for (int i = 0; i < targets().anzahl_i; i++) levels += std::to_string(targets()[i]->line_p->plane_i);
  EXPECT_EQ(levels, "3333221111");
  for (const char* name : {"c17", "c432", "c880", "s27"}) {
    load(read_file(bench_circuit(name)));
    EXPECT_EQ(collapsing().aequivalenzen_zahl_i, published_figures(name).collapsed) << name;
    EXPECT_TRUE(one_target_per_class()) << name;
  }
}

TEST(Faults, ResultsAreCarriedOverOnlyInThePureStuckAtModelWithoutAFaultList) {
  for (int model : {0, 1, 2}) {
    load(and_or(), false, model);
    report(done, "a/0");
    EXPECT_EQ(with(done) + "; " + listed(current_run().target_list.hilf_C),
              model ? "a/0; " : "a/0 b/0 c/0 e/0; c/0 b/0 e/0");
    report(done, "a/1");
    EXPECT_EQ(with(done), model ? "a/0 a/1" : "a/0 a/1 b/0 c/0 c/1 d/1 e/0 e/1") << model;
    // Redundancy only goes along equivalence; c/1, no longer covered, becomes a target, once.
    load(and_or(), true, model);
    const std::string before = listed(targets());
    for (const char* f : {"a/0", "a/1", "b/1"}) report(redundant, f);
    EXPECT_EQ(with(redundant) + with(done), model ? "a/0 a/1 b/1" : "a/0 a/1 b/0 b/1 c/0") << model;
    EXPECT_EQ(listed(targets()), before + (model ? "" : " c/1")) << model;
  }
}

TEST(Faults, ReportCountsEachClassOnce) {
  // Listed from the inputs or from the output, a class is met at either end first.
  for (const char* nodes : {"a, b, c, d, e", "e, c, d, b, a"}) {
    load(and_or(nodes), false);
    for (const char* f : {"a/0", "e/0"}) report(aborted, f, false);
    for (const char* f : {"b/0", "c/0", "a/1", "c/1", "d/1", "e/1"}) report(redundant, f, false);
    collapsing().gib_redundanz_aborted_klassen_anzahl();
    // {a/0 b/0 c/0} counts as aborted and as redundant.
    EXPECT_EQ(std::pair(collapsing().aborted_klassen_zahl_i, collapsing().redundanz_klassen_zahl_i),
              std::pair(2, 3))
        << nodes;
    EXPECT_EQ(with(marks), "");
  }
}

}  // namespace
