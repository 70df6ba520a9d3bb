#include "model/key_set.h"

#include "model/line.h"

uint64_t implication_key(const line_C* m, int index, const line_C* l, char value) {
  return (((static_cast<uint64_t>(m->nummer_i) << 1 | static_cast<uint64_t>(index)) << 20 |
           static_cast<uint64_t>(l->nummer_i))
          << 4) |
         static_cast<uint64_t>(value & 0xF);
}
