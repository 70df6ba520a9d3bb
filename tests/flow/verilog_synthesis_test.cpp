// quarn-verilog: a Verilog design synthesised by Yosys becomes a circuit
// that quarn reads and tests completely, and that computes what the Verilog
// computes, cycle by cycle, as Icarus Verilog simulates it.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "flow/circuit_file_writer.h"
#include "flow/gate_netlist.h"
#include "flow/yosys_synthesis.h"
#include "support/fatal.h"
#include "support/flow_tools.h"
#include "support/output_files.h"
#include "support/paths.h"
#include "support/reference_circuit.h"
#include "support/run_quarn.h"

namespace {

// The example's ports as bits, in the order of its port list.
const std::vector<std::string> accumulator_inputs = {"rst",  "en",   "op[0]", "op[1]",
                                                     "b[0]", "b[1]", "b[2]",  "b[3]"};
const std::vector<std::string> accumulator_outputs = {"acc[0]", "acc[1]", "acc[2]",
                                                      "acc[3]", "carry",  "zero"};

quarn_run_t synthesise_example(const std::vector<std::string>& extra = {}) {
  std::vector<std::string> arguments = {example_circuit("accumulator.v"), "--top", "accumulator"};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  return run_command_with_errors("quarn-verilog", arguments);
}

TEST(VerilogSynthesis, TheExampleBecomesACircuitThatQuarnTestsCompletelyAndIcarusReplays) {
  SKIP_WITHOUT("yosys");
  const quarn_run_t synthesis = synthesise_example({"-o", "accumulator.bench"});
  ASSERT_EQ(synthesis.exit_status, 0) << synthesis.output;
  EXPECT_NE(synthesis.output.find("note: input clk is the clock: dropped"), std::string::npos)
      << synthesis.output;
  const std::string cir = read_file("accumulator.cir");
  const reference_circuit_t reference(cir);
  // Four accumulator bits and the carry are registers.
  const std::vector<std::string>& inputs = reference.inputs();
  ASSERT_EQ(inputs.size(), accumulator_inputs.size() + 5);
  EXPECT_EQ(std::vector<std::string>(inputs.begin(), inputs.begin() + 8), accumulator_inputs);
  ASSERT_EQ(reference.outputs().size(), accumulator_outputs.size() + 5);
  EXPECT_EQ(std::vector<std::string>(reference.outputs().begin(), reference.outputs().begin() + 6),
            accumulator_outputs);
  // The layout of the bundled examples.
  for (const char* part : {"Circuit accumulator ;\nNode ", "Con ( delay : 1 )\n", " : Dflipflop ;\n",
                           "\nInput rst, en, op[0], op[1], b[0], b[1], b[2], b[3] ;\n",
                           "\nOutput acc[0], acc[1], acc[2], acc[3], carry, zero ;\n",
                           "\nStrobe STROBEALL : acc[0], acc[1], acc[2], acc[3], carry, zero ;\nbegin\n"}) {
    EXPECT_NE(cir.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(cir.substr(cir.size() - 5), "end.\n");

  const quarn_run_t run = run_quarn({"accumulator.cir", "10", "STUCK_AT"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_EQ(run.output.find("WARNING"), std::string::npos) << run.output;
  EXPECT_EQ(last_figure(read_file("accumulator.stat"), "Efficiency of Test generation:  "), 100);

  SKIP_WITHOUT("iverilog");
  const quarn_run_t replay = run_command_with_errors("quarn-testbench", {"accumulator.cir", "--run"});
  EXPECT_EQ(replay.exit_status, 0) << replay.output;
  EXPECT_NE(replay.output.find(" patterns, 0 mismatches"), std::string::npos) << replay.output;
}

// One clock cycle of the example: rst, en, op, b.
struct cycle_t {
  int rst, en, op, b;
};

// Icarus' view of the Verilog source: per cycle the outputs before the
// clock edge, acc[0] to acc[3], carry, zero, as 0, 1 or x.
std::vector<std::string> simulate_source(const std::vector<cycle_t>& cycles) {
  std::ostringstream bench;
  bench << "`timescale 1ns / 1ns\nmodule check;\n"
        << "  reg clk, rst, en;\n  reg [1:0] op;\n  reg [3:0] b;\n  wire [3:0] acc;\n  wire carry, zero;\n"
        << "  accumulator dut (.clk(clk), .rst(rst), .en(en), .op(op), .b(b), .acc(acc), .carry(carry),"
        << " .zero(zero));\n"
        << "  initial begin\n    clk = 0;\n";
  for (const cycle_t& c : cycles) {
    bench << "    rst = " << c.rst << "; en = " << c.en << "; op = " << c.op << "; b = " << c.b << ";\n"
          << "    #5 $display(\"%b%b%b%b%b%b\", acc[0], acc[1], acc[2], acc[3], carry, zero);\n"
          << "    clk = 1;\n    #5 clk = 0;\n";
  }
  bench << "    $finish;\n  end\nendmodule\n";
  write_file("check.v", bench.str());
  EXPECT_EQ(
      run_tool({"iverilog", "-o", "check.vvp", "check.v", example_circuit("accumulator.v")}).exit_status, 0);
  const quarn_run_t simulation = run_tool({"vvp", "-n", "check.vvp"});
  EXPECT_EQ(simulation.exit_status, 0) << simulation.output;
  std::vector<std::string> lines;
  std::istringstream in(simulation.output);
  for (std::string line; std::getline(in, line);) {
    if (line.size() == 6 && line.find_first_not_of("01xz") == std::string::npos) lines.push_back(line);
  }
  return lines;
}

TEST(VerilogSynthesis, TheCircuitComputesWhatTheVerilogComputesCycleByCycle) {
  SKIP_WITHOUT("yosys");
  SKIP_WITHOUT("iverilog");
  ASSERT_EQ(synthesise_example().exit_status, 0);
  const reference_circuit_t reference(read_file("accumulator.cir"));
  const size_t n_in = accumulator_inputs.size(), n_out = accumulator_outputs.size();
  const size_t registers = reference.inputs().size() - n_in;

  // A reset first, then random operations with an occasional reset.
  std::mt19937 random(2024);
  std::vector<cycle_t> cycles = {{1, 0, 0, 0}};
  for (int i = 0; i < 400; i++) {
    cycles.push_back({random() % 16 == 0 ? 1 : 0, random() % 4 != 0 ? 1 : 0, static_cast<int>(random() % 4),
                      static_cast<int>(random() % 16)});
  }
  const std::vector<std::string> source = simulate_source(cycles);
  ASSERT_EQ(source.size(), cycles.size());

  // The circuit: the registers start unknown and load the flip-flop inputs.
  std::vector<int> state(registers, -1);
  for (size_t c = 0; c < cycles.size(); c++) {
    const cycle_t& cycle = cycles[c];
    const int bits[] = {cycle.rst,   cycle.en,           cycle.op & 1,       (cycle.op >> 1) & 1,
                        cycle.b & 1, (cycle.b >> 1) & 1, (cycle.b >> 2) & 1, (cycle.b >> 3) & 1};
    reference_circuit_t::dual_rail_t in;
    for (size_t i = 0; i < n_in + registers; i++) {
      const int v = i < n_in ? bits[i] : state[i - n_in];
      in.may_be_0.push_back(v != 1 ? 1 : 0);
      in.may_be_1.push_back(v != 0 ? 1 : 0);
    }
    const reference_circuit_t::dual_rail_t values = reference.dual_rail_values(in);
    auto value_of = [&](const std::string& name) {
      const int s = reference.signal(name);
      const bool may0 = (values.may_be_0[s] & 1) != 0, may1 = (values.may_be_1[s] & 1) != 0;
      return may0 && may1 ? -1 : (may1 ? 1 : 0);
    };
    std::string circuit;
    for (size_t o = 0; o < n_out; o++) {
      const int v = value_of(reference.outputs()[o]);
      circuit += v < 0 ? 'x' : static_cast<char>('0' + v);
    }
    // Before the first clock edge both leave the registers open.
    if (c > 0) {
      ASSERT_EQ(circuit, source[c]) << "cycle " << c;
    } else {
      EXPECT_EQ(source[c], "xxxxxx");
    }
    for (size_t r = 0; r < registers; r++) state[r] = value_of(reference.outputs()[n_out + r]);
  }
}

// The .bench file's own meaning, read by the test: every signal's word for
// 64 patterns from the inputs and flip-flop outputs given.
std::map<std::string, uint64_t> evaluate_bench(const std::string& text,
                                               std::map<std::string, uint64_t> values,
                                               std::vector<std::string>& outputs,
                                               std::vector<std::pair<std::string, std::string>>& flipflops) {
  std::map<std::string, std::pair<std::string, std::vector<std::string>>> gates;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    auto inside = [&](size_t open) { return line.substr(open + 1, line.rfind(')') - open - 1); };
    if (line.rfind("INPUT(", 0) == 0) continue;
    if (line.rfind("OUTPUT(", 0) == 0) {
      outputs.push_back(inside(line.find('(')));
      continue;
    }
    const std::string target = line.substr(0, line.find(" = "));
    const size_t open = line.find('(');
    const std::string type = line.substr(target.size() + 3, open - target.size() - 3);
    std::vector<std::string> args;
    std::istringstream list(inside(open));
    for (std::string arg; std::getline(list, arg, ',');)
      args.push_back(arg.substr(arg.find_first_not_of(' ')));
    if (type == "DFF") {
      flipflops.emplace_back(target, args.at(0));
    } else {
      gates[target] = {type, args};
    }
  }
  std::function<uint64_t(const std::string&)> value = [&](const std::string& name) -> uint64_t {
    if (auto known = values.find(name); known != values.end()) return known->second;
    const auto& [type, args] = gates.at(name);
    uint64_t v = value(args.at(0));
    for (size_t i = 1; i < args.size(); i++) {
      const uint64_t w = value(args[i]);
      v = type == "AND" || type == "NAND" ? v & w : type == "OR" || type == "NOR" ? v | w : v ^ w;
    }
    if (type == "NAND" || type == "NOR" || type == "NOT" || type == "XNOR") v = ~v;
    return values[name] = v;
  };
  for (const auto& [name, gate] : gates) value(name);
  for (const auto& [state, data] : flipflops) value(data);
  return values;
}

TEST(VerilogSynthesis, TheBenchFileIsTheSameCircuit) {
  SKIP_WITHOUT("yosys");
  ASSERT_EQ(synthesise_example({"-o", "accumulator.bench"}).exit_status, 0);
  const reference_circuit_t reference(read_file("accumulator.cir"));
  const std::string bench = read_file("accumulator.bench");
  for (const std::string& name : accumulator_inputs) {
    EXPECT_NE(bench.find("INPUT(" + name + ")\n"), std::string::npos) << name;
  }
  std::mt19937_64 random(7);
  std::map<std::string, uint64_t> given;
  std::vector<uint64_t> words;
  for (const std::string& name : reference.inputs()) {
    words.push_back(random());
    given[name] = words.back();
  }
  std::vector<std::string> outputs;
  std::vector<std::pair<std::string, std::string>> flipflops;
  const std::map<std::string, uint64_t> values = evaluate_bench(bench, given, outputs, flipflops);
  EXPECT_EQ(outputs, accumulator_outputs);
  ASSERT_EQ(flipflops.size(), reference.inputs().size() - accumulator_inputs.size());
  const std::vector<uint64_t> expected = reference.simulate(words);
  for (size_t o = 0; o < reference.outputs().size(); o++) {
    EXPECT_EQ(values.at(reference.outputs()[o]), expected[o]) << reference.outputs()[o];
  }
  // quarn reads either file into the same circuit: the same classes,
  // redundancies and coverage.
  write_file("acc_bench.bench", bench);
  write_file("acc_cir.cir", read_file("accumulator.cir"));
  for (const char* file : {"acc_bench.bench", "acc_cir.cir"})
    ASSERT_EQ(run_quarn({file, "10", "STUCK_AT"}).exit_status, 0);
  const std::string from_bench = read_file("acc_bench.stat"), from_cir = read_file("acc_cir.stat");
  for (const char* figure : {"Number of Equivalent Classes : ", "Number of Redundant Classes : ",
                             "Number of Aborted Classes : ", "Number of primary inputs:   "}) {
    EXPECT_EQ(last_figure(from_bench, figure), last_figure(from_cir, figure)) << figure;
    EXPECT_GE(last_figure(from_bench, figure), 0) << figure;
  }
}

TEST(VerilogSynthesis, ConstantOutputsUnusedInputsAndAwkwardNamesAreHandled) {
  SKIP_WITHOUT("yosys");
  write_file("odd.v",
             "module odd(input node, input Input, input [1:0] \\a->b , input unused, input [0:1] up,\n"
             "           output \\22 , output end_, output c0, output c1, output same1, output same2,\n"
             "           output thru, output [3:2] w);\n"
             "  assign \\22 = node & Input;\n"
             "  assign end_ = \\a->b [0] ^ \\a->b [1];\n"
             "  assign c0 = 1'b0;\n"
             "  assign c1 = node | ~node;\n"
             "  assign same1 = node ^ Input;\n"
             "  assign same2 = node ^ Input;\n"
             "  assign thru = Input;\n"
             "  assign w = {up[0] & node, up[1] | node};\n"
             "endmodule\n");
  const quarn_run_t synthesis = run_command_with_errors("quarn-verilog", {"odd.v", "--top", "odd"});
  ASSERT_EQ(synthesis.exit_status, 0) << synthesis.output;
  for (const char* note :
       {"note: output c0 is constant 0: left out", "note: output c1 is constant 1: left out",
        "note: input unused drives no output and no register data: left out"}) {
    EXPECT_NE(synthesis.output.find(note), std::string::npos) << note << "\n" << synthesis.output;
  }
  const std::string cir = read_file("odd.cir");
  // Names that are keywords of the circuit format get a prefix; a Verilog
  // index stays as it is, for ranges that count up too (up[0] is the MSB).
  EXPECT_NE(cir.find("\nInput s_node, s_Input, a->b[0], a->b[1], up[1], up[0] ;\n"), std::string::npos)
      << cir;
  EXPECT_NE(cir.find("\nOutput \\22, end_, same1, same2, thru, w[2], w[3] ;\n"), std::string::npos) << cir;
  const quarn_run_t run = run_quarn({"odd.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 0) << run.output;
  EXPECT_EQ(run.output.find("WARNING"), std::string::npos) << run.output;

  // Exhaustively: the circuit computes the assignments.
  const reference_circuit_t reference(cir);
  std::vector<uint64_t> words(reference.inputs().size());
  for (int pattern = 0; pattern < 64; pattern++) {
    for (size_t i = 0; i < words.size(); i++)
      words[i] |= static_cast<uint64_t>((pattern >> i) & 1) << pattern;
  }
  const std::vector<uint64_t> out = reference.simulate(words);
  auto in = [&](const char* name) {
    const auto& names = reference.inputs();
    return words[std::find(names.begin(), names.end(), name) - names.begin()];
  };
  auto output = [&](const char* name) { return out[reference.output_position(name)]; };
  EXPECT_EQ(output("\\22"), in("s_node") & in("s_Input"));
  EXPECT_EQ(output("end_"), in("a->b[0]") ^ in("a->b[1]"));
  EXPECT_EQ(output("same1"), in("s_node") ^ in("s_Input"));
  EXPECT_EQ(output("same2"), in("s_node") ^ in("s_Input"));
  EXPECT_EQ(output("thru"), in("s_Input"));
  // w = {up[0] & node, up[1] | node}: w[3] is the first part.
  EXPECT_EQ(output("w[3]"), in("up[0]") & in("s_node"));
  EXPECT_EQ(output("w[2]"), in("up[1]") | in("s_node"));
}

TEST(VerilogSynthesis, ADesignSpreadOverFilesIsFlattened) {
  SKIP_WITHOUT("yosys");
  // A 2-bit shift register with enable: two instances of a cell from
  // another file.
  write_file("cell.v",
             "module cell(input clk, input en, input d, output reg q);\n"
             "  always @(posedge clk) if (en) q <= d;\n"
             "endmodule\n");
  write_file("-shift.v",
             "module shift(input clk, input en, input d, output q);\n"
             "  wire m;\n"
             "  cell first (.clk(clk), .en(en), .d(d), .q(m));\n"
             "  cell second (.clk(clk), .en(en), .d(m), .q(q));\n"
             "endmodule\n");
  const quarn_run_t synthesis = run_command_with_errors(
      "quarn-verilog", {"cell.v", "--top", "shift", "-o", "shift.cir", "--", "-shift.v"});
  ASSERT_EQ(synthesis.exit_status, 0) << synthesis.output;
  const reference_circuit_t reference(read_file("shift.cir"));
  ASSERT_EQ(reference.inputs().size(), 4u);   // en, d and two registers
  ASSERT_EQ(reference.outputs().size(), 3u);  // q and two register inputs
  EXPECT_EQ(reference.inputs()[0], "en");
  EXPECT_EQ(reference.inputs()[1], "d");
  EXPECT_EQ(reference.outputs()[0], "q");
  // Exhaustively: each register loads its data while en is 1 and keeps its
  // value otherwise; q is the second register.
  std::vector<uint64_t> words(4);
  for (int pattern = 0; pattern < 16; pattern++) {
    for (size_t i = 0; i < 4; i++) words[i] |= static_cast<uint64_t>((pattern >> i) & 1) << pattern;
  }
  const std::vector<uint64_t> out = reference.simulate(words);
  const uint64_t en = words[0], d = words[1], mask = 0xFFFF;
  // Which register is which follows from what q reads.
  const size_t second = (out[0] & mask) == (words[2] & mask) ? 2 : 3, first = 5 - second;
  EXPECT_EQ(out[0] & mask, words[second] & mask);
  // Flip-flop i's output is input 2 + i, its data input output 1 + i.
  auto next = [&](size_t reg) { return out[reg - 1] & mask; };
  EXPECT_EQ(next(first), ((en & d) | (~en & words[first])) & mask);
  EXPECT_EQ(next(second), ((en & words[first]) | (~en & words[second])) & mask);
}

TEST(VerilogSynthesis, YosysFailuresAndRefusedDesignsEndWithTheirMessage) {
  SKIP_WITHOUT("yosys");
  write_file("broken.v", "module broken(input a, output y) assign y = a; endmodule\n");
  const quarn_run_t broken = run_command_with_errors("quarn-verilog", {"broken.v", "--top", "broken"});
  EXPECT_EQ(broken.exit_status, 1);
  EXPECT_NE(broken.output.find("ERROR: yosys failed (exit status 1):"), std::string::npos) << broken.output;
  EXPECT_NE(broken.output.find("broken.v:1: ERROR: syntax error"), std::string::npos) << broken.output;
  EXPECT_FALSE(file_exists("broken.cir"));

  const quarn_run_t absent =
      run_command_with_errors("quarn-verilog", {example_circuit("accumulator.v"), "--top", "nothere"});
  EXPECT_EQ(absent.exit_status, 1);
  EXPECT_NE(absent.output.find("Module `nothere' not found"), std::string::npos) << absent.output;

  const quarn_run_t missing = run_command_with_errors("quarn-verilog", {"missing.v", "--top", "m"});
  EXPECT_EQ(missing.exit_status, 1);
  EXPECT_NE(missing.output.find("ERROR: cannot read the Verilog file missing.v"), std::string::npos);

  write_file("areset.v",
             "module areset(input clk, input rstn, input d, output reg q);\n"
             "  always @(posedge clk or negedge rstn) if (!rstn) q <= 0; else q <= d;\n"
             "endmodule\n");
  const quarn_run_t refused = run_command_with_errors("quarn-verilog", {"areset.v", "--top", "areset"});
  EXPECT_EQ(refused.exit_status, 1);
  EXPECT_NE(refused.output.find("asynchronous set or reset: make it synchronous, or pass --async-reset sync"),
            std::string::npos)
      << refused.output;
  const quarn_run_t made_sync =
      run_command_with_errors("quarn-verilog", {"areset.v", "--top", "areset", "--async-reset", "sync"});
  ASSERT_EQ(made_sync.exit_status, 0) << made_sync.output;
  const reference_circuit_t reference(read_file("areset.cir"));
  EXPECT_EQ(reference.inputs().size(), 3u);  // rstn, d and the register
  EXPECT_EQ(run_quarn({"areset.cir", "10", "STUCK_AT"}).exit_status, 0);

  // Only constants left: nothing to test.
  write_file("flat.v", "module flat(input a, output y); assign y = a & ~a; endmodule\n");
  const quarn_run_t flat = run_command_with_errors("quarn-verilog", {"flat.v", "--top", "flat"});
  EXPECT_EQ(flat.exit_status, 1);
  EXPECT_NE(flat.output.find("ERROR: module flat has no output that is not constant"), std::string::npos)
      << flat.output;
}

TEST(VerilogSynthesis, HelpAndBadArguments) {
  const quarn_run_t help = run_command("quarn-verilog", {"--help"});
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_NE(help.output.find("Usage: quarn-verilog"), std::string::npos);
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{},
                                             {"a.v"},
                                             {"--top", "a"},
                                             {"a.v", "--top"},
                                             {"a.v", "--top", "a;b"},
                                             {"a.v", "--top", "9a"},
                                             {"a.v", "--top", "a", "--async-reset", "maybe"},
                                             {"a.v", "--top", "a", "--bogus"}}) {
    const quarn_run_t run = run_command_with_errors("quarn-verilog", bad);
    EXPECT_EQ(run.exit_status, 2) << testing::PrintToString(bad);
    EXPECT_NE(run.output.find("Usage: quarn-verilog"), std::string::npos);
  }
}

TEST(GateNetlist, ConstantsFoldIntoTheGatesTheyFeed) {
  // y1 = a & 1 -> a; y2 = a | 1 -> constant; y3 = a ^ 1 -> a'; y4 = (a & 0) | b
  // -> b; y5 = nand(a, b) with nothing constant.
  gate_netlist_t netlist;
  netlist.name = "m";
  netlist.inputs = {{"a", 2}, {"b", 3}, {"clk", 4}, {"spare", 5}};
  netlist.outputs = {{"y1", 10}, {"y2", 11}, {"y3", 12}, {"y4", 14}, {"y5", 15}, {"q", 16}};
  using k = netlist_gate_kind_t;
  netlist.gates = {{k::and_gate, {2, constant_1}, 10},
                   {k::or_gate, {2, constant_1}, 11},
                   {k::xor_gate, {2, constant_1}, 12},
                   {k::and_gate, {2, constant_0}, 13},
                   {k::or_gate, {13, 3}, 14},
                   {k::nand_gate, {2, 3}, 15},
                   {k::not_gate, {99}, 98}};  // reads nothing an output needs
  netlist.flipflops = {{"r", 15, 16}};
  netlist.clocks = {4};
  std::vector<std::string> notes;
  simplify_netlist(netlist, notes);
  EXPECT_EQ(notes,
            (std::vector<std::string>{"output y2 is constant 1: left out",
                                      "input clk is the clock: dropped, each flip-flop becomes a Dflipflop",
                                      "input spare drives no output and no register data: left out"}));
  ASSERT_EQ(netlist.inputs.size(), 2u);
  ASSERT_EQ(netlist.outputs.size(), 5u);
  ASSERT_EQ(netlist.gates.size(), 4u);
  EXPECT_EQ(netlist.gates[0].kind, k::buf_gate);
  EXPECT_EQ(netlist.gates[0].inputs, std::vector<int>{2});
  EXPECT_EQ(netlist.gates[1].kind, k::not_gate);
  EXPECT_EQ(netlist.gates[1].inputs, std::vector<int>{2});
  EXPECT_EQ(netlist.gates[2].kind, k::buf_gate);  // the Or left with b alone
  EXPECT_EQ(netlist.gates[2].inputs, std::vector<int>{3});
  EXPECT_EQ(netlist.gates[3].kind, k::nand_gate);
  EXPECT_EQ(netlist.flipflops.size(), 1u);

  gate_netlist_t loaded;
  loaded.name = "m";
  loaded.inputs = {{"a", 2}};
  loaded.outputs = {{"q", 5}};
  loaded.gates = {{k::and_gate, {2, constant_0}, 4}};
  loaded.flipflops = {{"r", 4, 5}};
  EXPECT_FATAL(simplify_netlist(loaded, notes), "flip-flop r loads a constant");
}

TEST(GateNetlist, CircuitFileNamesAvoidTheFormatsKeywordsAndCharacters) {
  EXPECT_EQ(cir_identifier("a"), "a");
  EXPECT_EQ(cir_identifier("b[3]"), "b[3]");
  EXPECT_EQ(cir_identifier("a->p_"), "a->p_");
  EXPECT_EQ(cir_identifier("Input"), "s_Input");
  EXPECT_EQ(cir_identifier("node"), "s_node");
  EXPECT_EQ(cir_identifier("And_2"), "s_And_2");
  EXPECT_EQ(cir_identifier("end."), "s_end.");
  EXPECT_EQ(cir_identifier("STROBEALL"), "s_STROBEALL");
  EXPECT_EQ(cir_identifier("3x"), "n_3x");
  EXPECT_EQ(cir_identifier("$abc$12"), "_abc_12");
  EXPECT_EQ(cir_identifier("a b(c);d"), "a_b_c__d");
  EXPECT_EQ(cir_identifier(""), "n_");
  EXPECT_EQ(cir_identifier(std::string(900, 'x')).size(), 700u);
}

TEST(GateNetlist, YosysJsonReadsPortsCellsAndConstants) {
  // A two-bit input counting up from 4, an output bit tied to 1, and a
  // flip-flop named by its register.
  const std::string json = R"({"modules": {"top": {
    "ports": {"c": {"direction": "input", "bits": [2]},
              "a": {"direction": "input", "bits": [3, 4], "offset": 4, "upto": 1},
              "y": {"direction": "output", "bits": [5, "1"]},
              "q": {"direction": "output", "bits": [6]}},
    "cells": {"$1": {"type": "$_NAND_", "connections": {"A": [3], "B": [4], "Y": [5]}},
              "$2": {"type": "$_DFF_P_", "connections": {"C": [2], "D": [5], "Q": [6]}}},
    "netnames": {"state": {"hide_name": 0, "bits": [6]}, "$tmp": {"hide_name": 1, "bits": [5]}}}}})";
  const gate_netlist_t netlist = netlist_from_yosys_json(json, "top");
  ASSERT_EQ(netlist.inputs.size(), 3u);
  EXPECT_EQ(netlist.inputs[1].name, "a[5]");
  EXPECT_EQ(netlist.inputs[2].name, "a[4]");
  ASSERT_EQ(netlist.outputs.size(), 3u);
  EXPECT_EQ(netlist.outputs[0].name, "y[0]");
  EXPECT_EQ(netlist.outputs[1].net, constant_1);
  ASSERT_EQ(netlist.gates.size(), 1u);
  EXPECT_EQ(netlist.gates[0].kind, netlist_gate_kind_t::nand_gate);
  ASSERT_EQ(netlist.flipflops.size(), 1u);
  EXPECT_EQ(netlist.flipflops[0].name, "state");
  EXPECT_EQ(netlist.clocks, std::set<int>{2});
  EXPECT_FATAL(netlist_from_yosys_json(json, "other"),
               "cannot read the netlist yosys wrote: no module other");
  EXPECT_FATAL(netlist_from_yosys_json("{", "top"), "cannot read the netlist yosys wrote");
  const std::string latch = R"({"modules": {"top": {"ports": {}, "cells": {"l": {"type": "$_DLATCH_P_",
    "connections": {}}}}}})";
  EXPECT_FATAL(netlist_from_yosys_json(latch, "top"), "the synthesis left cell l of type $_DLATCH_P_");
}

}  // namespace
