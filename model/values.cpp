#include "model/values.h"

#include "base/messages.h"

void undefined_operand_error() {
  error(string_C("not: undefined values as input"));
}
