// The reconvergence analysis of block gates. No block survives
// preprocessing, so it only leaves its (empty) file behind.
#pragma once

class implication_C;
struct settings_C;

void constraint_analysis(const settings_C& settings, implication_C& imp);
