// Verilog to simple gates and D flip-flops through Yosys, run as a program.
#pragma once

#include <string>
#include <vector>

#include "flow/gate_netlist.h"

struct synthesis_options_t {
  std::vector<std::string> files;  // Verilog sources; SystemVerilog where any ends in ".sv"
  std::string top;                 // the module to synthesise, flattened
  bool async_reset_to_sync = false;
};

// Whether the name is a plain Verilog module name (letters, digits, "_" and
// "$", no digit or "$" first): the only text of ours that enters the script.
bool is_plain_module_name(const std::string& name);

// The Yosys commands, one per line.
std::string yosys_script(const synthesis_options_t& options);

// Runs yosys on the sources and reads back what it wrote. Its failure ends
// through error() with its message. Yosys' warnings are added to notes.
gate_netlist_t synthesise_verilog(const synthesis_options_t& options, std::vector<std::string>& notes);

// The top module of a netlist Yosys wrote with write_json, after the script
// above: only the cell types it leaves are accepted.
gate_netlist_t netlist_from_yosys_json(const std::string& json_text, const std::string& top);
