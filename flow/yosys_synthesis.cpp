#include "flow/yosys_synthesis.h"

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

// Yosys' JSON netlist is its documented machine-readable output (ports with
// directions, cells with typed connections, constants spelled out), so a
// well-kept JSON library reads it completely; a hand parser of its BLIF or
// Verilog output would have to follow those languages' corners instead.
#include <nlohmann/json.hpp>

#include "base/messages.h"
#include "flow/process.h"

namespace {

// Yosys keeps a JSON object's keys in their order (the ports' order).
using json = nlohmann::ordered_json;

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

[[noreturn]] void unreadable(const std::string& what) {
  error(string_C("cannot read the netlist yosys wrote: " + what));
}

int net_of(const json& bit) {
  if (bit.is_number_integer()) {
    const long long net = bit.get<long long>();
    if (net < 2 || net > 2000000000) unreadable("net number " + std::to_string(net));
    return static_cast<int>(net);
  }
  if (!bit.is_string()) unreadable("a bit that is neither a net nor a constant");
  // Undefined and floating bits drive 0: the script sets undefined values to
  // 0 already, this only covers what it could not reach.
  return bit.get<std::string>() == "1" ? constant_1 : constant_0;
}

// The name of bit i of a port or net: itself for one bit, else with its
// Verilog index.
std::string bit_name(const std::string& name, const json& object, size_t i, size_t width) {
  if (width == 1) return name;
  const long long offset = object.contains("offset") ? object["offset"].get<long long>() : 0;
  const bool upto = object.contains("upto") && object["upto"].get<long long>() != 0;
  const long long index =
      upto ? offset + static_cast<long long>(width - 1 - i) : offset + static_cast<long long>(i);
  return name + "[" + std::to_string(index) + "]";
}

int connection(const json& cell, const std::string& cell_name, const char* pin) {
  const json& connections = cell.at("connections");
  if (!connections.contains(pin) || connections[pin].size() != 1) {
    unreadable("cell " + cell_name + " has no single-bit pin " + pin);
  }
  return net_of(connections[pin][0]);
}

// The message of a failed run: its error lines, or its last lines.
std::string failure_text(const std::string& output) {
  std::istringstream lines(output);
  std::string line, errors, last;
  std::vector<std::string> tail;
  while (std::getline(lines, line)) {
    if (line.find("ERROR") != std::string::npos) errors += line + "\n";
    tail.push_back(line);
    if (tail.size() > 20) tail.erase(tail.begin());
  }
  if (errors.empty()) {
    for (const std::string& l : tail) errors += l + "\n";
  }
  while (!errors.empty() && errors.back() == '\n') errors.pop_back();
  return errors;
}

}  // namespace

bool is_plain_module_name(const std::string& name) {
  if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) return false;
  for (unsigned char c : name) {
    if (!(std::isalnum(c) || c == '_' || c == '$')) return false;
  }
  return true;
}

std::string yosys_script(const synthesis_options_t& options) {
  const std::string& top = options.top;
  std::string script;
  script += "hierarchy -check -top " + top + "\n";
  script += "proc\n";
  script += "flatten\n";
  // An asynchronous reset acts at once; made synchronous it acts at the next
  // clock edge, which is what a cut flip-flop can hold.
  if (options.async_reset_to_sync) script += "async2sync\n";
  script += "synth -flatten -top " + top + "\n";
  // One flip-flop kind only: enables and synchronous resets become logic in
  // front of a plain D input; an asynchronous set or reset is refused here.
  script += "dfflegalize -cell $_DFF_P_ 01\n";
  script += "setundef -undriven -zero\n";
  // The gate types of a circuit file; abc also folds what the enables and
  // resets added.
  script += "abc -g AND,NAND,OR,NOR,XOR\n";
  script += "opt_clean -purge\n";
  // Logic loops and conflicting drivers end the run here.
  script += "check -assert\n";
  return script;
}

gate_netlist_t synthesise_verilog(const synthesis_options_t& options, std::vector<std::string>& notes) {
  if (!is_plain_module_name(options.top)) {
    error(string_C("the top module name " + options.top + " is no plain Verilog identifier"));
  }
  if (options.files.empty()) error(string_C("no Verilog file to synthesise"));
  if (!on_path("yosys"))
    error(string_C("yosys is not on PATH: the synthesis needs it (Debian package yosys)"));
  bool system_verilog = false;
  for (const std::string& file : options.files) {
    if (!std::ifstream(file)) error(string_C("cannot read the Verilog file " + file));
    system_verilog |= ends_with(file, ".sv");
  }
  private_directory_t directory;
  const std::string netlist_file = directory.file("netlist.json");
  // Every file name is an argument of its own, never script text.
  std::vector<std::string> command = {"yosys", "-q",
                                      "-f",    system_verilog ? "verilog -sv" : "verilog",
                                      "-p",    yosys_script(options),
                                      "-b",    "json",
                                      "-o",    netlist_file};
  for (const std::string& file : options.files) command.push_back(as_operand(file));
  const program_run_t run = run_program(command);
  if (run.exit_status != 0) {
    std::string message =
        "yosys failed (exit status " + std::to_string(run.exit_status) + "):\n" + failure_text(run.output);
    if (run.output.find("async set or reset") != std::string::npos) {
      message +=
          "\nthe design has an asynchronous set or reset: make it synchronous, or pass --async-reset sync";
    }
    error(string_C(message));
  }
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("Warning") != std::string::npos) notes.push_back("yosys: " + line);
  }
  std::ifstream in(netlist_file);
  if (!in) error(string_C("yosys wrote no netlist"));
  std::stringstream text;
  text << in.rdbuf();
  return netlist_from_yosys_json(text.str(), options.top);
}

