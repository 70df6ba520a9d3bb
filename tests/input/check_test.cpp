// The structural check: each finding ends the run with its message and the
// name of the record.
#include "input/check.h"

#include <gtest/gtest.h>

#include <string>

#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/child.h"
#include "support/circuit_text.h"

namespace {

// Loads the circuit and runs the check in a child process, which must end
// with exactly this finding.
void expect_finding(const circuit_parts_t& parts, bool transform, const std::string& finding) {
  child_result_t run = run_in_child([&] {
    load_circuit(circuit_text(parts), transform);
    proof();
  });
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.output.find("\nERROR!!!\n" + finding + "\n"), std::string::npos) << run.output;
}

TEST(Check, WellFormedCircuitPassesSilently) {
  child_result_t run = run_in_child([] {
    load_circuit(circuit_text({.nodes = "a, b, s, c",
                               .gates = {"g1 : Exor", "g2 : And_2"},
                               .inputs = "a, b",
                               .outputs = "s, c",
                               .instances = {"g1 ( a, b ; s )", "g2 ( a, b ; c )"}}));
    proof();
  });
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
}

TEST(Check, DeclaredGateThatNoInstanceConnects) {
  expect_finding({.nodes = "a, y",
                  .gates = {"g : Inverter", "lonely : Or_2"},
                  .inputs = "a",
                  .outputs = "y",
                  .instances = {"g ( a ; y )"}},
                 true, "proof: too less outputs at:  lonely");
}

TEST(Check, SignalWithoutDriverThatIsNoInput) {
  expect_finding({.nodes = "a, floating, y",
                  .gates = {"g : Nor_2"},
                  .inputs = "a",
                  .outputs = "y",
                  .instances = {"g ( a, floating ; y )"}},
                 true, "proof: line without sender must be input:  floating");
}

TEST(Check, SignalDrivenByTwoGates) {
  expect_finding({.nodes = "a, b, y",
                  .gates = {"g1, g2 : Inverter"},
                  .inputs = "a, b",
                  .outputs = "y",
                  .instances = {"g1 ( a ; y )", "g2 ( b ; y )"}},
                 true, "proof: too many sender of:  y");
}

TEST(Check, GateInstancedTwice) {
  expect_finding({.nodes = "a, b, x, y",
                  .gates = {"g : Inverter"},
                  .inputs = "a, b",
                  .outputs = "x, y",
                  .instances = {"g ( a ; x )", "g ( b ; y )"}},
                 true, "proof: too many outputs at:  g");
}

// The transformation deletes dangling logic before the check runs; records
// that stay must not keep pointers to deleted ones, and what is left of the
// malformed part must still be reported.
TEST(Check, GateInstancedTwiceWithADanglingOutput) {
  expect_finding({.nodes = "a, b, x, y",
                  .gates = {"g : Inverter"},
                  .inputs = "a, b",
                  .outputs = "y",
                  .instances = {"g ( a ; x )", "g ( b ; y )"}},
                 true, "proof: line without sender must be input:  y");
}

TEST(Check, DanglingSignalDrivenByTwoGates) {
  expect_finding({.nodes = "a, b, d, c, y",
                  .gates = {"g1, g2 : Inverter", "keep : Driver"},
                  .inputs = "a, b, c",
                  .outputs = "y",
                  .instances = {"g1 ( a ; d )", "g2 ( b ; d )", "keep ( c ; y )"}},
                 true, "proof: too less outputs at:  g2");
}

// Before the transformation a signal may still fan out or dangle; the check
// names the first such signal in list order.
TEST(Check, UntransformedFanoutAndDanglingSignals) {
  expect_finding({.nodes = "a, x, y",
                  .gates = {"g : Inverter", "h : Driver"},
                  .inputs = "a",
                  .outputs = "x, y",
                  .instances = {"g ( a ; x )", "h ( a ; y )"}},
                 false, "proof: too many output at:  a");
  expect_finding({.nodes = "a, y, d",
                  .gates = {"g : Inverter", "h : Driver"},
                  .inputs = "a",
                  .outputs = "y",
                  .instances = {"g ( a ; y )", "h ( y ; d )"}},
                 false, "proof: not connected line must be output:  d");
}

TEST(Check, SignalsAreCheckedBeforeGates) {
  expect_finding({.nodes = "a, floating, y",
                  .gates = {"lonely : Inverter", "g : Nor_2"},
                  .inputs = "a",
                  .outputs = "y",
                  .instances = {"g ( a, floating ; y )"}},
                 true, "proof: line without sender must be input:  floating");
}

TEST(Check, GateWithoutInputs) {
  // The reader always connects inputs first; such a gate can only be made
  // by hand.
  child_result_t run = run_in_child([] {
    load_circuit(circuit_text({.nodes = "a, y",
                               .gates = {"g : Inverter"},
                               .inputs = "a",
                               .outputs = "y",
                               .instances = {"g ( a ; y )"}}));
    line_C* z = new line_C("z", 1);
    lines_C.fuege_ein(z);
    z->primary_output_b = 1;
    output_lines_C.fuege_ein(z);
    gate_C* source = new gate_C(string_C("source"));
    gates_C.fuege_ein(source);
    source->belege_gate(DRIVER_GATE, 0, 1);
    line_liste_C outputs(1);
    outputs.verbinde(z, 1);
    source->connect_output(outputs);
    proof();
  });
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.output.find("\nERROR!!!\nproof: too less inputs at:  source\n"), std::string::npos)
      << run.output;
}

}  // namespace
