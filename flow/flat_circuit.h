// A circuit as quarn tests it (fanout branches explicit, flip-flops cut),
// laid out as flat arrays in level order for bit-parallel simulation, with
// one stuck-at fault per collapsed equivalence class: the classes quarn's
// stuck-at coverage counts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct flat_circuit_t {
  enum op_t : uint8_t { op_input, op_and, op_nand, op_or, op_nor, op_xor, op_not, op_buf };
  // Per node, nodes in level order: every node comes after its fanins.
  std::vector<op_t> op;
  std::vector<int> level;
  std::vector<int> fanin_begin, fanin;    // fanin[fanin_begin[n] .. fanin_begin[n + 1])
  std::vector<int> fanout_begin, fanout;  // the same for the successors
  std::vector<char> is_output;
  std::vector<std::string> names;
  // Nodes of the inputs and outputs in the order of a pattern file's header.
  std::vector<int> inputs, outputs;
  int max_level = 0;

  int nodes() const { return static_cast<int>(op.size()); }
};

struct stuck_fault_t {
  int node;
  bool stuck_at_one;
};

struct fault_circuit_t {
  flat_circuit_t net;
  // One representative per collapsed class, in the order of quarn's target
  // list; classes.size() is quarn's number of equivalent classes.
  std::vector<stuck_fault_t> classes;
  // The representative's name as quarn's files write it ("s-a-0 name").
  std::string fault_name(const stuck_fault_t& f) const;
};

// Reads, transforms and checks the circuit file as a quarn run does and
// collapses its stuck-at faults; writes nothing beside the circuit and says
// nothing on standard output. A fatal error in the circuit ends through
// error().
fault_circuit_t load_fault_circuit(const std::string& circuit_path);