gate_netlist_t netlist_from_yosys_json(const std::string& json_text, const std::string& top) {
  json document;
  try {
    document = json::parse(json_text);
  } catch (const json::exception& e) {
    unreadable(e.what());
  }
  gate_netlist_t netlist;
  netlist.name = top;
  try {
    if (!document.contains("modules") || !document["modules"].contains(top)) unreadable("no module " + top);
    const json& module = document["modules"][top];
    std::map<int, std::string> driven_by;
    auto drive = [&](int net, const std::string& by) {
      if (net < 2) return;  // a constant: Yosys ties it, nothing drives it
      if (!driven_by.emplace(net, by).second) {
        error(string_C("net " + std::to_string(net) + " has two drivers: " + driven_by[net] + " and " + by));
      }
    };
    for (const auto& [name, port] : module.at("ports").items()) {
      const std::string direction = port.at("direction").get<std::string>();
      const json& bits = port.at("bits");
      for (size_t i = 0; i < bits.size(); i++) {
        netlist_port_t bit{bit_name(name, port, i, bits.size()), net_of(bits[i])};
        if (direction == "input") {
          drive(bit.net, "input " + bit.name);
          netlist.inputs.push_back(bit);
        } else if (direction == "output") {
          netlist.outputs.push_back(bit);
        } else {
          error(string_C("port " + name + " is bidirectional: a circuit has inputs and outputs only"));
        }
      }
    }
    if (module.contains("netnames")) {
      for (const auto& [name, net] : module["netnames"].items()) {
        if (net.contains("hide_name") && net["hide_name"].get<long long>() != 0) continue;
        const json& bits = net.at("bits");
        for (size_t i = 0; i < bits.size(); i++) {
          const int n = net_of(bits[i]);
          if (n >= 2) netlist.net_names.emplace(n, bit_name(name, net, i, bits.size()));
        }
      }
    }
    static const std::map<std::string, netlist_gate_kind_t> two_input = {
        {"$_AND_", netlist_gate_kind_t::and_gate},   {"$_OR_", netlist_gate_kind_t::or_gate},
        {"$_NAND_", netlist_gate_kind_t::nand_gate}, {"$_NOR_", netlist_gate_kind_t::nor_gate},
        {"$_XOR_", netlist_gate_kind_t::xor_gate},   {"$_XNOR_", netlist_gate_kind_t::xnor_gate}};
    if (module.contains("cells")) {
      for (const auto& [name, cell] : module["cells"].items()) {
        const std::string type = cell.at("type").get<std::string>();
        if (auto kind = two_input.find(type); kind != two_input.end()) {
          netlist_gate_t gate{kind->second,
                              {connection(cell, name, "A"), connection(cell, name, "B")},
                              connection(cell, name, "Y")};
          drive(gate.output, "cell " + name);
          netlist.gates.push_back(gate);
        } else if (type == "$_NOT_" || type == "$_BUF_") {
          netlist_gate_t gate{
              type == "$_NOT_" ? netlist_gate_kind_t::not_gate : netlist_gate_kind_t::buf_gate,
              {connection(cell, name, "A")},
              connection(cell, name, "Y")};
          drive(gate.output, "cell " + name);
          netlist.gates.push_back(gate);
        } else if (type == "$_DFF_P_" || type == "$_DFF_N_") {
          netlist_flipflop_t ff{"", connection(cell, name, "D"), connection(cell, name, "Q")};
          drive(ff.state, "flip-flop " + name);
          ff.name = netlist.net_names.count(ff.state) ? netlist.net_names[ff.state] : name;
          netlist.clocks.insert(connection(cell, name, "C"));
          netlist.flipflops.push_back(ff);
        } else {
          error(string_C("the synthesis left cell " + name + " of type " + type +
                         ", which has no gate in a circuit (latches and memories are not supported)"));
        }
      }
    }
  } catch (const json::exception& e) {
    unreadable(e.what());
  }
  return netlist;
}
