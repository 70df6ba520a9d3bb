// Reading circuit files: what each statement creates, the grammar's limits
// and every way the reader ends the run.
#include "input/parser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/run.h"
#include "app/statistic.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/capture_output.h"
#include "support/child.h"
#include "support/circuit_text.h"
#include "support/run_quarn.h"

namespace {

using names_t = std::vector<std::string>;

const circuit_parts_t half_adder = {
    .name = "halfadd",
    .nodes = "a, b, s, c",
    .gates = {"g1 : Exor", "g2 : And_2"},
    .inputs = "a, b",
    .outputs = "s, c",
    .instances = {"g1 ( a, b ; s )", "g2 ( a, b ; c )"},
};

// Reads the text in a child process, which must end through error with the
// message, right after `printed` on standard output.
void expect_read_fails(const std::string& text, const std::string& printed, const std::string& message,
                       const std::string& file_name = "circuit.cir") {
  child_result_t run = run_in_child([&] { load_circuit(text, false, file_name); });
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.output.find(printed + "\nERROR!!!\n" + message + "\n"), std::string::npos) << run.output;
}

void expect_parse_error(const std::string& text, int line, int column) {
  expect_read_fails(text, "\nLine: " + std::to_string(line) + ", Column: " + std::to_string(column),
                    "parse error");
}

// ------------------------------------------------------------ what is built

TEST(ReadCircuit, HalfAdderCountsItsGatesSignalsAndPorts) {
  output_capture_C out;
  load_circuit(circuit_text(half_adder), false, "halfadd.cir");
  EXPECT_EQ(out.text(), "Read Circuit   Name = halfadd.cir\n");
  const statistic_t& s = statistic_u;
  EXPECT_EQ(s.no_gates_i, 2);
  EXPECT_EQ(s.no_exor_i, 1);
  EXPECT_EQ(s.no_and_i, 1);
  EXPECT_EQ(s.no_or_i + s.no_nand_i + s.no_nor_i + s.no_driver_i + s.no_inverter_i + s.no_flipflop_i +
                s.no_blocks_i,
            0);
  EXPECT_EQ(s.no_signals_i, 4);
  EXPECT_EQ(s.no_primary_inputs_i, 2);
  EXPECT_EQ(s.no_primary_outputs_i, 2);
  EXPECT_EQ(s.no_fanout_gates_i + s.no_fanout_branches_i, 0);

  EXPECT_EQ(names_of(lines_C), (names_t{"a", "b", "s", "c"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"g1", "g2"}));
  EXPECT_EQ(names_of(input_lines_C), (names_t{"a", "b"}));
  EXPECT_EQ(names_of(output_lines_C), (names_t{"s", "c"}));
  EXPECT_TRUE(signal_named("a")->primary_input_b);
  EXPECT_FALSE(signal_named("a")->primary_output_b);
  EXPECT_TRUE(signal_named("c")->primary_output_b);
  EXPECT_STREQ(schaltungsname_s, "halfadd");
}

TEST(ReadCircuit, InstancesConnectSignalsInTheirWrittenOrder) {
  load_circuit(circuit_text({.nodes = "a, b, x, y",
                             .gates = {"g : Nand_2", "h : Inverter"},
                             .inputs = "a, b",
                             .outputs = "y",
                             .instances = {"g ( b, a ; x )", "h ( x ; y )"}}),
               false);
  gate_C* g = gate_named("g");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->gate_type_c, NAND_GATE);
  EXPECT_EQ(names_of(g->inputs_C), (names_t{"b", "a"}));
  EXPECT_EQ(names_of(g->outputs_C), (names_t{"x"}));
  line_C* x = signal_named("x");
  EXPECT_EQ(names_of(x->vorgaenger_C), (names_t{"g"}));
  EXPECT_EQ(names_of(x->nachfolger_C), (names_t{"h"}));
  EXPECT_EQ(names_of(signal_named("a")->nachfolger_C), (names_t{"g"}));
  EXPECT_EQ(signal_named("a")->vorgaenger_C.anzahl_i, 0);
  // Read once each, and not an output: no fanout yet.
  EXPECT_FALSE(signal_named("a")->fanout_b);
  EXPECT_FALSE(x->fanout_b);
}

