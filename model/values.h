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

unsigned char mynot(unsigned char v);
unsigned char myand(unsigned char a, unsigned char b);
unsigned char myor(unsigned char a, unsigned char b);
unsigned char myexor(unsigned char a, unsigned char b);

// The robust, plain and fault-effect flavours of logic 0 and logic 1.
inline bool is_zero_family(unsigned char v) {
  return v == ZERO_ROBUST || v == ZERO || v == ZERO_PENDING || v == D_BAR;
}
inline bool is_one_family(unsigned char v) {
  return v == ONE_ROBUST || v == ONE || v == ONE_PENDING || v == D;
}
