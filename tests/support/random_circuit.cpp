#include "support/random_circuit.h"

#include <algorithm>
#include <random>
#include <vector>

#include "support/circuit_text.h"

std::string random_circuit(unsigned seed, int inputs, int gates) {
  std::mt19937 rng(seed);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  std::vector<std::string> signals;
  for (int i = 0; i < inputs; i++) signals.push_back("i" + std::to_string(i));
  std::vector<int> readers(signals.size(), 0);
  std::string declarations, instances;
  for (int g = 0; g < gates; g++) {
    static const char* kinds[] = {"And", "Or", "Nand", "Nor", "Exor", "Inverter", "Driver"};
    const int kind = pick(7);  // the first four take 1 to 4 inputs
    const int n = kind == 4 ? 2 : kind > 4 ? 1 : 1 + pick(4);
    const std::string gate = "g" + std::to_string(g);
    declarations += gate + " : " + kinds[kind] + (kind < 4 ? "_" + std::to_string(n) : "") + " ;\n";
    instances += gate + " ( ";
    for (int k = 0; k < n; k++) {
      // Mostly recent signals, so that the circuit gets deep; sometimes any.
      const int size = static_cast<int>(signals.size());
      const int s = pick(3) == 0 ? pick(size) : std::max(0, size - 1 - pick(std::min(size, 6)));
      readers[static_cast<size_t>(s)]++;
      instances += (k ? ", " : "") + signals[static_cast<size_t>(s)];
    }
    signals.push_back("s" + std::to_string(g));
    readers.push_back(0);
    instances += " ; " + signals.back() + " ) ;\n";
  }
  std::string nodes, primary_inputs, outputs;
  for (size_t s = 0; s < signals.size(); s++) {
    nodes += (s ? ", " : "") + signals[s];
    if (s < static_cast<size_t>(inputs)) primary_inputs += (s ? ", " : "") + signals[s];
    // Every signal nobody reads is observed, and a few read ones as well.
    if (readers[s] == 0 || pick(8) == 0) outputs += (outputs.empty() ? "" : ", ") + signals[s];
  }
  return cir_text(nodes, declarations, primary_inputs, outputs, instances);
}