TEST(ReadCircuit, GateNamedByTwoInstancesKeepsEveryConnection) {
  // Not an error for the reader; the circuit check reports the gate.
  load_circuit(circuit_text({.nodes = "a, b, x, y",
                             .gates = {"g : Inverter"},
                             .inputs = "a, b",
                             .outputs = "x, y",
                             .instances = {"g ( a ; x )", "g ( b ; y )"}}),
               false);
  gate_C* g = gate_named("g");
  EXPECT_EQ(names_of(g->inputs_C), (names_t{"a", "b"}));
  EXPECT_EQ(names_of(g->outputs_C), (names_t{"x", "y"}));
  EXPECT_EQ(g->no_inputs_i, 1);
  EXPECT_EQ(signal_named("y")->vorgaenger_C[0], g);
}

TEST(ReadCircuit, FanoutIsMarkedForSeveralReadersAndForOutputsThatAreRead) {
  load_circuit(circuit_text({.nodes = "a, b, x, y",
                             .gates = {"g : And_2", "h : Inverter"},
                             .inputs = "a, b",
                             .outputs = "x, y",
                             .instances = {"g ( a, a ; x )", "h ( x ; y )"}}),
               false);
  EXPECT_TRUE(signal_named("a")->fanout_b);  // read twice by one gate
  EXPECT_EQ(signal_named("a")->nachfolger_C.anzahl_i, 2);
  EXPECT_TRUE(signal_named("x")->fanout_b);  // a primary output that is read
  EXPECT_FALSE(signal_named("b")->fanout_b);
}

TEST(ReadCircuit, GateKeywordsGiveTypeInputCountAndStatisticsCounter) {
  std::string inputs;
  for (int i = 1; i <= 12; i++) inputs += (i > 1 ? ", i" : "i") + std::to_string(i);
  load_circuit(circuit_text({.nodes = inputs + ", y",
                             .gates = {"g12 : And_12", "g10 : and_10", "g9 : Nor_9", "d1 : And_1",
                                       "d2 : Or_1", "n1 : Nand_1", "n2 : nor_1", "x : Exor", "b3 : Block_3",
                                       "t2 : tnet_2", "buf : Driver", "inv : inverter", "ff : Dflipflop"},
                             .inputs = inputs,
                             .outputs = "y",
                             .instances = {"g12 ( " + inputs + " ; y )"}}),
               false);
  struct expected_t {
    const char* gate;
    char type;
    int inputs;
  };
  for (const expected_t& e : std::vector<expected_t>{{"g12", AND_GATE, 12},
                                                     {"g10", AND_GATE, 10},
                                                     {"g9", NOR_GATE, 9},
                                                     {"d1", DRIVER_GATE, 1},
                                                     {"d2", DRIVER_GATE, 1},
                                                     {"n1", INVERTER_GATE, 1},
                                                     {"n2", INVERTER_GATE, 1},
                                                     {"x", EXOR_GATE, 2},
                                                     {"b3", BLOCK_GATE, 3},
                                                     {"t2", BLOCK_GATE, 2},
                                                     {"buf", DRIVER_GATE, 1},
                                                     {"inv", INVERTER_GATE, 1},
                                                     {"ff", FLIPFLOP_GATE, 1}}) {
    gate_C* g = gate_named(e.gate);
    ASSERT_NE(g, nullptr) << e.gate;
    EXPECT_EQ(g->gate_type_c, e.type) << e.gate;
    EXPECT_EQ(g->no_inputs_i, e.inputs) << e.gate;
    EXPECT_EQ(g->no_outputs_i, 1) << e.gate;
  }
  EXPECT_EQ(gate_named("g12")->inputs_C.anzahl_i, 12);
  // A declared gate that no instance names stays unconnected.
  EXPECT_EQ(gate_named("g10")->inputs_C.anzahl_i, 0);
  EXPECT_EQ(gate_named("g10")->outputs_C.anzahl_i, 0);
  // Counted by the keyword written, not by the type stored.
  const statistic_t& s = statistic_u;
  EXPECT_EQ(s.no_gates_i, 13);
  EXPECT_EQ(s.no_and_i, 3);
  EXPECT_EQ(s.no_or_i, 1);
  EXPECT_EQ(s.no_nor_i, 2);
  EXPECT_EQ(s.no_nand_i, 1);
  EXPECT_EQ(s.no_exor_i, 1);
  EXPECT_EQ(s.no_blocks_i, 2);
  EXPECT_EQ(s.no_driver_i, 1);
  EXPECT_EQ(s.no_inverter_i, 1);
  EXPECT_EQ(s.no_flipflop_i, 1);
}

