#include "model/values.h"

#include "base/messages.h"

unsigned char mynot(unsigned char v) {
  switch (v) {
    case ZERO_ROBUST:
      return ONE_ROBUST;
    case ONE_ROBUST:
      return ZERO_ROBUST;
    case ZERO:
      return ONE;
    case ONE:
      return ZERO;
    case ZERO_PENDING:
      return ONE_PENDING;
    case ONE_PENDING:
      return ZERO_PENDING;
    case D:
      return D_BAR;
    case D_BAR:
      return D;
    case UNDEFINED:
      error(string_C("not: undefined values as input"));
    default:
      return v;  // X, the test kinds and the codes without meaning
  }
}

// Codes 0 and 1 are the logic-0 codes, 2 and 3 the logic-1 codes.
unsigned char myand(unsigned char a, unsigned char b) {
  if (a < 2 || b < 2) return ZERO;
  if (a == X || b == X) return X;
  return ONE;
}

unsigned char myor(unsigned char a, unsigned char b) {
  if (a == ONE_ROBUST || a == ONE || b == ONE_ROBUST || b == ONE) return ONE;
  if (a == X || b == X) return X;
  return ZERO;
}

unsigned char myexor(unsigned char a, unsigned char b) {
  if (a == X || b == X) return X;
  if (a < 2 && b < 2) return ZERO;
  if ((a == ONE_ROBUST || a == ONE) && (b == ONE_ROBUST || b == ONE)) return ZERO;
  return ONE;
}
