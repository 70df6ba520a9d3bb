// The example circuits shipped with the program: each one goes through the
// built program up to the circuit check, and has the fanout structure its
// description promises.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "app/run.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/circuit_text.h"
#include "support/paths.h"
#include "support/run_quarn.h"

namespace {

struct shape_t {
  int signals, gates, inputs, outputs, fanout_gates, fanout_branches;
};

TEST(Examples, EveryExampleRunsCleanlyAndHasTheDescribedStructure) {
  // Fanout stems per circuit: halfadd a, b; fulladd a, b, p, cin; adder4 the
  // same four in every bit; redundant a, b, c; sequential en, q0..q2, c1,
  // c2; reconv a, b, m; bridge a, b, c. Every stem feeds exactly two gates.
  const std::map<std::string, shape_t> shipped = {
      {"halfadd", {4, 2, 2, 2, 2, 4}},      {"fulladd", {8, 5, 3, 2, 4, 8}},
      {"adder4", {29, 20, 9, 5, 16, 32}},   {"redundant", {8, 5, 3, 1, 3, 6}},
      {"sequential", {10, 9, 1, 1, 6, 12}}, {"reconv", {6, 4, 2, 1, 3, 6}},
      {"bridge", {7, 4, 3, 3, 3, 6}}};
  std::set<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(example_circuit(""))) {
    if (entry.path().extension() != ".cir") continue;
    const std::string stem = entry.path().stem().string();
    SCOPED_TRACE(stem);
    found.insert(stem);
    // Run on a copy: the program writes its files next to the circuit.
    write_file(stem + ".cir", read_file(entry.path().string()));
    const quarn_run_t run = run_quarn({stem + ".cir", "10", "STUCK_AT"});
    EXPECT_EQ(run.exit_status, 0) << run.output;
    EXPECT_NE(run.output.find("Read Circuit   Name = " + stem + ".cir\nTransform Circuit\nCheck_Circuit\n"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos);
    EXPECT_EQ(run.output.find("WARNING"), std::string::npos);
    if (!shipped.count(stem)) continue;
    const shape_t& e = shipped.at(stem);
    const circuit_C& circuit = load_circuit(read_file(entry.path().string()), true, stem + ".cir").circuit;
    const statistic_t& statistic_u = circuit.statistic_u;
    EXPECT_EQ(statistic_u.no_signals_i, e.signals);
    EXPECT_EQ(statistic_u.no_gates_i, e.gates);
    EXPECT_EQ(statistic_u.no_fanout_gates_i, e.fanout_gates);
    EXPECT_EQ(statistic_u.no_fanout_branches_i, e.fanout_branches);
    EXPECT_EQ(circuit.lines_C.anzahl_i, e.signals + e.fanout_branches);
    const int flipflops = statistic_u.no_flipflop_i;
    EXPECT_EQ(circuit.gates_C.anzahl_i, e.gates - flipflops + e.fanout_gates);
    EXPECT_EQ(circuit.input_lines_C.anzahl_i, e.inputs + flipflops);
    EXPECT_EQ(circuit.output_lines_C.anzahl_i, e.outputs + flipflops);
  }
  for (const auto& [name, shape] : shipped) EXPECT_TRUE(found.count(name)) << name;
}

TEST(Examples, CounterIsCutAtItsFlipFlopsAndTheRedundantTermReadsTwoBranches) {
  const circuit_C& counter =
      load_circuit(read_file(example_circuit("sequential.cir")), true, "sequential.cir").circuit;
  EXPECT_EQ(counter.statistic_u.no_flipflop_i, 3);
  EXPECT_EQ(names_of(counter.input_lines_C), (std::vector<std::string>{"en", "q0", "q1", "q2"}));
  EXPECT_EQ(names_of(counter.output_lines_C), (std::vector<std::string>{"wrap", "d0", "d1", "d2"}));
  load_circuit(read_file(example_circuit("redundant.cir")), true, "redundant.cir");
  gate_C* consensus = gate_named("and3");
  ASSERT_NE(consensus, nullptr);
  EXPECT_EQ(names_of(consensus->inputs_C), (std::vector<std::string>{"b->t3__2", "c->t3__2"}));
  EXPECT_EQ(names_of(signal_named("t3")->nachfolger_C), (std::vector<std::string>{"or1"}));
}

}  // namespace
