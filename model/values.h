// Logic value codes shared by every value byte of the system, and the
// two-input gate functions built on them.
#pragma once

// One unsigned byte, 0 to 13.
enum : unsigned char {
  ZERO_ROBUST = 0,
  ZERO = 1,
  ONE_ROBUST = 2,
  ONE = 3,
  ZERO_PENDING = 4,
  ONE_PENDING = 5,
  FALLING = 6,
  RISING = 7,
  X = 9,
  D = 10,
  D_BAR = 11,
  UNDEFINED = 13,
};

// Result codes of implication, unique sensitisation and learning steps.
enum : char { STEP_ASSIGNED = 0, STEP_CONFLICT = 3, STEP_NOTHING_NEW = 4 };

// Result of one run of the search for one target.
enum fan_result_t : int {
  TEST_FOUND = 0,
  ABORTED = 1,
  REDUNDANT = 2,
  ONLY_VALUE_CONFLICT = 3,
};

// Implication evaluates gates constantly: the functions stay inline, and
// only the error of an undefined operand leaves the header.
[[noreturn]] void undefined_operand_error();

// A table rather than a switch, which was compiled as a call: the robust,
// plain and pending values and D swap with their opposites, X, the test
// kinds and the codes without meaning stay as they are.
inline unsigned char mynot(unsigned char v) {
  static constexpr unsigned char opposite[16] = {
      ONE_ROBUST, ONE, ZERO_ROBUST, ZERO, ONE_PENDING, ZERO_PENDING, FALLING, RISING,
      8,          X,   D_BAR,       D,    12,          UNDEFINED,    14,      15};
  if (v == UNDEFINED) undefined_operand_error();
  return v < 16 ? opposite[v] : v;
}

// Codes 0 and 1 are the logic-0 codes, 2 and 3 the logic-1 codes.
inline unsigned char myand(unsigned char a, unsigned char b) {
  if (a < 2 || b < 2) return ZERO;
  if (a == X || b == X) return X;
  return ONE;
}

inline unsigned char myor(unsigned char a, unsigned char b) {
  if (a == ONE_ROBUST || a == ONE || b == ONE_ROBUST || b == ONE) return ONE;
  if (a == X || b == X) return X;
  return ZERO;
}

inline unsigned char myexor(unsigned char a, unsigned char b) {
  if (a == X || b == X) return X;
  if (a < 2 && b < 2) return ZERO;
  if ((a == ONE_ROBUST || a == ONE) && (b == ONE_ROBUST || b == ONE)) return ZERO;
  return ONE;
}

// The robust, plain and fault-effect flavours of logic 0 and logic 1.
inline bool is_zero_family(unsigned char v) {
  return v == ZERO_ROBUST || v == ZERO || v == ZERO_PENDING || v == D_BAR;
}
inline bool is_one_family(unsigned char v) {
  return v == ONE_ROBUST || v == ONE || v == ONE_PENDING || v == D;
}
