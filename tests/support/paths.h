// Where the tests find the bundled examples and the shared
// benchmark circuits.
#pragma once

#include <string>

inline std::string example_circuit(const std::string& name) {
  return std::string(QUARN_EXAMPLES) + "/" + name;
}
inline std::string bench_circuit(const std::string& suite, const std::string& name) {
  return std::string(QUARN_BENCH) + "/" + suite + "/" + name + ".cir";
}
