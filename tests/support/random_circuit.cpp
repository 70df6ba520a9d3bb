#include "support/random_circuit.h"

#include <random>
#include <sstream>
#include <vector>

std::string random_circuit(unsigned seed, int inputs, int gates) {
  std::mt19937 rng(seed);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  std::vector<std::string> signals;
  std::vector<int> readers;
  for (int i = 0; i < inputs; i++) {
    signals.push_back("i" + std::to_string(i));
    readers.push_back(0);
  }
  std::ostringstream declarations, instances;
  for (int g = 0; g < gates; g++) {
    static const char* kinds[] = {"And", "Or", "Nand", "Nor", "Exor", "Inverter", "Driver"};
    std::string kind = kinds[pick(7)];
    int n = kind == "Exor" ? 2 : (kind == "Inverter" || kind == "Driver") ? 1 : 1 + pick(4);
    std::string keyword =
        (kind == "Exor" || kind == "Inverter" || kind == "Driver") ? kind : kind + "_" + std::to_string(n);
    std::string out = "s" + std::to_string(g);
    declarations << "  g" << g << " : " << keyword << " ;\n";
    instances << "  g" << g << " ( ";
    for (int k = 0; k < n; k++) {
      // Mostly recent signals, so that the circuit gets deep; sometimes any.
      int size = static_cast<int>(signals.size());
      int s = pick(3) == 0 ? pick(size) : std::max(0, size - 1 - pick(std::min(size, 6)));
      readers[s]++;
      instances << (k ? ", " : "") << signals[s];
    }
    instances << " ; " << out << " ) ;\n";
    signals.push_back(out);
    readers.push_back(0);
  }
  std::vector<std::string> outputs;
  for (size_t s = 0; s < signals.size(); s++) {
    // Every signal nobody reads is observed, and a few read ones as well.
    if (readers[s] == 0 || pick(8) == 0) outputs.push_back(signals[s]);
  }
  auto join = [](const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); i++) text += (i ? ", " : "") + names[i];
    return text;
  };
  std::vector<std::string> primary_inputs(signals.begin(), signals.begin() + inputs);
  std::ostringstream text;
  text << "Circuit random ;\nNode " << join(signals) << " : bit ;\nCon ( delay : 1 )\n"
       << declarations.str() << "Input " << join(primary_inputs) << " ;\nOutput " << join(outputs)
       << " ;\nStrobe STROBEALL : " << join(outputs) << " ;\nbegin\n"
       << instances.str() << "end.\n";
  return text.str();
}
