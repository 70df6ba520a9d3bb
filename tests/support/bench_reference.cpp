#include "support/bench_reference.h"

#include <regex>
#include <stdexcept>

#include "support/run_quarn.h"

published_figures_t published_figures(const std::string& circuit) {
  const std::string table = read_file(std::string(QUARN_TEST_CIRCUITS) + "/reference.md");
  const std::regex row("\\| " + circuit +
                       " \\| ([0-9]+) \\| ([0-9]+) \\| ([0-9]+) \\| ([0-9]+) \\| ([0-9]+) \\|");
  std::smatch m;
  if (!std::regex_search(table, m, row)) throw std::runtime_error("no published figures for " + circuit);
  return {std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5])};
}
