// Reading circuit files: what is built and counted, names that look like
// keywords, the stem of the output files and every way the reader fails.
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

const circuit_parts_t half_adder = {.name = "halfadd",
                                    .nodes = "a, b, s, c",
                                    .gates = {"g1 : Exor", "g2 : And_2"},
                                    .inputs = "a, b",
                                    .outputs = "s, c",
                                    .instances = {"g1 ( a, b ; s )", "g2 ( a, b ; c )"}};

// The text of the half adder with the first `from` replaced by `to`.
std::string half_adder_with(const std::string& from, const std::string& to) {
  std::string text = circuit_text(half_adder);
  return text.replace(text.find(from), from.size(), to);
}

// Reads the file in a child process, which must end through the error path
// with the message, right after `printed`.
void expect_read_fails(const std::string& text, const std::string& printed, const std::string& message,
                       const std::string& file_name = "circuit.cir") {
  child_result_t run = run_in_child([&] { load_circuit(text, false, file_name); });
  EXPECT_EQ(run.exit_status, 1) << message;
  EXPECT_NE(run.output.find(printed + "\nERROR!!!\n" + message + "\n"), std::string::npos) << run.output;
}

TEST(ReadCircuit, HalfAdderIsConnectedAndCounted) {
  output_capture_C out;
  load_circuit(circuit_text(half_adder), false, "halfadd.cir");
  EXPECT_EQ(out.text(), "Read Circuit   Name = halfadd.cir\n");
  const statistic_t& s = statistic_u;
  EXPECT_EQ((std::vector<int>{s.no_gates_i, s.no_exor_i, s.no_and_i, s.no_signals_i, s.no_primary_inputs_i,
                              s.no_primary_outputs_i}),
            (std::vector<int>{2, 1, 1, 4, 2, 2}));
  EXPECT_EQ(s.no_or_i + s.no_nand_i + s.no_nor_i + s.no_driver_i + s.no_inverter_i + s.no_flipflop_i +
                s.no_blocks_i + s.no_fanout_gates_i + s.no_fanout_branches_i,
            0);
  EXPECT_EQ(names_of(lines_C), (names_t{"a", "b", "s", "c"}));
  EXPECT_EQ(names_of(input_lines_C), (names_t{"a", "b"}));
  EXPECT_EQ(names_of(output_lines_C), (names_t{"s", "c"}));
  EXPECT_EQ(names_of(gate_named("g2")->inputs_C), (names_t{"a", "b"}));
  EXPECT_EQ(names_of(signal_named("c")->vorgaenger_C), (names_t{"g2"}));
}

TEST(ReadCircuit, NamesThatOnlyLookLikeKeywordsAreOrdinaryNames) {
  output_capture_C out;
  load_circuit(circuit_text({.nodes = "And_0,\tExor_2, end.x, { a, comment } # NODE, CIRCUIT, y",
                             .gates = {"And_0x : Exor", "BEGIN : Inverter"},
                             .inputs = "And_0, Exor_2, end.x, NODE, CIRCUIT",
                             .outputs = "y",
                             .instances = {"BEGIN ( Exor_2 ; y )"}}),
               false);
  EXPECT_EQ(names_of(lines_C), (names_t{"And_0", "Exor_2", "end.x", "NODE", "CIRCUIT", "y"}));
  EXPECT_EQ(names_of(gates_C), (names_t{"And_0x", "BEGIN"}));
  EXPECT_EQ(out.text(), "Read Circuit   Name = circuit.cir\n\t#");  // only the stray bytes are echoed
}

TEST(ReadCircuit, CircuitStatementCutsTheFileNameToItsStem) {
  std::filesystem::create_directories("x.v2");
  // The name in the Circuit statement plays no part.
  for (auto [file, stem] :
       std::vector<std::pair<const char*, const char*>>{{"bar.cir", "bar"},
                                                        {"two.dots.cir", "two"},
                                                        {"plain", "plain"},
                                                        {"./x.v2/c17.cir", "./x.v2/c17"}}) {
    load_circuit(circuit_text(half_adder), false, file);
    EXPECT_STREQ(schaltungsname_s, stem) << file;
  }
  // Failures write their files under the whole name before the statement, under the stem after it.
  expect_read_fails("Circuit ;\n", "\nLine: 1, Column: 10", "parse error", "bar.cir");
  EXPECT_EQ(read_file("bar.cir.stat"), "ERROR!!!\t\tparse error\n");
  expect_read_fails("Circuit x ;\nNode a, a : bit ;\n", "\n\n\n\nSignal name: a\n",
                    "quarn_add_to_line_tree: Line was already in the list", "bar.cir");
  EXPECT_EQ(read_file("bar.stat"), "ERROR!!!\t\tquarn_add_to_line_tree: Line was already in the list\n");
}

TEST(ReadCircuit, FailuresEndTheRunWithTheirMessage) {
  child_result_t run = run_in_child([] {
    std::strcpy(schaltungsname_s, "missing.cir");
    read_circuit();
  });
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.output.find("Read Circuit   Name = missing.cir\n\nERROR!!!\nfile not found\n"), 0u)
      << run.output;

  std::string hundred_and_one = "a";
  for (int i = 1; i < 101; i++) hundred_and_one += ", a";
  struct case_t {
    std::string text, printed, message;
  };
  const case_t cases[] = {
      {"CIRCUIT x ;\n", "\nLine: 1, Column: 8", "parse error"},
      {"Circuit x ;\n\tNode a { xy } b : bit ;\n", "\nLine: 2, Column: 16", "parse error"},
      {"Circuit x ;\nNode a, b, a : bit ;\n", "\n\n\n\nSignal name: a\n",
       "quarn_add_to_line_tree: Line was already in the list"},
      {"Circuit x ;\nNode a : bit ;\nCon ( delay : 1 )\n  g, h : And_2 ;\n  g : Exor ;\n",
       "\n\n\n\nGate name: g\n", "quarn_add_to_gate_tree: gate was already in the list"},
      {half_adder_with("Input a, b", "Input a, zz, b"), "\nzz", "Line not found in definition"},
      {half_adder_with("Output s, c", "Output s, C"), "\nC", "Line not found in definition"},
      {half_adder_with("( a, b ; c )", "( a, zz ; c )"), "\nzz", "Line not found in list"},
      {half_adder_with("g2 ( a", "G2 ( a"), "\nG2", "Gate not found in definition"},
      {half_adder_with("( a, b ; c )", "( a ; c )"), "", "element has less io's than defined"},
      {half_adder_with("( a, b ; c )", "( a, b ; c, s )"), "", "element has more io's than defined"},
      {"Circuit x ;\nNode a, " + std::string(800, 'n') + " : bit ;\n", "\nLine: 2, Column: 809",
       "token longer than 799 characters"},
      {half_adder_with("And_2", "And_123"), "\nLine: 5, Column: 15",
       "gate keyword with more than two digits: at most 99 inputs"},
      // The 101st name ends in column 308; the lookahead " ;" follows.
      {half_adder_with("( a, b ; c )", "( " + hundred_and_one + " ; c )"), "\nLine: 11, Column: 311",
       "instance list has too many signals (limit 100)"},
  };
  for (const case_t& c : cases) expect_read_fails(c.text, c.printed, c.message);
}

}  // namespace
