// Where the tests find the program, the bundled examples and the shared
// benchmark circuits.
#pragma once

#include <string>

inline std::string quarn_binary() {
  return QUARN_BINARY;
}
inline std::string example_circuit(const std::string& name) {
  return std::string(QUARN_EXAMPLES) + "/" + name;
}
// The published figures of the benchmark circuits.
inline std::string bench_reference_table() {
  return std::string(QUARN_BENCH) + "/reference.md";
}
inline std::string bench_circuit(const std::string& suite, const std::string& name) {
  return std::string(QUARN_BENCH) + "/" + suite + "/" + name + ".cir";
}
