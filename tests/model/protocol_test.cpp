#include "model/protocol.h"

#include <gtest/gtest.h>

#include "model/line.h"
#include "support/fatal.h"

namespace {

TEST(Journal, HoldsTenEntriesPerLineAndPacksEachIntoFlagsAndFourBitValues) {
  protocol_stack_C journal;
  journal.init(3);
  line_C line{"a", 1, 0};
  EXPECT_EQ(journal.pop(), nullptr);
  journal.push(list_entry(&line, list_change_t::bound_out));
  EXPECT_EQ(journal.ujust_bound_changed_b, 0);  // taken out of the bound lines, not put in
  protocol_item_t entry = good_value_entry(&line, 17, ONE);
  entry.bound_eingefuegt_b = 1;
  journal.push(entry);
  EXPECT_EQ(journal.ujust_bound_changed_b, 1);
  journal.push(bad_value_entry(&line, X, 29));
  journal.push(decision_entry(&line, ZERO));
  protocol_item_t* e = journal.pop();
  EXPECT_EQ(e->optionale_zuweisung_b, 1u);
  EXPECT_EQ(e->alter_gut_wert_c, X);
  EXPECT_EQ(e->neuer_gut_wert_c, ZERO);
  EXPECT_EQ(e->alter_schlecht_wert_c, UNDEFINED);  // the bad value stays untouched
  // Values keep their low four bits; a field an entry does not change reads UNDEFINED.
  EXPECT_EQ(journal.pop()->neuer_schlecht_wert_c, 29u & 0xF);
  e = journal.pop();
  EXPECT_EQ(e->optionale_zuweisung_b, 0u);
  EXPECT_EQ(e->bound_eingefuegt_b, 1u);
  EXPECT_EQ(e->bound_ausgefuegt_b + e->d_front_eingefuegt_b + e->d_front_ausgefuegt_b, 0u);
  EXPECT_EQ(e->alter_gut_wert_c, 1u);
  EXPECT_EQ(e->neuer_gut_wert_c, ONE);
  EXPECT_EQ(e->alter_schlecht_wert_c, UNDEFINED);
  EXPECT_EQ(e->neuer_schlecht_wert_c, UNDEFINED);
  EXPECT_EQ(journal.pop()->bound_ausgefuegt_b, 1u);

  for (int i = 0; i < 30; i++) journal.push(good_value_entry(&line, X, ONE));
  EXPECT_FATAL(journal.push(good_value_entry(&line, X, ONE)),
               "protocol_stack_C::push:  there`s not enough memory for protocol pointer");
  EXPECT_EQ(journal.anzahl_i, 30);
}

}  // namespace
