// A gate netlist written as a circuit file quarn reads: the .cir layout of
// the bundled examples, or the .bench layout.
#pragma once

#include <string>

#include "flow/gate_netlist.h"

// A name made a .cir identifier: characters outside the scanner's set
// become "_", a name that would start with a digit or another non-letter
// gets "n_" in front, and a keyword of the format "s_".
std::string cir_identifier(const std::string& name);

// The netlist as .cir text: Node list, gate declarations grouped by type,
// Input, Output, Strobe STROBEALL, then the instances. Each net is one
// signal; an output that shares its net with an input or another output
// gets a signal of its own behind a Driver.
std::string cir_text(const gate_netlist_t& netlist);

// The same circuit as .bench text (INPUT, OUTPUT, gates, DFF), with the
// same signal names.
std::string bench_text(const gate_netlist_t& netlist);
