#include "flow/circuit_file_writer.h"

#include <cctype>
#include <cstring>
#include <set>
#include <sstream>
#include <vector>

#include "base/messages.h"
#include "input/scanner.h"

namespace {

// Most inputs a gate keyword can name ("And_99").
constexpr size_t max_gate_inputs = 99;
// Names stay well below the scanner's token limit of 799 characters, so
// that a suffix for uniqueness still fits.
constexpr size_t max_name_length = 700;

using kind_t = netlist_gate_kind_t;

// Every record of the circuit with its final names.
struct named_gate_t {
  kind_t kind;
  std::string name;
  std::vector<std::string> inputs;
  std::string output;
};

struct named_circuit_t {
  std::string name;
  std::vector<std::string> nodes, inputs, outputs;
  std::vector<named_gate_t> gates;
  std::vector<named_gate_t> flipflops;  // kind unused: one input, one output
};

class namer_t {
 public:
  std::string unique(const std::string& wanted) {
    const std::string base = cir_identifier(wanted);
    std::string name = base;
    for (int suffix = 2; taken_.count(name) != 0; suffix++) name = base + "_" + std::to_string(suffix);
    taken_.insert(name);
    return name;
  }

 private:
  std::set<std::string> taken_;
};

named_circuit_t name_circuit(const gate_netlist_t& netlist) {
  named_circuit_t circuit;
  namer_t names;
  circuit.name = names.unique(netlist.name);
  std::map<int, std::string> signal;
  auto add_signal = [&](int net, const std::string& wanted) {
    const std::string name = names.unique(wanted);
    signal[net] = name;
    circuit.nodes.push_back(name);
    return name;
  };
  for (const netlist_port_t& port : netlist.inputs) {
    if (signal.count(port.net) != 0)
      error(string_C("input " + port.name + " shares its net with another input"));
    circuit.inputs.push_back(add_signal(port.net, port.name));
  }
  std::vector<std::pair<int, std::string>> copies;  // outputs behind a Driver
  for (const netlist_port_t& port : netlist.outputs) {
    if (signal.count(port.net) == 0) {
      circuit.outputs.push_back(add_signal(port.net, port.name));
    } else {
      const std::string name = names.unique(port.name);
      circuit.nodes.push_back(name);
      circuit.outputs.push_back(name);
      copies.emplace_back(port.net, name);
    }
  }
  auto wanted_name = [&](int net) {
    auto given = netlist.net_names.find(net);
    return given != netlist.net_names.end() ? given->second : "n" + std::to_string(net);
  };
  for (const netlist_flipflop_t& ff : netlist.flipflops) {
    if (signal.count(ff.state) == 0) add_signal(ff.state, wanted_name(ff.state));
  }
  for (const netlist_gate_t& gate : netlist.gates) {
    if (signal.count(gate.output) == 0) add_signal(gate.output, wanted_name(gate.output));
  }
  auto name_of = [&](int net) -> const std::string& {
    auto found = signal.find(net);
    if (found == signal.end()) {
      error(string_C(net < 2 ? "a constant reached a gate input after folding"
                             : "net " + wanted_name(net) + " has no driver"));
    }
    return found->second;
  };
  for (const netlist_gate_t& gate : netlist.gates) {
    named_gate_t named{gate.kind, names.unique("g_" + name_of(gate.output)), {}, name_of(gate.output)};
    for (int input : gate.inputs) named.inputs.push_back(name_of(input));
    if (named.inputs.size() > max_gate_inputs) {
      error(with_limit("a gate has more inputs than a circuit file's gate keyword allows",
                       static_cast<long>(max_gate_inputs)));
    }
    circuit.gates.push_back(named);
  }
  for (const auto& [net, name] : copies) {
    circuit.gates.push_back({kind_t::buf_gate, names.unique("g_" + name), {name_of(net)}, name});
  }
  for (const netlist_flipflop_t& ff : netlist.flipflops) {
    circuit.flipflops.push_back(
        {kind_t::buf_gate, names.unique("ff_" + name_of(ff.state)), {name_of(ff.data)}, name_of(ff.state)});
  }
  return circuit;
}

// A comma-separated list, wrapped before it runs past the line.
void write_list(std::ostream& out, const std::vector<std::string>& names, size_t column) {
  for (size_t i = 0; i < names.size(); i++) {
    if (i > 0) {
      out << ",";
      column++;
      if (column + names[i].size() + 1 > 90) {
        out << "\n ";
        column = 1;
      }
    }
    out << " " << names[i];
    column += names[i].size() + 1;
  }
}

}  // namespace

std::string cir_identifier(const std::string& name) {
  std::string id;
  for (unsigned char c : name) {
    const bool allowed = std::isalnum(c) || (c != '\0' && std::strchr("_\\!\"%*+-./<>@[]", c) != nullptr);
    id += allowed ? static_cast<char>(c) : '_';
  }
  if (id.size() > max_name_length) id.resize(max_name_length);
  const unsigned char first = id.empty() ? '0' : static_cast<unsigned char>(id[0]);
  if (!(std::isalpha(first) || first == '_' || first == '\\')) id = "n_" + id;
  if (classify_word(id) != token_t::IDENT) id = "s_" + id;
  return id;
}

