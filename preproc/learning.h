// Learned implications: static learning during preprocessing finds them, and
// implication applies them (together with those dynamic learning finds
// during a search) whenever it reaches the line they belong to.
#pragma once

class line_C;

// One learning phase over the whole circuit.
void learning_implications();
