#include "model/values.h"

#include <gtest/gtest.h>

#include "support/child.h"

namespace {

const unsigned char all_codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

bool is_logic_zero(unsigned char v) {
  return v == ZERO_ROBUST || v == ZERO;
}
bool is_logic_one(unsigned char v) {
  return v == ONE_ROBUST || v == ONE;
}

TEST(Values, ComplementSwapsTheFlavoursAndKeepsTheRest) {
  EXPECT_EQ(mynot(ZERO_ROBUST), ONE_ROBUST);
  EXPECT_EQ(mynot(ZERO), ONE);
  EXPECT_EQ(mynot(ZERO_PENDING), ONE_PENDING);
  EXPECT_EQ(mynot(D), D_BAR);
  EXPECT_EQ(mynot(X), X);
  const unsigned char unchanged[] = {FALLING, RISING, 8, 12, 14, 200};
  for (unsigned char v : unchanged) {
    EXPECT_EQ(mynot(v), v) << int(v);
  }
}

TEST(Values, ComplementIsAnInvolutionOnEveryCodeButUndefined) {
  for (unsigned char v : all_codes) EXPECT_EQ(mynot(mynot(v)), v) << int(v);
}

TEST(Values, ComplementOfUndefinedEndsTheRun) {
  EXPECT_FATAL(mynot(UNDEFINED), "not: undefined values as input");
}

// The gate functions only ever return plain codes, whatever flavour came in.
TEST(Values, GateFunctionsFoldRobustFlavoursToPlainCodes) {
  for (unsigned char a : all_codes) {
    for (unsigned char b : all_codes) {
      for (unsigned char r : {myand(a, b), myor(a, b), myexor(a, b)}) {
        EXPECT_TRUE(r == ZERO || r == ONE || r == X) << int(a) << " " << int(b);
      }
    }
  }
  EXPECT_EQ(myand(ONE_ROBUST, ONE), ONE);
  EXPECT_EQ(myor(ZERO_ROBUST, ZERO), ZERO);
}

TEST(Values, TwoValuedTruthTablesOverEveryFlavour) {
  const unsigned char logic[] = {ZERO_ROBUST, ZERO, ONE_ROBUST, ONE};
  for (unsigned char a : logic) {
    for (unsigned char b : logic) {
      bool pa = is_logic_one(a);
      bool pb = is_logic_one(b);
      EXPECT_EQ(myand(a, b), (pa && pb) ? ONE : ZERO);
      EXPECT_EQ(myor(a, b), (pa || pb) ? ONE : ZERO);
      EXPECT_EQ(myexor(a, b), (pa != pb) ? ONE : ZERO);
    }
  }
}

TEST(Values, ControllingValueWinsOverXAndXWinsOverTheOther) {
  for (unsigned char c : {ZERO_ROBUST, ZERO}) {
    EXPECT_EQ(myand(c, X), ZERO);
    EXPECT_EQ(myand(X, c), ZERO);
    EXPECT_EQ(myor(c, X), X);
  }
  for (unsigned char c : {ONE_ROBUST, ONE}) {
    EXPECT_EQ(myor(X, c), ONE);
    EXPECT_EQ(myand(c, X), X);
  }
  EXPECT_EQ(myexor(ONE, X), X);
  EXPECT_EQ(myexor(X, ZERO_ROBUST), X);
  EXPECT_EQ(myand(X, X), X);
}

// An n-input gate is the fold from the non-controlling value; NAND and NOR
// complement the result once.
unsigned char fold(char type, std::initializer_list<unsigned char> inputs) {
  bool and_like = type == 'A' || type == 'N';
  unsigned char v = and_like ? ONE : ZERO;
  for (unsigned char i : inputs) v = and_like ? myand(v, i) : myor(v, i);
  return (type == 'N' || type == 'R') ? mynot(v) : v;
}

TEST(Values, FoldFromTheNonControllingValue) {
  EXPECT_EQ(fold('A', {}), ONE);  // an And without inputs yields its start value
  EXPECT_EQ(fold('O', {}), ZERO);
  EXPECT_EQ(fold('A', {ONE, ONE_ROBUST, ONE}), ONE);
  EXPECT_EQ(fold('A', {ONE, X, ZERO_ROBUST}), ZERO);
  EXPECT_EQ(fold('A', {ONE, X, ONE}), X);
  EXPECT_EQ(fold('N', {ONE, ONE}), ZERO);
  EXPECT_EQ(fold('N', {X, ZERO}), ONE);
  EXPECT_EQ(fold('O', {ZERO, X, ONE_ROBUST}), ONE);
  EXPECT_EQ(fold('R', {ZERO, ZERO_ROBUST}), ONE);
  EXPECT_EQ(fold('R', {ZERO, X}), X);
  for (unsigned char v : all_codes) {
    if (is_logic_zero(v) || is_logic_one(v)) {
      EXPECT_EQ(fold('A', {v}), is_logic_one(v) ? ONE : ZERO);
    }
  }
}

}  // namespace
