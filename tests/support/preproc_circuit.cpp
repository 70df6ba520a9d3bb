#include "support/preproc_circuit.h"

#include <stdexcept>

#include "app/run.h"
#include "input/check.h"

std::string cir_text(const std::string& nodes, const std::string& declarations, const std::string& inputs,
                     const std::string& outputs, const std::string& instances) {
  return "Circuit test ;\nNode " + nodes + " : bit ;\nCon ( delay : 1 )\n" + declarations + "Input " +
         inputs + " ;\nOutput " + outputs + " ;\nStrobe STROBEALL : " + outputs + " ;\nbegin\n" + instances +
         "end.\n";
}

void read_checked_circuit(const std::string& stem, const std::string& text) {
  load_circuit(text, true, stem + ".cir");
  listen_init();
  proof();
}

line_C* line_named(const std::string& name) {
  line_C* l = signal_named(name);
  if (l == nullptr) throw std::runtime_error("no signal " + name);
  return l;
}
