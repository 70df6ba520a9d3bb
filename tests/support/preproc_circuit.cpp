#include "support/preproc_circuit.h"

#include <cstring>
#include <stdexcept>

#include "app/run.h"
#include "app/statistic.h"
#include "input/check.h"
#include "input/name_index.h"
#include "input/parser.h"
#include "input/transform.h"
#include "support/run_quarn.h"

std::string cir_text(const std::string& nodes, const std::string& declarations, const std::string& inputs,
                     const std::string& outputs, const std::string& instances) {
  return "Circuit test ;\nNode " + nodes + " : bit ;\nCon ( delay : 1 )\n" + declarations + "Input " +
         inputs + " ;\nOutput " + outputs + " ;\nStrobe STROBEALL : " + outputs + " ;\nbegin\n" + instances +
         "end.\n";
}

void read_checked_circuit(const std::string& stem, const std::string& text) {
  std::string file = stem + ".cir";
  write_file(file, text);
  std::strcpy(schaltungsname_s, file.c_str());
  statistic_u = statistic_t{};
  read_circuit();
  transform_circuit();
  listen_init();
  proof();
}

line_C* line_named(const std::string& name) {
  line_C* l = search(name.c_str(), quarn_line_tree_root_p);
  if (l == nullptr) throw std::runtime_error("no signal " + name);
  return l;
}

gate_C* gate_named(const std::string& name) {
  gate_C* g = search(name.c_str(), quarn_gate_tree_root_p);
  if (g == nullptr) throw std::runtime_error("no gate " + name);
  return g;
}