TEST(ReadCircuit, NamesThatOnlyLookLikeKeywordsAreOrdinaryNames) {
  const std::string nodes = "And_0, And_, Exor_2, end.x, NODE, CIRCUIT, Input_1, y";
  load_circuit(circuit_text({.nodes = nodes,
                             .gates = {"And_0x : Exor", "BEGIN : Inverter"},
                             .inputs = "And_0, And_, Exor_2, end.x, NODE, CIRCUIT, Input_1",
                             .outputs = "y",
                             .instances = {"BEGIN ( Exor_2 ; y )"}}),
               false);
  EXPECT_EQ(names_of(lines_C),
            (names_t{"And_0", "And_", "Exor_2", "end.x", "NODE", "CIRCUIT", "Input_1", "y"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"And_0x", "BEGIN"}));
}

TEST(ReadCircuit, LowerCaseStatementKeywordsAreAccepted) {
  load_circuit(
      "circuit x ;\nnode a, y : bit ;\ncon ( delay : 1 )\n  g : inverter ;\ninput a ;\noutput y ;\n"
      "strobe STROBEALL : y ;\nbegin\n  g ( a ; y ) ;\nend.\n",
      false);
  EXPECT_EQ(names_of(lines_C), (names_t{"a", "y"}));
  EXPECT_EQ(gate_named("g")->gate_type_c, INVERTER_GATE);
}

TEST(ReadCircuit, CommentsTabsAndCarriageReturnsAreSkipped) {
  output_capture_C out;
  load_circuit(
      "{ half adder } with a second }\r\n"
      "Circuit h ;\t{ named } h }\r\n"
      "Node a,\tb, { c, } s, c : bit ;\r\n"
      "Con ( delay : 1 )\r\n  g1 : Exor ;\r\n  g2 : And_2 ;\r\n"
      "Input a, b ;\r\nOutput s, c ;\r\nStrobe STROBEALL : s, c ;\r\n"
      "begin { a } b }\r\n  g1 ( a, b ; s ) ;\r\n  g2 ( a, b ; c ) ;\r\nend.\r\n{ trailing comment }\r\n\t\n",
      false);
  EXPECT_EQ(names_of(lines_C), (names_t{"a", "b", "s", "c"}));
  EXPECT_EQ(names_of(gate_named("g2")->inputs_C), (names_t{"a", "b"}));
  // Only the stray bytes reach standard output, in file order.
  EXPECT_EQ(out.text(), "Read Circuit   Name = circuit.cir\n\r\t\r\t\r" + std::string(11, '\r') + "\t");
}

TEST(ReadCircuit, UnclosedBraceIsEchoedAndTheRestOfTheLineIsRead) {
  output_capture_C out;
  load_circuit(circuit_text({.nodes = "{ a, b, y",
                             .gates = {"g : And_2"},
                             .inputs = "a, b",
                             .outputs = "y",
                             .instances = {"g ( a, b ; y )"}}),
               false);
  EXPECT_EQ(names_of(lines_C), (names_t{"a", "b", "y"}));
  EXPECT_EQ(out.text(), "Read Circuit   Name = circuit.cir\n{");
}

