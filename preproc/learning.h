// Learned implications: static learning during preprocessing finds them, and
// implication applies them (together with those dynamic learning finds
// during a search) whenever it reaches the line they belong to.
#pragma once

class line_C;

#include <cstdint>

#include "model/liste.h"

// The lines learning proved can take one value only, in circuit order.
extern line_liste_C only_value_lines_C;

// Forgets what earlier learning recorded, before the first phase.
void start_learning();

// One learning phase over the whole circuit.
void learning_implications();
// Collects only_value_lines_C once the learning phases are over.
void collect_only_value_lines();

// Whether static learning has recorded the implication of this key
// (implication_key of model/key_set.h).
bool is_statically_learned(uint64_t key);
