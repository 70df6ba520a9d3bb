// The preprocessing of a checked circuit: structure analysis in a fixed
// order, between the circuit check and test generation.
#pragma once

#include "preproc/learning.h"

class circuit_C;
class collapsing_C;
class gate_C;
class implication_C;
class messages_C;
struct settings_C;
class target_list_C;

class preprocessing_C {
 public:
  preprocessing_C(circuit_C& circuit, const settings_C& settings, messages_C& messages, implication_C& imp,
                  target_list_C& targets, collapsing_C& collapsing);

  learning_C learning;

  // The whole preprocessing; simulate is 1 when the run only simulates a
  // pattern file.
  void praeprocessing(char simulate);

 private:
  circuit_C& circuit_;
  const settings_C& settings_;
  messages_C& messages_;
  implication_C& imp_;
  target_list_C& targets_;
  collapsing_C& collapsing_;
};

// Blocks are not supported: asking for a block's cubes ends the run.
[[noreturn]] void get_block_cube(gate_C* block);