TEST(ReadCircuit, StrobeNamesAreReadButNotUsed) {
  std::string text = circuit_text(half_adder);
  text.replace(text.find("Strobe STROBEALL : s, c"), 23, "Strobe STROBEALL : nowhere");
  load_circuit(text, false);
  EXPECT_EQ(signal_named("nowhere"), nullptr);
  EXPECT_EQ(lines_C.anzahl_i, 4);
}

TEST(ReadCircuit, ConHeadersMayFollowEachOtherAfterADeclaration) {
  load_circuit(
      "Circuit x ;\nNode a, b, y, z : bit ;\nCon ( delay : 1 )\n  g : And_2 ;\n"
      "Con ( delay : 2 )\nCon ( delay : 3 )\n  h : Inverter ;\nCon ( delay : 4 )\n"
      "Input a, b ;\nOutput z ;\nStrobe STROBEALL : z ;\nbegin\n  g ( a, b ; y ) ;\n  h ( y ; z ) ;\nend.\n",
      false);
  EXPECT_EQ(names_of(gates_C), (names_t{"g", "h"}));
  EXPECT_EQ(gate_named("h")->gate_type_c, INVERTER_GATE);
}

TEST(ReadCircuit, LongDelayFormStoresItsFourNumbers) {
  load_circuit(
      "Circuit x ;\nNode a, y : bit ;\nCon ( delay : rd = 3 ; fd = 4 ; rdt = 15 ; fdt = 16 )\n"
      "  g : Driver ;\nCon ( delay : 99 )\nInput a ;\nOutput y ;\nStrobe STROBEALL : y ;\nbegin\n"
      "  g ( a ; y ) ;\nend.\n",
      false);
  EXPECT_EQ(rd_i, 3);
  EXPECT_EQ(fd_i, 4);
  EXPECT_EQ(rdt_i, 15);
  EXPECT_EQ(fdt_i, 16);
}

TEST(ReadCircuit, CircuitStatementCutsTheCircuitNameToItsStem) {
  struct case_t {
    const char* file;
    const char* stem;
  };
  std::filesystem::create_directories("sub.d");
  std::filesystem::create_directories("x.v2");
  for (const case_t& c : std::vector<case_t>{{"bar.cir", "bar"},
                                             {"two.dots.cir", "two"},
                                             {"plain", "plain"},
                                             {"sub.d/bar.cir", "sub.d/bar"},
                                             {"./x.v2/c17.cir", "./x.v2/c17"}}) {
    // The name in the Circuit statement plays no part.
    std::string text = circuit_text({.name = "foo",
                                     .nodes = "a, y",
                                     .gates = {"g : Driver"},
                                     .inputs = "a",
                                     .outputs = "y",
                                     .instances = {"g ( a ; y )"}});
    load_circuit(text, false, c.file);
    EXPECT_STREQ(schaltungsname_s, c.stem) << c.file;
  }
}

// ------------------------------------------------------------- parse errors

TEST(ReadCircuitErrors, CapitalCircuitKeywordFailsAtTheFirstToken) {
  expect_parse_error("CIRCUIT x ;\n", 1, 8);
  expect_parse_error("Circuit x ;\nNODE a : bit ;\n", 2, 5);
}

TEST(ReadCircuitErrors, KeywordsCannotBeDeclaredAsSignals) {
  for (const std::string keyword : {"bit", "begin", "rd", "and_2", "Exor", "end."}) {
    expect_parse_error("Circuit x ;\nNode a, " + keyword + " : bit ;\n", 2, 9 + int(keyword.size()));
  }
}

TEST(ReadCircuitErrors, PositionIsAfterTheOffendingTokenCountingSpacesAndCommentsNotStrayBytes) {
  expect_parse_error("Circuit x ;\nNode a b : bit ;\n", 2, 9);
  expect_parse_error("Circuit x ;\nNode a\tb : bit ;\n", 2, 8);
  expect_parse_error("Circuit x ;\nNode a { xy } b : bit ;\n", 2, 16);
  expect_parse_error("Circuit x ;\n\n  Node a, b : bit ; Con ( delay : 1 ) g : Exor_2 ;\n", 3, 49);
}

