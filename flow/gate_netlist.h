// A flat netlist of simple gates and D flip-flops, as the synthesis hands it
// over and before it is written as a circuit file. Nets are numbers; 0 and 1
// are the constants.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

enum class netlist_gate_kind_t {
  and_gate,
  or_gate,
  nand_gate,
  nor_gate,
  xor_gate,
  xnor_gate,
  not_gate,
  buf_gate
};

constexpr int constant_0 = 0;
constexpr int constant_1 = 1;

struct netlist_gate_t {
  netlist_gate_kind_t kind;
  std::vector<int> inputs;
  int output;
};

struct netlist_flipflop_t {
  std::string name;  // the register's name where the design gave one
  int data, state;   // D and Q
};

struct netlist_port_t {
  std::string name;  // one bit: "a", or "b[2]" for a bit of a vector
  int net;
};

struct gate_netlist_t {
  std::string name;
  std::vector<netlist_port_t> inputs, outputs;
  std::vector<netlist_gate_t> gates;
  std::vector<netlist_flipflop_t> flipflops;
  std::map<int, std::string> net_names;  // names the design gave internal nets
  std::set<int> clocks;                  // nets that clocked the flip-flops
};

// Folds constants into the gates they feed, then takes out what no output
// and no flip-flop in use reads: gates, flip-flops, and inputs (the clock,
// once the flip-flops lost it). Outputs left constant are taken out too.
// Each removal a user should know of is added to notes. A flip-flop that
// loads a constant, or a netlist left without outputs, ends through error().
void simplify_netlist(gate_netlist_t& netlist, std::vector<std::string>& notes);
