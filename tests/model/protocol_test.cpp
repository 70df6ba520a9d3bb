#include "model/protocol.h"

#include <gtest/gtest.h>

#include "app/statistic.h"
#include "model/line.h"
#include "support/child.h"

namespace {

class Journal : public testing::Test {
 protected:
  void SetUp() override {
    statistic_u.no_signals_i = 2;
    statistic_u.no_fanout_branches_i = 1;
    protocol_C.init();
    ujust_bound_changed_b = 0;
  }
  line_C line{"a", 1};
};

TEST_F(Journal, HoldsTenEntriesPerLineAndNotOneMore) {
  EXPECT_EQ(protocol_C.groesse_i, 30);
  for (int i = 0; i < 30; i++) protocol_C.push(&line, 0, 0, 0, 0, 0, X, ONE, UNDEFINED, UNDEFINED);
  EXPECT_EQ(protocol_C.anzahl_i, 30);
  EXPECT_FATAL(protocol_C.push(&line, 0, 0, 0, 0, 0, X, ONE, UNDEFINED, UNDEFINED),
               "protocol_stack_C::push:  there`s not enough memory for protocol pointer");
}

TEST_F(Journal, PopOnAnEmptyStackReturnsNull) {
  EXPECT_EQ(protocol_C.pop(), nullptr);
  EXPECT_EQ(protocol_C.anzahl_i, 0);
}

TEST_F(Journal, EntriesComeBackLastInFirstOutAndAreRecycled) {
  line_C other("b", 1);
  protocol_C.push(&line, 1, 0, 0, 0, 0, X, ZERO, UNDEFINED, UNDEFINED);
  protocol_C.push(&other, 0, 0, 0, 1, 0, UNDEFINED, UNDEFINED, X, ONE);
  protocol_item_t* top = protocol_C.pop();
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->line_p, &other);
  EXPECT_EQ(top->d_front_eingefuegt_b, 1u);
  EXPECT_EQ(top->neuer_schlecht_wert_c, ONE);
  EXPECT_EQ(top->neuer_gut_wert_c, UNDEFINED);
  protocol_C.push(&line, 0, 0, 0, 0, 0, ZERO, ONE, UNDEFINED, UNDEFINED);
  EXPECT_EQ(protocol_C.pop(), top);  // the same entry, filled again
  protocol_item_t* decision = protocol_C.pop();
  EXPECT_EQ(decision->optionale_zuweisung_b, 1u);
  EXPECT_EQ(decision->alter_gut_wert_c, X);
  EXPECT_EQ(decision->neuer_gut_wert_c, ZERO);
  EXPECT_EQ(protocol_C.pop(), nullptr);
}

TEST_F(Journal, ValuesKeepTheirLowFourBitsAndOnlyOneSetsAFlag) {
  protocol_C.push(&line, 2, 1, 7, 1, -1, 17, ONE, 29, D_BAR);
  protocol_item_t* e = protocol_C.pop();
  EXPECT_EQ(e->optionale_zuweisung_b, 0u);
  EXPECT_EQ(e->bound_eingefuegt_b, 1u);
  EXPECT_EQ(e->bound_ausgefuegt_b, 0u);
  EXPECT_EQ(e->d_front_eingefuegt_b, 1u);
  EXPECT_EQ(e->d_front_ausgefuegt_b, 0u);
  EXPECT_EQ(e->alter_gut_wert_c, 1u);
  EXPECT_EQ(e->neuer_gut_wert_c, ONE);
  EXPECT_EQ(e->alter_schlecht_wert_c, 13u);
  EXPECT_EQ(e->neuer_schlecht_wert_c, D_BAR);
  EXPECT_EQ(sizeof(protocol_item_t), sizeof(line_C*) + 8);  // one pointer and one padded word
}

TEST_F(Journal, InsertionIntoTheUnjustifiedLinesIsFlagged) {
  protocol_C.push(&line, 0, 0, 1, 0, 0, UNDEFINED, UNDEFINED, UNDEFINED, UNDEFINED);
  EXPECT_EQ(ujust_bound_changed_b, 0);
  protocol_C.push(&line, 0, 1, 0, 0, 0, X, ONE, UNDEFINED, UNDEFINED);
  EXPECT_EQ(ujust_bound_changed_b, 1);
}

}  // namespace
