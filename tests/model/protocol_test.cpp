#include "model/protocol.h"

#include <gtest/gtest.h>

#include "app/statistic.h"
#include "model/line.h"
#include "support/child.h"

namespace {

TEST(Journal, HoldsTenEntriesPerLineAndPacksEachIntoFlagsAndFourBitValues) {
  statistic_u.no_signals_i = 2;
  statistic_u.no_fanout_branches_i = 1;
  protocol_C.init();
  ujust_bound_changed_b = 0;
  line_C line{"a", 1};
  EXPECT_EQ(protocol_C.pop(), nullptr);
  protocol_C.push(&line, 0, 0, 1, 0, 0, UNDEFINED, UNDEFINED, UNDEFINED, UNDEFINED);
  EXPECT_EQ(ujust_bound_changed_b, 0);  // taken out of the bound lines, not put in
  protocol_C.push(&line, 2, 1, 7, 1, -1, 17, ONE, 29, D_BAR);
  EXPECT_EQ(ujust_bound_changed_b, 1);
  protocol_item_t* e = protocol_C.pop();
  // A flag is set by 1 only; values keep their low four bits.
  EXPECT_EQ(e->optionale_zuweisung_b, 0u);
  EXPECT_EQ(e->bound_eingefuegt_b, 1u);
  EXPECT_EQ(e->bound_ausgefuegt_b, 0u);
  EXPECT_EQ(e->d_front_eingefuegt_b, 1u);
  EXPECT_EQ(e->d_front_ausgefuegt_b, 0u);
  EXPECT_EQ(e->alter_gut_wert_c, 1u);
  EXPECT_EQ(e->neuer_gut_wert_c, ONE);
  EXPECT_EQ(e->alter_schlecht_wert_c, 13u);
  EXPECT_EQ(e->neuer_schlecht_wert_c, D_BAR);
  EXPECT_EQ(protocol_C.pop()->bound_ausgefuegt_b, 1u);

  for (int i = 0; i < 30; i++) protocol_C.push(&line, 0, 0, 0, 0, 0, X, ONE, UNDEFINED, UNDEFINED);
  EXPECT_FATAL(protocol_C.push(&line, 0, 0, 0, 0, 0, X, ONE, UNDEFINED, UNDEFINED),
               "protocol_stack_C::push:  there`s not enough memory for protocol pointer");
}

}  // namespace
