#include "support/circuit_text.h"

#include <memory>
#include <stdexcept>

#include "app/run.h"
#include "input/check.h"
#include "input/parser.h"
#include "input/transform.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/run_quarn.h"

namespace {

std::unique_ptr<run_C>& the_run() {
  static std::unique_ptr<run_C> run;
  return run;
}

}  // namespace

std::string cir_text(const std::string& nodes, const std::string& declarations, const std::string& inputs,
                     const std::string& outputs, const std::string& instances) {
  return "Circuit test ;\nNode " + nodes + " : bit ;\nCon ( delay : 1 )\n" + declarations + "Input " +
         inputs + " ;\nOutput " + outputs + " ;\nStrobe STROBEALL : " + outputs + " ;\nbegin\n" + instances +
         "end.\n";
}

std::string circuit_text(const circuit_parts_t& parts) {
  std::string declarations, instances;
  for (const std::string& g : parts.gates) declarations += "  " + g + " ;\n";
  for (const std::string& i : parts.instances) instances += "  " + i + " ;\n";
  const std::string text = cir_text(parts.nodes, declarations, parts.inputs, parts.outputs, instances);
  return "Circuit " + parts.name + text.substr(text.find(" ;\n"));
}

std::string inverter_chain(int n, bool observed) {
  std::string nodes = "s0", declarations, instances;
  for (int k = 1; k <= n; k++) {
    const std::string s = std::to_string(k);
    nodes += (k % 16 ? ", s" : ",\n  s") + s;
    declarations += "i" + s + " : Inverter ;\n";
    instances += "i" + s + " ( s" + std::to_string(k - 1) + " ; s" + s + " ) ;\n";
  }
  if (observed) return cir_text(nodes, declarations, "s0", "s" + std::to_string(n), instances);
  return cir_text(nodes + ", other, y", declarations + "buf : Driver ;\n", "s0, other", "y",
                  instances + "buf ( other ; y ) ;\n");
}

run_C& fresh_run() {
  the_run() = std::make_unique<run_C>();
  return *the_run();
}

run_C& current_run() {
  if (!the_run()) return fresh_run();
  return *the_run();
}

run_C& load_circuit(const std::string& text, bool transform, const std::string& file_name) {
  run_C& run = fresh_run();
  write_file(file_name, text);
  run.settings.schaltungsname_s = file_name;
  read_circuit(run.circuit, run.settings);
  if (transform) transform_circuit(run.circuit);
  return run;
}

run_C& read_checked_circuit(const std::string& stem, const std::string& text) {
  run_C& run = load_circuit(text, true, stem + ".cir");
  run.listen_init();
  proof(run.circuit);
  return run;
}

line_C* signal_named(const std::string& name) {
  return current_run().circuit.search_line(name);
}

gate_C* gate_named(const std::string& name) {
  return current_run().circuit.search_gate(name);
}

line_C* line_named(const std::string& name) {
  line_C* l = signal_named(name);
  if (l == nullptr) throw std::runtime_error("no signal " + name);
  return l;
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
