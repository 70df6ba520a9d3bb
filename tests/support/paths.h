// Where the tests find the bundled examples and the benchmark circuits kept
// with them.
#pragma once

#include <string>

inline std::string example_circuit(const std::string& name) {
  return std::string(QUARN_EXAMPLES) + "/" + name;
}
inline std::string bench_circuit(const std::string& name) {
  return std::string(QUARN_TEST_CIRCUITS) + "/" + name + ".cir";
}
