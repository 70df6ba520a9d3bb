#include "flow/verilog_module.h"

#include <map>
#include <vector>

#include "base/messages.h"
#include "flow/verilog_names.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// A fanout branch carries its stem's value: the module names the stem only.
const line_C* source_of(const line_C* line) {
  while (line->vorgaenger_C.anzahl_i > 0 && line->vorgaenger_C[0]->gate_type_c == FANOUT_GATE) {
    line = line->vorgaenger_C[0]->inputs_C[0];
  }
  return line;
}

const char* primitive_of(const gate_C* gate) {
  switch (gate->gate_type_c) {
    case AND_GATE:
      return "and";
    case OR_GATE:
      return "or";
    case NAND_GATE:
      return "nand";
    case NOR_GATE:
      return "nor";
    case EXOR_GATE:
      return "xor";
    case INVERTER_GATE:
      return "not";
    case DRIVER_GATE:
      return "buf";
    default:
      error(string_C("gate " + gate->name_s + " has a type with no Verilog primitive"));
  }
}

// One line of text for a comment.
std::string comment_text(const std::string& text) {
  std::string clean;
  for (unsigned char c : text) clean += c >= 32 && c <= 126 ? static_cast<char>(c) : '?';
  return clean;
}

}  // namespace

void write_verilog_module(std::ostream& out, const circuit_C& circuit, const std::string& module_name) {
  const line_liste_C& inputs = circuit.input_lines_C;
  const line_liste_C& outputs = circuit.output_lines_C;
  if (inputs.anzahl_i == 0 || outputs.anzahl_i == 0) {
    error(string_C("the circuit needs at least one input and one output for a Verilog module"));
  }
  verilog_namer_t namer;
  const std::string module_id = namer.unique(module_name);
  verilog_namer_t signals;
  std::map<const line_C*, std::string> id_of;
  std::vector<std::string> input_ports, output_ports;
  for (int i = 0; i < inputs.anzahl_i; i++) {
    const line_C* line = inputs[i];
    if (id_of.count(line) != 0) error(string_C("the circuit names the input " + line->name_s + " twice"));
    id_of[line] = signals.unique(line->name_s);
    input_ports.push_back(id_of[line]);
  }
  // An output that is a fanout branch, an input or an output already listed
  // gets a port of its own behind a buffer.
  std::vector<std::pair<std::string, const line_C*>> buffered;
  for (int i = 0; i < outputs.anzahl_i; i++) {
    const line_C* line = outputs[i];
    if (source_of(line) == line && id_of.count(line) == 0) {
      id_of[line] = signals.unique(line->name_s);
      output_ports.push_back(id_of[line]);
    } else {
      output_ports.push_back(signals.unique(line->name_s));
      buffered.emplace_back(output_ports.back(), source_of(line));
    }
  }
  std::vector<std::string> wires;
  for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
    const line_C* line = circuit.lines_C[i];
    if (source_of(line) != line || id_of.count(line) != 0) continue;
    id_of[line] = signals.unique(line->name_s);
    wires.push_back(id_of[line]);
  }
  auto id = [&](const line_C* line) { return id_of.at(source_of(line)); };

  out << "// Combinational part of circuit " << comment_text(module_name)
      << " (flip-flops cut into ports), written by quarn-testbench.\n";
  out << "module " << module_id << " (";
  const char* separator = "\n  input ";
  for (const std::string& port : input_ports) {
    out << separator << port;
    separator = ",\n  input ";
  }
  separator = ",\n  output ";
  for (const std::string& port : output_ports) {
    out << separator << port;
  }
  out << "\n);\n";
  for (const std::string& wire : wires) out << "  wire " << wire << ";\n";
  for (int i = 0; i < circuit.gates_C.anzahl_i; i++) {
    const gate_C* gate = circuit.gates_C[i];
    if (gate->gate_type_c == FANOUT_GATE) continue;
    if (gate->outputs_C.anzahl_i != 1 || gate->inputs_C.anzahl_i == 0) {
      error(string_C("gate " + gate->name_s + " needs one output and at least one input"));
    }
    out << "  " << primitive_of(gate) << " (" << id(gate->output());
    for (int k = 0; k < gate->inputs_C.anzahl_i; k++) out << ", " << id(gate->inputs_C[k]);
    out << ");\n";
  }
  for (const auto& [port, source] : buffered) out << "  buf (" << port << ", " << id(source) << ");\n";
  out << "endmodule\n";
}
