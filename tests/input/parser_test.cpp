// Reading circuit files: what is built, keyword-like names, the output file stem and every failure.
#include "input/parser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/run.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/capture_output.h"
#include "support/circuit_text.h"
#include "support/fatal.h"
#include "support/run_quarn.h"

namespace {

using names_t = std::vector<std::string>;

const std::string half_adder = cir_text("a, b, s, c", "g1 : Exor ;\ng2 : And_2 ;\n", "a, b", "s, c",
                                        "g1 ( a, b ; s ) ;\ng2 ( a, b ; c ) ;\n");

// The text of the half adder with the first `from` replaced by `to`.
std::string half_adder_with(const std::string& from, const std::string& to) {
  std::string text = half_adder;
  return text.replace(text.find(from), from.size(), to);
}

// Reading the file must end through the error path with the message after `printed`.
void expect_read_fails(const std::string& text, const std::string& printed, const std::string& message,
                       const std::string& file_name = "circuit.cir") {
  const fatal_result_t run = run_to_fatal_error([&] { load_circuit(text, false, file_name); });
  EXPECT_TRUE(run.fatal) << message;
  EXPECT_NE(run.output.find(printed + "\nERROR!!!\n" + message + "\n"), std::string::npos) << run.output;
}

TEST(ReadCircuit, HalfAdderIsConnectedAndCountedAndNamesThatOnlyLookLikeKeywordsAreOrdinary) {
  load_circuit(half_adder, false);
  const statistic_t& s = current_run().circuit.statistic_u;
  const int others = s.no_or_i + s.no_nand_i + s.no_nor_i + s.no_driver_i + s.no_inverter_i +
                     s.no_flipflop_i + s.no_blocks_i + s.no_fanout_gates_i + s.no_fanout_branches_i;
  EXPECT_EQ((std::vector{s.no_gates_i, s.no_exor_i, s.no_and_i, s.no_signals_i, s.no_primary_inputs_i,
                         s.no_primary_outputs_i, others}),
            (std::vector{2, 1, 1, 4, 2, 2, 0}));
  EXPECT_EQ(names_of(gate_named("g2")->inputs_C), (names_t{"a", "b"}));
  EXPECT_EQ(names_of(signal_named("c")->vorgaenger_C), (names_t{"g2"}));
  output_capture_C out;
  load_circuit(cir_text("And_0,\tExor_2, end.x, { a, comment } # NODE, CIRCUIT, y",
                        "And_0x : Exor ;\nBEGIN : Inverter ;\n", "And_0, Exor_2, end.x, NODE, CIRCUIT", "y",
                        "BEGIN ( Exor_2 ; y ) ;\n"),
               false);
  EXPECT_EQ(names_of(current_run().circuit.lines_C),
            (names_t{"And_0", "Exor_2", "end.x", "NODE", "CIRCUIT", "y"}));
  EXPECT_EQ(names_of(current_run().circuit.gates_C), (names_t{"And_0x", "BEGIN"}));
  EXPECT_EQ(out.text(), "Read Circuit   Name = circuit.cir\n\t#");  // only the stray bytes are echoed
}

TEST(ReadCircuit, CircuitStatementCutsTheFileNameToItsStem) {
  std::filesystem::create_directories("x.v2");
  // The name in the Circuit statement plays no part.
  const std::pair<const char*, const char*> stems[] = {
      {"bar.cir", "bar"}, {"two.dots.cir", "two"}, {"plain", "plain"}, {"./x.v2/c17.cir", "./x.v2/c17"}};
  for (const auto& [file, stem] : stems) {
    EXPECT_EQ(load_circuit(half_adder, false, file).settings.schaltungsname_s, stem) << file;
  }
  // Failures write their files under the whole name before the statement, under the stem after it.
  expect_read_fails("Circuit ;\n", "\nLine: 1, Column: 10", "parse error", "bar.cir");
  EXPECT_EQ(read_file("bar.cir.stat"), "ERROR!!!\t\tparse error\n");
  expect_read_fails("Circuit x ;\nNode a, a : bit ;\n", "\n\n\n\nSignal name: a\n",
                    "quarn_add_to_line_tree: Line was already in the list", "bar.cir");
  EXPECT_EQ(read_file("bar.stat"), "ERROR!!!\t\tquarn_add_to_line_tree: Line was already in the list\n");
}

TEST(ReadCircuit, FailuresEndTheRunWithTheirMessage) {
  run_C& run = fresh_run();
  run.settings.schaltungsname_s = "missing.cir";
  EXPECT_FATAL(read_circuit(run.circuit, run.settings), "file not found");
  std::string hundred_and_one = "a";
  for (int i = 1; i < 101; i++) hundred_and_one += ", a";
  const std::string cases[][3] = {
      {"CIRCUIT x ;\n", "\nLine: 1, Column: 8", "parse error"},
      {"Circuit x ;\n\tNode a { xy } b : bit ;\n", "\nLine: 2, Column: 16", "parse error"},
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
      {half_adder_with("And_2", "And_123"), "\nLine: 5, Column: 13",
       "gate keyword with more than two digits: at most 99 inputs"},
      // The 101st name ends in column 306; the lookahead " ;" follows.
      {half_adder_with("( a, b ; c )", "( " + hundred_and_one + " ; c )"), "\nLine: 11, Column: 309",
       "instance list has too many signals (limit 100)"},
  };
  for (const auto& [text, printed, message] : cases) expect_read_fails(text, printed, message);
}

}  // namespace
