// Taking the next target and injecting its fault, in each fault model.
#pragma once

#include <cstdint>

#include "model/record_lists.h"
#include "model/values.h"

class implication_C;
class line_C;
class target_list_C;
struct settings_C;

class targets_C {
 public:
  targets_C(const settings_C& settings, implication_C& imp, target_list_C& target_list);

  // The next target (its fault injected), or null.
  line_value_t* gen_fault();
  // Whether the target must be tested now; if so, its fault is injected.
  char should_be_tested(line_C* line, char test_value);
  char must_be_tested(line_C* line, char test_value);

  // Where the walk over the bridging targets stands.
  std::int64_t act_bridging_list_index_i = 0;
  // The next untested bridging pair from the present one on, or null.
  line_line_t* gen_br_fault();

 private:
  const settings_C& settings_;
  implication_C& imp_;
  target_list_C& target_list_;
};