TEST(ReadCircuitErrors, TwoConHeadersDirectlyAfterNode) {
  expect_parse_error(
      "Circuit x ;\nNode a, y : bit ;\nCon ( delay : 1 )\nCon ( delay : 1 )\n  g : Driver ;\n"
      "Input a ;\nOutput y ;\nStrobe STROBEALL : y ;\nbegin\n  g ( a ; y ) ;\nend.\n",
      4, 4);
}

TEST(ReadCircuitErrors, LongDelayFormMustKeepItsOrder) {
  expect_parse_error("Circuit x ;\nNode a : bit ;\nCon ( delay : fd = 4 ; rd = 3 ; rdt = 1 ; fdt = 1 )\n", 3,
                     17);
}

TEST(ReadCircuitErrors, MissingEndIsFoundAtTheEndOfTheFile) {
  std::string text = circuit_text(half_adder);
  text.erase(text.find("end.\n"));
  int lines = int(std::count(text.begin(), text.end(), '\n'));
  expect_parse_error(text, lines + 1, 1);
}

TEST(ReadCircuitErrors, OnlyCommentsAndStrayBytesMayFollowEnd) {
  expect_parse_error(circuit_text(half_adder) + "\t{ fine } x\n", 13, 11);
}

TEST(ReadCircuitErrors, InstanceNeedsInputsAndOutputs) {
  std::string text = circuit_text(half_adder);
  text.replace(text.find("g2 ( a, b ; c )"), 15, "g2 ( a, b )");
  expect_parse_error(text, 11, 14);
}

// ------------------------------------------------------ every other failure

TEST(ReadCircuitErrors, MissingFileIsReportedUnderTheWholeFileName) {
  child_result_t run = run_in_child([] {
    std::strcpy(schaltungsname_s, "missing.cir");
    read_circuit();
  });
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.output.find("Read Circuit   Name = missing.cir\n\nERROR!!!\nfile not found\n"), 0u)
      << run.output;
  EXPECT_EQ(read_file("missing.cir.stat"), "ERROR!!!\t\tfile not found\n");
  EXPECT_EQ(read_file("missing.cir.debug"),
            "******************** Gatter ***********************\n"
            "******************** Signale ***********************\n"
            "******************** Eingaenge ***********************\n"
            "******************** Ausgaenge ***********************\n");
}

TEST(ReadCircuitErrors, DuplicateSignal) {
  expect_read_fails("Circuit x ;\nNode a, b, a : bit ;\n", "\n\n\n\nSignal name: a\n",
                    "quarn_add_to_line_tree: Line was already in the list");
  // After the Circuit statement the files carry the stem.
  EXPECT_EQ(read_file("circuit.stat"), "ERROR!!!\t\tquarn_add_to_line_tree: Line was already in the list\n");
  EXPECT_FALSE(file_exists("circuit.cir.stat"));
}

TEST(ReadCircuitErrors, DuplicateGate) {
  expect_read_fails("Circuit x ;\nNode a : bit ;\nCon ( delay : 1 )\n  g, h : And_2 ;\n  g : Exor ;\n",
                    "\n\n\n\nGate name: g\n", "quarn_add_to_gate_tree: gate was already in the list");
}

TEST(ReadCircuitErrors, UndeclaredPrimaryInputOrOutput) {
  circuit_parts_t parts = half_adder;
  parts.inputs = "a, zz, b";
  expect_read_fails(circuit_text(parts), "\nzz", "Line not found in definition");
  parts = half_adder;
  parts.outputs = "s, C";
  expect_read_fails(circuit_text(parts), "\nC", "Line not found in definition");
}