std::string cir_text(const gate_netlist_t& netlist) {
  named_circuit_t circuit = name_circuit(netlist);
  // An Exor with an inverted output is an Exor and an Inverter in a circuit
  // file, which has no Xnor.
  std::vector<named_gate_t> gates;
  std::set<std::string> used(circuit.nodes.begin(), circuit.nodes.end());
  for (const named_gate_t& g : circuit.gates) used.insert(g.name);
  for (const named_gate_t& g : circuit.flipflops) used.insert(g.name);
  auto fresh = [&](const std::string& wanted) {
    std::string name = cir_identifier(wanted);
    for (int suffix = 2; used.count(name) != 0; suffix++)
      name = cir_identifier(wanted) + "_" + std::to_string(suffix);
    used.insert(name);
    return name;
  };
  for (const named_gate_t& g : circuit.gates) {
    if (g.kind != kind_t::xnor_gate) {
      gates.push_back(g);
      continue;
    }
    const std::string inner = fresh(g.output + "_xor");
    circuit.nodes.push_back(inner);
    gates.push_back({kind_t::xor_gate, fresh(g.name + "_xor"), g.inputs, inner});
    gates.push_back({kind_t::not_gate, g.name, {inner}, g.output});
  }

  std::ostringstream out;
  out << "{ " << circuit.name << ": synthesised from Verilog by quarn-verilog, " << circuit.flipflops.size()
      << " D flip-flops, " << gates.size() << " gates }\n";
  out << "Circuit " << circuit.name << " ;\n";
  out << "Node";
  write_list(out, circuit.nodes, 4);
  out << " : bit ;\nCon ( delay : 1 )\n";
  // The declarations grouped by type, in a fixed order of types.
  std::map<std::string, std::vector<std::string>> by_type;
  std::vector<std::string> type_order;
  auto declare = [&](const std::string& type, const std::string& name) {
    if (by_type.count(type) == 0) type_order.push_back(type);
    by_type[type].push_back(name);
  };
  for (const named_gate_t& ff : circuit.flipflops) declare("Dflipflop", ff.name);
  for (const named_gate_t& g : gates) {
    const std::string n = std::to_string(g.inputs.size());
    switch (g.kind) {
      case kind_t::and_gate:
        declare("And_" + n, g.name);
        break;
      case kind_t::or_gate:
        declare("Or_" + n, g.name);
        break;
      case kind_t::nand_gate:
        declare("Nand_" + n, g.name);
        break;
      case kind_t::nor_gate:
        declare("Nor_" + n, g.name);
        break;
      case kind_t::xor_gate:
        if (g.inputs.size() != 2)
          error(string_C("an Exor of a circuit file has two inputs; " + g.name + " has " + n));
        declare("Exor", g.name);
        break;
      case kind_t::not_gate:
        declare("Inverter", g.name);
        break;
      case kind_t::buf_gate:
        declare("Driver", g.name);
        break;
      case kind_t::xnor_gate:
        break;  // split above
    }
  }
  for (const std::string& type : type_order) {
    out << " ";
    write_list(out, by_type[type], 1);
    out << " : " << type << " ;\n";
  }
  out << "Input";
  write_list(out, circuit.inputs, 5);
  out << " ;\nOutput";
  write_list(out, circuit.outputs, 6);
  out << " ;\nStrobe STROBEALL :";
  write_list(out, circuit.outputs, 18);
  out << " ;\nbegin\n";
  auto instance = [&](const named_gate_t& g) {
    out << "  " << g.name << " (";
    for (size_t i = 0; i < g.inputs.size(); i++) out << (i > 0 ? ", " : " ") << g.inputs[i];
    out << " ; " << g.output << " ) ;\n";
  };
  for (const named_gate_t& g : gates) instance(g);
  for (const named_gate_t& ff : circuit.flipflops) instance(ff);
  out << "end.\n";
  return out.str();
}

std::string bench_text(const gate_netlist_t& netlist) {
  const named_circuit_t circuit = name_circuit(netlist);
  std::ostringstream out;
  out << "# " << circuit.name << ": synthesised from Verilog by quarn-verilog\n";
  out << "# " << circuit.inputs.size() << " inputs, " << circuit.outputs.size() << " outputs, "
      << circuit.flipflops.size() << " D flip-flops, " << circuit.gates.size() << " gates\n\n";
  for (const std::string& name : circuit.inputs) out << "INPUT(" << name << ")\n";
  out << "\n";
  for (const std::string& name : circuit.outputs) out << "OUTPUT(" << name << ")\n";
  out << "\n";
  for (const named_gate_t& ff : circuit.flipflops) out << ff.output << " = DFF(" << ff.inputs[0] << ")\n";
  for (const named_gate_t& g : circuit.gates) {
    static const std::map<kind_t, const char*> keyword = {
        {kind_t::and_gate, "AND"}, {kind_t::or_gate, "OR"},   {kind_t::nand_gate, "NAND"},
        {kind_t::nor_gate, "NOR"}, {kind_t::xor_gate, "XOR"}, {kind_t::xnor_gate, "XNOR"},
        {kind_t::not_gate, "NOT"}, {kind_t::buf_gate, "BUFF"}};
    out << g.output << " = " << keyword.at(g.kind) << "(";
    for (size_t i = 0; i < g.inputs.size(); i++) out << (i > 0 ? ", " : "") << g.inputs[i];
    out << ")\n";
  }
  return out.str();
}
