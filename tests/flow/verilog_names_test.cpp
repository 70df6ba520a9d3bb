// Signal names in the Verilog that quarn-testbench writes: numbers,
// keywords and names with "->", "[" or blanks all become identifiers that a
// simulator accepts and keeps apart.
#include "flow/verilog_names.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/run.h"
#include "flow/replay.h"
#include "flow/testbench.h"
#include "flow/verilog_module.h"
#include "model/line.h"
#include "support/flow_tools.h"
#include "support/run_quarn.h"

namespace {

TEST(VerilogNames, SimpleIdentifiersStayAndEverythingElseIsEscaped) {
  EXPECT_EQ(verilog_identifier("a"), "a");
  EXPECT_EQ(verilog_identifier("_x$1"), "_x$1");
  EXPECT_EQ(verilog_identifier("NG17"), "NG17");
  EXPECT_EQ(verilog_identifier("1"), "\\1 ");
  EXPECT_EQ(verilog_identifier("22"), "\\22 ");
  EXPECT_EQ(verilog_identifier("a->p_"), "\\a->p_ ");
  EXPECT_EQ(verilog_identifier("b[2]"), "\\b[2] ");
  EXPECT_EQ(verilog_identifier("$x"), "\\$x ");
  EXPECT_EQ(verilog_identifier("\\in"), "\\\\in ");
  for (const char* keyword : {"module", "wire", "and", "input", "endmodule", "logic", "bit", "reg"}) {
    EXPECT_TRUE(is_verilog_keyword(keyword)) << keyword;
    EXPECT_EQ(verilog_identifier(keyword), std::string("\\") + keyword + " ");
  }
  EXPECT_FALSE(is_verilog_keyword("Module"));
  EXPECT_EQ(verilog_identifier("Module"), "Module");
  // Bytes an escaped identifier cannot hold are spelled out; what is left
  // is escaped only where it needs to be.
  EXPECT_EQ(verilog_identifier("a b"), "a_x20b");
  EXPECT_EQ(verilog_identifier(std::string("s\xA7t")), "s_xA7t");
  EXPECT_EQ(verilog_identifier("1 x"), "\\1_x20x ");
  EXPECT_EQ(verilog_identifier(""), "_");
}

TEST(VerilogNames, StringLiteralsEscapeQuotesBackslashesAndControlBytes) {
  EXPECT_EQ(verilog_string("s1"), "\"s1\"");
  EXPECT_EQ(verilog_string("q\"\\%s"), "\"q\\\"\\\\%s\"");
  EXPECT_EQ(verilog_string("a\nb"), "\"a\\012b\"");
}

TEST(VerilogNames, TheNamerKeepsEscapedAndPlainSpellingsApart) {
  verilog_namer_t namer;
  EXPECT_EQ(namer.unique("abc"), "abc");
  EXPECT_EQ(namer.unique("abc"), "abc_2");
  EXPECT_EQ(namer.unique("abc"), "abc_3");
  EXPECT_EQ(namer.unique("a b"), "a_x20b");
  EXPECT_EQ(namer.unique("a_x20b"), "a_x20b_2");
  // A name that needs escaping gets its suffix inside the escape.
  EXPECT_EQ(namer.unique("b[0]"), "\\b[0] ");
  EXPECT_EQ(namer.unique("b[0]"), "\\b[0]_2 ");
  EXPECT_EQ(namer.unique("1"), "\\1 ");
  EXPECT_EQ(namer.unique("1"), "\\1_2 ");
}

TEST(VerilogNames, AModuleWithKeywordsBracketsAndBranchNamesReplays) {
  SKIP_WITHOUT("iverilog");
  // x[1] and reg are outputs that also feed gates: their output ports are
  // the branches "x[1]->output__1" and "reg->output__1". The file name makes
  // the module name a number.
  write_file("1.cir",
             "Circuit names ;\n"
             "Node module, wire, a.b, x[1], \\in, reg, always : bit ;\n"
             "Con ( delay : 1 )\n"
             "  and : And_2 ;\n  g2 : Nor_2 ;\n  g3 : Exor ;\n  g4 : Inverter ;\n"
             "Input module, wire, a.b ;\n"
             "Output x[1], reg, always ;\n"
             "Strobe STROBEALL : x[1], reg, always ;\n"
             "begin\n"
             "  and ( module, wire ; x[1] ) ;\n"
             "  g2 ( x[1], a.b ; \\in ) ;\n"
             "  g3 ( \\in, module ; reg ) ;\n"
             "  g4 ( reg ; always ) ;\n"
             "end.\n");
  ASSERT_EQ(run_quarn({"1.cir", "10", "STUCK_AT"}).exit_status, 0);
  const quarn_run_t replay = run_command_with_errors("quarn-testbench", {"1.cir", "--run"});
  EXPECT_EQ(replay.exit_status, 0) << replay.output;
  EXPECT_NE(replay.output.find(" 0 mismatches"), std::string::npos) << replay.output;
  const std::string module = read_file("1_comb.v");
  for (const char* text : {"module \\1  (", "input \\module ,", "input \\wire ,", "input \\a.b ,",
                           "output \\x[1]->output__1 ", "output \\reg->output__1 ", "wire \\\\in ;"}) {
    EXPECT_NE(module.find(text), std::string::npos) << text << "\n" << module;
  }
  EXPECT_NE(read_file("1_tb.v").find("module \\1_tb ;"), std::string::npos);
}

TEST(VerilogNames, NumbersBlanksAndQuotesInNamesReachTheSimulationIntact) {
  SKIP_WITHOUT("iverilog");
  // The reader takes no such names, another reader may: the lines are
  // renamed after reading. y = a b, z = a'.
  write_file("t.cir",
             "Circuit t ;\nNode a, b, y, z : bit ;\nCon ( delay : 1 )\n  g1 : And_2 ;\n  g2 : Inverter ;\n"
             "Input a, b ;\nOutput y, z ;\nStrobe STROBEALL : y, z ;\n"
             "begin\n  g1 ( a, b ; y ) ;\n  g2 ( a ; z ) ;\nend.\n");
  const std::unique_ptr<run_C> run = load_transformed_circuit("t.cir");
  const std::string names[] = {"1", "2 2", "module", "q\"\\%s"};
  line_liste_C& inputs = run->circuit.input_lines_C;
  line_liste_C& outputs = run->circuit.output_lines_C;
  inputs[0]->name_s = names[0];
  inputs[1]->name_s = names[1];
  outputs[0]->name_s = names[2];
  outputs[1]->name_s = names[3];
  {
    std::ofstream out("t_comb.v");
    write_verilog_module(out, run->circuit, "22");
  }
  pattern_set_t patterns;
  patterns.input_names = {names[0], names[1]};
  patterns.output_names = {names[2], names[3]};
  patterns.patterns = {{"11", "10", "", false, 3},
                       {"01", "01", "", false, 4},
                       {"10", "00", "", false, 5},
                       {"X0", "0X", "", false, 6}};
  auto replay = [&] {
    std::ofstream out("t_tb.v");
    write_testbench(out, patterns, {"22", "t.pat", x_fill_t::zero, 1});
    out.close();
    return replay_with_icarus("t_tb.v", "t_comb.v");
  };
  const replay_t clean = replay();
  EXPECT_TRUE(clean.passed) << clean.output;
  EXPECT_NE(clean.output.find("PASS: 4 patterns, 0 mismatches"), std::string::npos) << clean.output;
  patterns.patterns[2].outputs = "01";
  const replay_t wrong = replay();
  EXPECT_FALSE(wrong.passed);
  EXPECT_NE(wrong.output.find("MISMATCH pattern 3 (line 5): output q\"\\%s expected 1 got 0"),
            std::string::npos)
      << wrong.output;
}

}  // namespace
