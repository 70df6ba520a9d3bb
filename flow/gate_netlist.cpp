#include "flow/gate_netlist.h"

#include <set>

#include "base/messages.h"

namespace {

using kind_t = netlist_gate_kind_t;

struct folding_t {
  std::map<int, int> constant;  // nets found constant, with their value

  int value(int net) const {
    if (net == constant_0 || net == constant_1) return net;
    auto found = constant.find(net);
    return found == constant.end() ? -1 : found->second;
  }

  // Folds the constant inputs of a gate; true when its output became a
  // constant (recorded), false when the gate stays (possibly reduced).
  bool fold(netlist_gate_t& gate) {
    std::vector<int> open;
    int zeros = 0, ones = 0;
    for (int net : gate.inputs) {
      const int v = value(net);
      if (v == 0) {
        zeros++;
      } else if (v == 1) {
        ones++;
      } else {
        open.push_back(net);
      }
    }
    if (zeros + ones == 0) return false;
    const bool inverting = gate.kind == kind_t::nand_gate || gate.kind == kind_t::nor_gate ||
                           gate.kind == kind_t::not_gate || gate.kind == kind_t::xnor_gate;
    auto becomes = [&](int v) {
      constant[gate.output] = v;
      return true;
    };
    switch (gate.kind) {
      case kind_t::and_gate:
      case kind_t::nand_gate:
      case kind_t::or_gate:
      case kind_t::nor_gate: {
        const bool and_like = gate.kind == kind_t::and_gate || gate.kind == kind_t::nand_gate;
        // The controlling value decides the output; the other one drops out.
        if (and_like ? zeros > 0 : ones > 0) return becomes((and_like ? 0 : 1) ^ (inverting ? 1 : 0));
        if (open.empty()) return becomes((and_like ? 1 : 0) ^ (inverting ? 1 : 0));
        if (open.size() == 1) gate.kind = inverting ? kind_t::not_gate : kind_t::buf_gate;
        break;
      }
      case kind_t::xor_gate:
      case kind_t::xnor_gate: {
        const bool odd = ((ones & 1) != 0) != inverting;
        if (open.empty()) return becomes(odd ? 1 : 0);
        if (open.size() == 1) {
          gate.kind = odd ? kind_t::not_gate : kind_t::buf_gate;
        } else {
          gate.kind = odd ? kind_t::xnor_gate : kind_t::xor_gate;
        }
        break;
      }
      case kind_t::not_gate:
      case kind_t::buf_gate:
        return becomes((ones > 0 ? 1 : 0) ^ (inverting ? 1 : 0));
    }
    gate.inputs = open;
    return false;
  }
};

void fold_constants(gate_netlist_t& netlist, std::vector<std::string>& notes) {
  folding_t folding;
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t i = 0; i < netlist.gates.size(); i++) {
      if (folding.fold(netlist.gates[i])) {
        netlist.gates.erase(netlist.gates.begin() + static_cast<std::ptrdiff_t>(i--));
        changed = true;
      }
    }
  }
  for (const netlist_flipflop_t& ff : netlist.flipflops) {
    if (folding.value(ff.data) >= 0) {
      error(string_C("flip-flop " + ff.name +
                     " loads a constant: such a register cannot be written as a circuit"));
    }
  }
  std::vector<netlist_port_t> outputs;
  for (const netlist_port_t& port : netlist.outputs) {
    const int v = folding.value(port.net);
    if (v < 0) {
      outputs.push_back(port);
    } else {
      notes.push_back("output " + port.name + " is constant " + std::to_string(v) + ": left out");
    }
  }
  netlist.outputs = outputs;
}

void remove_unread(gate_netlist_t& netlist, std::vector<std::string>& notes) {
  std::map<int, size_t> gate_of, flipflop_of;
  for (size_t i = 0; i < netlist.gates.size(); i++) gate_of[netlist.gates[i].output] = i;
  for (size_t i = 0; i < netlist.flipflops.size(); i++) flipflop_of[netlist.flipflops[i].state] = i;
  std::set<int> read;
  std::vector<int> work;
  auto reach = [&](int net) {
    if (read.insert(net).second) work.push_back(net);
  };
  for (const netlist_port_t& port : netlist.outputs) reach(port.net);
  while (!work.empty()) {
    const int net = work.back();
    work.pop_back();
    if (auto g = gate_of.find(net); g != gate_of.end()) {
      for (int input : netlist.gates[g->second].inputs) reach(input);
    } else if (auto f = flipflop_of.find(net); f != flipflop_of.end()) {
      reach(netlist.flipflops[f->second].data);
    }
  }
  std::vector<netlist_gate_t> gates;
  for (const netlist_gate_t& gate : netlist.gates) {
    if (read.count(gate.output) != 0) gates.push_back(gate);
  }
  netlist.gates = gates;
  std::vector<netlist_flipflop_t> flipflops;
  for (const netlist_flipflop_t& ff : netlist.flipflops) {
    if (read.count(ff.state) != 0) flipflops.push_back(ff);
  }
  netlist.flipflops = flipflops;
  std::vector<netlist_port_t> inputs;
  for (const netlist_port_t& port : netlist.inputs) {
    if (read.count(port.net) != 0) {
      inputs.push_back(port);
    } else if (netlist.clocks.count(port.net) != 0) {
      notes.push_back("input " + port.name + " is the clock: dropped, each flip-flop becomes a Dflipflop");
    } else {
      notes.push_back("input " + port.name + " drives no output and no register data: left out");
    }
  }
  netlist.inputs = inputs;
}

}  // namespace

void simplify_netlist(gate_netlist_t& netlist, std::vector<std::string>& notes) {
  fold_constants(netlist, notes);
  remove_unread(netlist, notes);
  if (netlist.outputs.empty())
    error(string_C("module " + netlist.name + " has no output that is not constant"));
}
