#include "support/circuit_text.h"

#include <cstring>

#include "app/run.h"
#include "app/statistic.h"
#include "input/name_index.h"
#include "input/parser.h"
#include "input/transform.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/run_quarn.h"

std::string circuit_text(const circuit_parts_t& parts) {
  std::string text = "Circuit " + parts.name + " ;\n";
  text += "Node " + parts.nodes + " : bit ;\n";
  text += "Con ( delay : 1 )\n";
  for (const std::string& g : parts.gates) text += "  " + g + " ;\n";
  text += "Input " + parts.inputs + " ;\n";
  text += "Output " + parts.outputs + " ;\n";
  text += "Strobe STROBEALL : " + parts.outputs + " ;\n";
  text += "begin\n";
  for (const std::string& i : parts.instances) text += "  " + i + " ;\n";
  text += "end.\n";
  return text;
}

void load_circuit(const std::string& text, bool transform, const std::string& file_name) {
  release_circuit();
  write_file(file_name, text);
  std::strcpy(schaltungsname_s, file_name.c_str());
  statistic_u = statistic_t{};
  read_circuit();
  if (transform) transform_circuit();
}

line_C* signal_named(const std::string& name) {
  return search(name.c_str(), quarn_line_tree_root_p);
}

gate_C* gate_named(const std::string& name) {
  return search(name.c_str(), quarn_gate_tree_root_p);
}

namespace {

template <class L>
std::vector<std::string> names(const L& list) {
  std::vector<std::string> result;
  for (int i = 0; i < list.anzahl_i; i++) result.push_back(list[i]->name_s);
  return result;
}

}  // namespace

std::vector<std::string> names_of(const line_liste_C& list) {
  return names(list);
}

std::vector<std::string> names_of(const gate_liste_C& list) {
  return names(list);
}