TEST(ReadCircuitErrors, UndeclaredInstanceSignal) {
  circuit_parts_t parts = half_adder;
  parts.instances[1] = "g2 ( a, zz ; c )";
  expect_read_fails(circuit_text(parts), "\nzz", "Line not found in list");
  parts.instances[1] = "g2 ( a, b ; zz )";
  expect_read_fails(circuit_text(parts), "\nzz", "Line not found in list");
}

TEST(ReadCircuitErrors, UndeclaredInstanceGateIsLookedUpAtTheEndOfItsInputs) {
  circuit_parts_t parts = half_adder;
  parts.instances[1] = "G2 ( a, b ; c )";
  expect_read_fails(circuit_text(parts), "\nG2", "Gate not found in definition");
  // An unknown output signal comes too late to be reported first...
  parts.instances[1] = "G2 ( a, b ; zz )";
  expect_read_fails(circuit_text(parts), "\nG2", "Gate not found in definition");
  // ...an unknown input signal comes before the gate is looked up.
  parts.instances[1] = "G2 ( zz, b ; c )";
  expect_read_fails(circuit_text(parts), "\nzz", "Line not found in list");
}

TEST(ReadCircuitErrors, SignalCountOfAnInstanceMustMatchTheGate) {
  circuit_parts_t parts = half_adder;
  parts.instances[1] = "g2 ( a ; c )";
  expect_read_fails(circuit_text(parts), "", "element has less io's than defined");
  parts.instances[1] = "g2 ( a, b, s ; c )";
  expect_read_fails(circuit_text(parts), "", "element has more io's than defined");
  parts.instances[1] = "g2 ( a, b ; c, s )";
  expect_read_fails(circuit_text(parts), "", "element has more io's than defined");
  // The inputs are connected before the outputs are read.
  parts.instances[1] = "g2 ( a ; zz )";
  expect_read_fails(circuit_text(parts), "", "element has less io's than defined");
}

TEST(ReadCircuitErrors, InstanceListsHoldAtMostOneHundredSignals) {
  auto repeated = [](int n) {
    std::string list = "a";
    for (int i = 1; i < n; i++) list += ", a";
    return list;
  };
  circuit_parts_t parts = half_adder;
  parts.instances[1] = "g2 ( " + repeated(100) + " ; c )";
  expect_read_fails(circuit_text(parts), "", "element has more io's than defined");
  // The 101st name ends at column 9 + 100 * 3; the lookahead " ;" follows.
  parts.instances[1] = "g2 ( " + repeated(101) + " ; c )";
  expect_read_fails(circuit_text(parts), "\nLine: 11, Column: 311",
                    "instance list has too many signals (limit 100)");
}

TEST(ReadCircuitErrors, OverlongNameAndThreeDigitGateKeywordStopAtTheirPosition) {
  child_result_t run = run_in_child(
      [] { load_circuit("Circuit x ;\nNode a, " + std::string(800, 'n') + " : bit ;\n", false); });
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.output.find("\nLine: 2, Column: 809\nERROR!!!\n"), std::string::npos) << run.output;

  circuit_parts_t parts = half_adder;
  parts.gates[1] = "g2 : And_100";
  run = run_in_child([&] { load_circuit(circuit_text(parts), false); });
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.output.find("\nLine: 5, Column: 15\nERROR!!!\n"), std::string::npos) << run.output;
}

TEST(ReadCircuitErrors, ErrorsBeforeTheCircuitStatementUseTheWholeFileName) {
  expect_read_fails("Circuit ;\n", "\nLine: 1, Column: 10", "parse error", "bar.cir");
  EXPECT_EQ(read_file("bar.cir.stat"), "ERROR!!!\t\tparse error\n");
  EXPECT_TRUE(file_exists("bar.cir.debug"));
  expect_read_fails("Circuit foo ;\nNode a, a : bit ;\n", "\n\n\n\nSignal name: a\n",
                    "quarn_add_to_line_tree: Line was already in the list", "bar.cir");
  EXPECT_TRUE(file_exists("bar.stat"));
  EXPECT_TRUE(file_exists("bar.debug"));
  EXPECT_FALSE(file_exists("foo.stat"));
}

}  // namespace
