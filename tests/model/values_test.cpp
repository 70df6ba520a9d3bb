#include "model/values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "support/fatal.h"

namespace {

TEST(Values, ComplementTableIsAnInvolutionAndRefusesUndefined) {
  const unsigned char complement[UNDEFINED] = {
      ONE_ROBUST, ONE, ZERO_ROBUST, ZERO, ONE_PENDING, ZERO_PENDING, FALLING, RISING, 8, X, D_BAR, D, 12};
  for (unsigned char v = 0; v < UNDEFINED; v++) {
    EXPECT_EQ(mynot(v), complement[v]) << int(v);
    EXPECT_EQ(mynot(mynot(v)), v) << int(v);
  }
  EXPECT_FATAL(mynot(UNDEFINED), "not: undefined values as input");
}

TEST(Values, GateFunctionsGivePlainCodesAndTheThreeValuedTruthTables) {
  const unsigned char plain[] = {ZERO, ONE, X};  // by level: 0, 1, unknown
  auto level = [](unsigned char v) { return v == X ? 2 : v <= ONE ? v >= ONE_ROBUST : -1; };
  for (unsigned char a = 0; a <= UNDEFINED; a++) {
    for (unsigned char b = 0; b <= UNDEFINED; b++) {
      for (int r : {myand(a, b), myor(a, b), myexor(a, b)}) EXPECT_TRUE(r == ZERO || r == ONE || r == X);
      int la = level(a), lb = level(b);
      if (la < 0 || lb < 0) continue;
      EXPECT_EQ(myand(a, b), plain[la == 0 || lb == 0 ? 0 : std::max(la, lb)]) << int(a) << " " << int(b);
      EXPECT_EQ(myor(a, b), plain[la == 1 || lb == 1 ? 1 : std::max(la, lb)]) << int(a) << " " << int(b);
      EXPECT_EQ(myexor(a, b), plain[la == 2 || lb == 2 ? 2 : la != lb]) << int(a) << " " << int(b);
    }
  }
}

// An n-input gate is the fold from the non-controlling value; NAND and NOR
// complement the result once.
unsigned char fold(char type, std::initializer_list<unsigned char> inputs) {
  bool and_like = type == 'A' || type == 'N';
  unsigned char v = and_like ? ONE : ZERO;
  for (unsigned char i : inputs) v = and_like ? myand(v, i) : myor(v, i);
  return (type == 'N' || type == 'R') ? mynot(v) : v;
}

TEST(Values, MultiInputGatesFoldFromTheNonControllingValue) {
  EXPECT_EQ(fold('A', {}), ONE);
  EXPECT_EQ(fold('A', {ONE, ONE_ROBUST, ONE}), ONE);
  EXPECT_EQ(fold('A', {ONE, X, ZERO_ROBUST}), ZERO);
  EXPECT_EQ(fold('N', {X, ZERO}), ONE);
  EXPECT_EQ(fold('O', {ZERO, X, ONE_ROBUST}), ONE);
  EXPECT_EQ(fold('R', {ZERO, ZERO_ROBUST}), ONE);
  EXPECT_EQ(fold('R', {ZERO, X}), X);
}

}  // namespace
