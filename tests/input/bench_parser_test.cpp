// Reading .bench netlists: every gate kind and width computes its function,
// a netlist runs as its .cir translation does, any name is a name, and every
// malformed netlist names its line.
#include "input/bench_parser.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/run.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/circuit_text.h"
#include "support/output_files.h"
#include "support/paths.h"
#include "support/run_quarn.h"

namespace {

// The tests' own reading of a netlist: signal -> kind and operands, kept
// apart from the program's reader.
struct netlist_t {
  std::vector<std::string> inputs;
  std::map<std::string, std::pair<std::string, std::vector<std::string>>> gates;
};

netlist_t parse_netlist(const std::string& text) {
  netlist_t n;
  std::istringstream in(text);
  static const std::regex input("\\s*INPUT\\s*\\(\\s*([^\\s)]+)\\s*\\)\\s*", std::regex::icase);
  static const std::regex gate("\\s*(\\S+)\\s*=\\s*(\\w+)\\((.*)\\)\\s*");
  for (std::string line; std::getline(in, line);) {
    line = line.substr(0, line.find('#'));
    std::smatch m;
    if (std::regex_match(line, m, input)) {
      n.inputs.push_back(m[1]);
    } else if (std::regex_match(line, m, gate)) {
      std::vector<std::string> operands;
      std::istringstream list(m[3].str());
      for (std::string op; std::getline(list, op, ',');)
        operands.push_back(std::regex_replace(op, std::regex("\\s"), ""));
      std::string kind = m[2];
      for (char& c : kind) c = static_cast<char>(std::toupper(c));
      n.gates[m[1]] = {kind, operands};
    }
  }
  return n;
}

// Every signal's value for one input vector (bit i of vector: input i).
std::map<std::string, bool> evaluate_netlist(const netlist_t& n, unsigned vector) {
  std::map<std::string, bool> value;
  for (size_t i = 0; i < n.inputs.size(); i++) value[n.inputs[i]] = (vector >> i) & 1;
  std::function<bool(const std::string&)> of = [&](const std::string& s) {
    if (auto v = value.find(s); v != value.end()) return v->second;
    const auto& [kind, ops] = n.gates.at(s);
    bool all = true, any = false, odd = false;
    for (const std::string& op : ops) {
      const bool v = of(op);
      all &= v, any |= v, odd ^= v;
    }
    const std::map<std::string, bool> result = {{"AND", all},  {"NAND", !all}, {"OR", any},
                                                {"NOR", !any}, {"XOR", odd},   {"XNOR", !odd},
                                                {"NOT", !all}, {"BUF", all},   {"BUFF", all}};
    return value[s] = result.at(kind);
  };
  for (const auto& [signal, gate] : n.gates) of(signal);
  return value;
}

// The same from the records the program's reader built (no flip-flops):
// each gate evaluated by its type once its inputs are known.
std::map<std::string, bool> evaluate_records(const circuit_C& circuit, const netlist_t& n, unsigned vector) {
  std::map<const line_C*, bool> value;
  for (size_t i = 0; i < n.inputs.size(); i++) value[signal_named(n.inputs[i])] = (vector >> i) & 1;
  for (bool changed = true; changed;) {
    changed = false;
    for (int g = 0; g < circuit.gates_C.anzahl_i; g++) {
      const gate_C* gate = circuit.gates_C[g];
      if (value.count(gate->output())) continue;
      bool all = true, any = false, odd = false, known = true;
      for (int i = 0; i < gate->inputs_C.anzahl_i && known; i++) {
        const auto v = value.find(gate->inputs_C[i]);
        known = v != value.end();
        if (known) all &= v->second, any |= v->second, odd ^= v->second;
      }
      if (!known) continue;
      const std::map<char, bool> result = {{AND_GATE, all},   {NAND_GATE, !all}, {OR_GATE, any},
                                           {NOR_GATE, !any},  {EXOR_GATE, odd},  {INVERTER_GATE, !all},
                                           {DRIVER_GATE, all}};
      value[gate->output()] = result.at(gate->gate_type_c);
      changed = true;
    }
  }
  std::map<std::string, bool> named;
  for (const auto& [line, v] : value) named[line->name_s] = v;
  return named;
}

TEST(BenchReader, EveryGateKindAndWidthComputesItsFunction) {
  const std::string text =
      "# every kind, in every letter case, with comments and blank lines\n"
      "INPUT(a)\nINPUT(b)\n  input( c )  # three\nINPUT(d)\nINPUT(e)\nINPUT(f)\n\n"
      "OUTPUT(y1)\nOUTPUT(y2)\nOUTPUT(y3)\nOUTPUT(y4)\nOUTPUT(y5)\nOUTPUT(y6)\nOUTPUT(y7)\n"
      "OUTPUT(y8)\nOUTPUT(y9)\nOUTPUT(y10)\nOUTPUT(y11)\nOUTPUT(y12)\nOUTPUT(y13)\nOUTPUT(y14)\n"
      "y1 = AND(a, b, c)\n"
      "y2 = nand(a,b)\n"
      "y3 = OR(a, b, c, d, e, f)\n"
      "y4 = NOR(d, e)\n"
      "y5 = XOR(a, b)\n"
      "y6 = XOR(a, c, e)\n"
      "y7 = XNOR(b, d)\n"
      "y8 = Xnor(a, b, e, f)\n"
      "y9 = NOT(y6)\n"
      "y10 = BUF(y8)\n"
      "y11 = BUFF(f)\n"
      "y12 = AND(c)\n"
      "y13 = NAND(d)\n"
      "y14 = XOR(y1, y2, y3, y4, y5)\n";
  const netlist_t netlist = parse_netlist(text);
  const circuit_C& circuit = load_circuit(text, false, "kinds.bench").circuit;
  // Exor records have two inputs and there is no Exnor: XOR(a, c, e) takes
  // two gates, XNOR(b, d) an Exor and an inverter, XNOR of four three Exors
  // and an inverter, XOR of five four: 14 netlist gates, 22 records.
  EXPECT_EQ(circuit.gates_C.anzahl_i, 22);
  EXPECT_EQ(circuit.statistic_u.no_exor_i, 11);
  EXPECT_EQ(circuit.statistic_u.no_inverter_i, 3);  // NOT, two XNOR ends
  EXPECT_EQ(circuit.input_lines_C.anzahl_i, 6);
  EXPECT_EQ(circuit.output_lines_C.anzahl_i, 14);
  for (unsigned v = 0; v < 64; v++) {
    const std::map<std::string, bool> expected = evaluate_netlist(netlist, v);
    const std::map<std::string, bool> built = evaluate_records(circuit, netlist, v);
    for (const auto& [signal, value] : expected) {
      ASSERT_TRUE(built.count(signal)) << signal;
      EXPECT_EQ(built.at(signal), value) << signal << " for input vector " << v;
    }
  }
}

// The figures of a statistics file and the values of a pattern file: the
// parts of a run that do not depend on the names.
std::string run_figures(const std::string& stem) {
  std::string figures;
  for (const std::string& line : text_lines(read_file(stem + ".stat"))) {
    if (line.starts_with("Number of") || line.starts_with("Fault Coverage") ||
        line.starts_with("Efficiency")) {
      figures += line + "\n";
    }
  }
  for (const pattern_line_t& p : read_pattern_file(stem + ".pat").patterns)
    figures += p.inputs + " " + p.outputs + "\n";
  return figures;
}

TEST(BenchReader, ANetlistRunsAsItsCirTranslationDoes) {
  // The translations prefix every name with "N"; gates, signals and
  // flip-flops are otherwise the same, so every figure and every pattern is.
  for (const char* name : {"c432", "s27"}) {
    SCOPED_TRACE(name);
    const std::string stem = name;
    write_file(stem + ".bench", read_file(std::string(QUARN_TEST_CIRCUITS) + "/" + stem + ".bench"));
    write_file("t_" + stem + ".cir", read_file(bench_circuit(stem)));
    for (const std::string& file : {stem + ".bench", "t_" + stem + ".cir"}) {
      const quarn_run_t run = run_quarn({file, "10", "STUCK_AT"});
      ASSERT_EQ(run.exit_status, 0) << run.output;
    }
    const std::string figures = run_figures(stem);
    EXPECT_NE(figures.find("Efficiency of Test generation:  100 %"), std::string::npos) << figures;
    EXPECT_EQ(figures, run_figures("t_" + stem));
    const pattern_file_t bench = read_pattern_file(stem + ".pat"),
                         cir = read_pattern_file("t_" + stem + ".pat");
    ASSERT_EQ(bench.inputs.size(), cir.inputs.size());
    for (size_t i = 0; i < cir.inputs.size(); i++) EXPECT_EQ("N" + bench.inputs[i], cir.inputs[i]);
  }
}

TEST(BenchReader, AnyNameIsANameAndTheStemKeepsItsDots) {
  // Keywords and delimiters of the .cir format, digits first, dots inside.
  const std::string text =
      "INPUT(begin)\nINPUT(Node)\nINPUT(1)\nINPUT(x.y[3])\nOUTPUT(end)\nOUTPUT(And_2)\n"
      "Circuit = NAND(begin, Node)\nend = AND(Circuit, 1)\nAnd_2 = NOR(x.y[3], Circuit)\n";
  write_file("my.design.v2.bench", text);
  const quarn_run_t run = run_quarn({"my.design.v2.bench", "10", "STUCK_AT"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  ASSERT_TRUE(file_exists("my.design.v2.pat"));
  const pattern_file_t patterns = read_pattern_file("my.design.v2.pat");
  EXPECT_EQ(patterns.inputs, (std::vector<std::string>{"begin", "Node", "1", "x.y[3]"}));
  EXPECT_EQ(patterns.outputs, (std::vector<std::string>{"end", "And_2"}));
  EXPECT_NE(read_file("my.design.v2.stat").find("Efficiency of Test generation:  100 %"), std::string::npos);
  // The fault-free outputs written for each pattern are the netlist's own
  // for every filling of its open inputs.
  const netlist_t netlist = parse_netlist(text);
  for (const pattern_line_t& p : patterns.patterns) {
    for (unsigned v = 0; v < 16; v++) {
      bool fits = true;
      for (size_t i = 0; i < 4; i++) fits &= p.inputs[i] == 'X' || (p.inputs[i] == '1') == bool((v >> i) & 1);
      if (!fits) continue;
      const std::map<std::string, bool> value = evaluate_netlist(netlist, v);
      for (size_t o = 0; o < 2; o++) {
        if (p.outputs[o] != 'X') {
          EXPECT_EQ(p.outputs[o] == '1', value.at(patterns.outputs[o])) << p.inputs;
        }
      }
    }
  }
}

TEST(BenchReader, WideGatesKeepEveryInput) {
  // An And of 150 inputs and a Nor of 120, none shared: each input's
  // non-controlling stuck-at fault is a class of its own, the controlling
  // ones fall into the output's class: 150 + 2 and 120 + 2 classes.
  std::string text = "OUTPUT(y)\nOUTPUT(z)\ny = AND(";
  for (int i = 0; i < 150; i++) text += (i ? ", a" : "a") + std::to_string(i);
  text += ")\nz = NOR(";
  for (int i = 0; i < 120; i++) text += (i ? ", b" : "b") + std::to_string(i);
  text += ")\n";
  for (int i = 0; i < 150; i++) text += "INPUT(a" + std::to_string(i) + ")\n";
  for (int i = 0; i < 120; i++) text += "INPUT(b" + std::to_string(i) + ")\n";
  write_file("wide.bench", text);
  const quarn_run_t run = run_quarn({"wide.bench", "10", "STUCK_AT"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const std::string stat = read_file("wide.stat");
  EXPECT_EQ(last_figure(stat, "Number of Equivalent Classes : "), 274);
  EXPECT_NE(stat.find("Fault Coverage:  100 %"), std::string::npos);
}

TEST(BenchReader, AMalformedNetlistNamesItsLineAndEndsWithStatusOne) {
  const std::string head = "INPUT(a)\nINPUT(b)\nOUTPUT(y)\n";
  const struct {
    std::string body, message;
  } cases[] = {
      {"y = AND(a, c)\n", "bad.bench, line 4: signal c is not driven"},
      {"y = AND(a, b)\nOUTPUT(q)\n", "bad.bench, line 5: signal q is not driven"},
      {"y = AND(a, b)\ny = OR(a, b)\n", "bad.bench, line 5: signal y is driven twice (first on line 4)"},
      {"y = AND(a, b)\nINPUT(y)\n", "bad.bench, line 5: signal y is driven twice (first on line 4)"},
      {"y = AND(a, b)\nINPUT(a)\n", "bad.bench, line 5: signal a is driven twice (first on line 1)"},
      {"y = AND(a, b)\nOUTPUT(y)\n", "bad.bench, line 5: signal y is an output twice (first on line 3)"},
      {"y = MUX(a, b)\n", "bad.bench, line 4: unknown gate type MUX"},
      {"y = NOT(a, b)\n", "bad.bench, line 4: NOT takes one input, not 2"},
      {"y = AND(a, b\n", "bad.bench, line 4: expected \",\" or \")\""},
      {"y = AND(a, )\n", "bad.bench, line 4: expected a signal name"},
      {"y AND(a, b)\n", "bad.bench, line 4: expected \"=\""},
      {"y = AND(a, b) z\n", "bad.bench, line 4: unexpected text behind the statement"},
      {"y = (a, b)\n", "bad.bench, line 4: expected a gate type behind \"=\""},
      {"WIRE(y)\n", "bad.bench, line 4: expected INPUT, OUTPUT or a gate \"signal = TYPE(...)\", found WIRE"},
      {"", "bad.bench: the netlist has no gate"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    write_file("bad.bench", head + c.body);
    const quarn_run_t run = run_quarn({"bad.bench", "10", "STUCK_AT"});
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_NE(run.output.find("ERROR!!!\n" + c.message + "\n"), std::string::npos) << run.output;
    EXPECT_NE(read_file("bad.stat").find(c.message), std::string::npos);
  }
}

}  // namespace
