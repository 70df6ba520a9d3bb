#include "input/bench_parser.h"

#include <strings.h>

#include <map>
#include <set>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "base/messages.h"
#include "base/settings.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

const std::string bench_extension = ".bench";

enum class kind_t { and_k, nand_k, or_k, nor_k, xor_k, xnor_k, not_k, buf_k, dff_k };

struct kind_word_t {
  const char* word;
  kind_t kind;
};
constexpr kind_word_t kind_words[] = {
    {"AND", kind_t::and_k},  {"NAND", kind_t::nand_k}, {"OR", kind_t::or_k},   {"NOR", kind_t::nor_k},
    {"XOR", kind_t::xor_k},  {"XNOR", kind_t::xnor_k}, {"NOT", kind_t::not_k}, {"BUF", kind_t::buf_k},
    {"BUFF", kind_t::buf_k}, {"DFF", kind_t::dff_k}};

struct statement_t {
  enum { input, output, gate } what;
  int line;
  std::string name;  // the signal declared or driven
  kind_t kind = kind_t::buf_k;
  std::string kind_word;  // as written, for messages
  std::vector<std::string> operands;
};

// One gate record to build: a netlist gate, or a part of one the records
// cannot hold as one gate (an XOR of more than two inputs, any XNOR).
struct gate_plan_t {
  char type;
  std::string group;  // gates are declared grouped by type and width
  std::vector<std::string> inputs;
  std::string output;
};

// The lexical level of one line: names are runs of anything but white
// space and the separators.
class line_cursor_C {
 public:
  explicit line_cursor_C(const std::string& text) : text_(text) {}

  bool at_end() {
    skip_space();
    return pos_ == text_.size();
  }
  bool next_is(char c) {
    skip_space();
    return pos_ < text_.size() && text_[pos_] == c;
  }
  // The next name; empty when the next character is no name character.
  std::string name() {
    skip_space();
    const size_t start = pos_;
    while (pos_ < text_.size() && !is_space(text_[pos_]) &&
           std::string("()=,").find(text_[pos_]) == std::string::npos) {
      pos_++;
    }
    return text_.substr(start, pos_ - start);
  }
  void skip() { pos_++; }

 private:
  const std::string& text_;
  size_t pos_ = 0;

  static bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
  void skip_space() {
    while (pos_ < text_.size() && is_space(text_[pos_])) pos_++;
  }
};

class bench_reader_C {
 public:
  bench_reader_C(circuit_C& circuit, const std::string& file_name)
      : circuit_(circuit), statistic_u(circuit.statistic_u), file_name_(file_name) {}

  void read(const std::string& text) {
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
      number++;
      parse_line(line.substr(0, line.find('#')), number);
    }
    check_drivers();
    expand_gates();
    build();
  }

 private:
  circuit_C& circuit_;
  statistic_t& statistic_u;
  const std::string& file_name_;
  std::vector<statement_t> statements_;
  std::unordered_map<std::string, int> driver_line_;  // signal -> line of its INPUT or gate
  std::vector<std::string> signal_order_;             // in the order of the Node list
  std::vector<gate_plan_t> plans_;
  std::set<std::string> gate_names_;

  [[noreturn]] void fail(int line, const std::string& what) const {
    error(string_C(file_name_ + ", line " + std::to_string(line) + ": " + what));
  }

  std::string signal_name(line_cursor_C& cursor, int line) const {
    std::string name = cursor.name();
    if (name.empty()) fail(line, "expected a signal name");
    return name;
  }
  void expect(line_cursor_C& cursor, char c, int line) const {
    if (!cursor.next_is(c)) fail(line, std::string("expected \"") + c + "\"");
    cursor.skip();
  }

  void parse_line(const std::string& text, int line) {
    line_cursor_C cursor(text);
    if (cursor.at_end()) return;
    statement_t s{statement_t::gate, line, "", kind_t::buf_k, "", {}};
    const std::string first = signal_name(cursor, line);
    if (cursor.next_is('(')) {
      if (strcasecmp(first.c_str(), "INPUT") == 0) {
        s.what = statement_t::input;
      } else if (strcasecmp(first.c_str(), "OUTPUT") == 0) {
        s.what = statement_t::output;
      } else {
        fail(line, "expected INPUT, OUTPUT or a gate \"signal = TYPE(...)\", found " + first);
      }
      cursor.skip();
      s.name = signal_name(cursor, line);
      expect(cursor, ')', line);
    } else {
      s.name = first;
      expect(cursor, '=', line);
      s.kind_word = cursor.name();
      if (s.kind_word.empty()) fail(line, "expected a gate type behind \"=\"");
      const kind_word_t* known = nullptr;
      for (const kind_word_t& k : kind_words) {
        if (strcasecmp(k.word, s.kind_word.c_str()) == 0) known = &k;
      }
      if (known == nullptr) fail(line, "unknown gate type " + s.kind_word);
      s.kind = known->kind;
      expect(cursor, '(', line);
      s.operands.push_back(signal_name(cursor, line));
      while (cursor.next_is(',')) {
        cursor.skip();
        s.operands.push_back(signal_name(cursor, line));
      }
      if (!cursor.next_is(')')) fail(line, "expected \",\" or \")\"");
      cursor.skip();
      const bool single = s.kind == kind_t::not_k || s.kind == kind_t::buf_k || s.kind == kind_t::dff_k;
      if (single && s.operands.size() != 1) {
        fail(line, s.kind_word + " takes one input, not " + std::to_string(s.operands.size()));
      }
    }
    if (!cursor.at_end()) fail(line, "unexpected text behind the statement");
    statements_.push_back(std::move(s));
  }

  void drive(const statement_t& s) {
    const auto [at, fresh] = driver_line_.emplace(s.name, s.line);
    if (!fresh)
      fail(s.line,
           "signal " + s.name + " is driven twice (first on line " + std::to_string(at->second) + ")");
  }

  // Every signal has exactly one source, every signal read has one, and no
  // output is named twice.
  void check_drivers() {
    bool any_gate = false;
    for (const statement_t& s : statements_) {
      if (s.what == statement_t::output) continue;
      drive(s);
      if (s.what == statement_t::input) signal_order_.push_back(s.name);
      any_gate |= s.what == statement_t::gate;
    }
    if (!any_gate) error(string_C(file_name_ + ": the netlist has no gate"));
    std::map<std::string, int> outputs;
    for (const statement_t& s : statements_) {
      const std::vector<std::string> read =
          s.what == statement_t::gate ? s.operands : std::vector<std::string>{};
      for (const std::string& name : read) {
        if (!driver_line_.count(name)) fail(s.line, "signal " + name + " is not driven");
      }
      if (s.what != statement_t::output) continue;
      if (!driver_line_.count(s.name)) fail(s.line, "signal " + s.name + " is not driven");
      const auto [at, fresh] = outputs.emplace(s.name, s.line);
      if (!fresh) {
        fail(s.line,
             "signal " + s.name + " is an output twice (first on line " + std::to_string(at->second) + ")");
      }
    }
  }

  // A name for a signal inside a netlist gate that no netlist signal has.
  std::string inner_signal(const std::string& output, int& k) {
    std::string name;
    do {
      name = output + "__i" + std::to_string(++k);
    } while (driver_line_.count(name));
    driver_line_.emplace(name, 0);
    signal_order_.push_back(name);
    return name;
  }

  void add_plan(char type, const std::vector<std::string>& inputs, const std::string& output) {
    static const std::map<char, std::string> type_names = {
        {AND_GATE, "And"},       {NAND_GATE, "Nand"},         {OR_GATE, "Or"},
        {NOR_GATE, "Nor"},       {EXOR_GATE, "Exor"},         {INVERTER_GATE, "Inverter"},
        {DRIVER_GATE, "Driver"}, {FLIPFLOP_GATE, "Dflipflop"}};
    std::string group = type_names.at(type);
    if (type == AND_GATE || type == NAND_GATE || type == OR_GATE || type == NOR_GATE) {
      group += "_" + std::to_string(inputs.size());
    }
    plans_.push_back({type, group, inputs, output});
  }

  // Netlist gates into gate records: the records' Exor has two inputs, and
  // there is no Exnor, so those become chains (and an inverter).
  void expand_gates() {
    for (const statement_t& s : statements_) {
      if (s.what != statement_t::gate) continue;
      const std::vector<std::string>& in = s.operands;
      switch (s.kind) {
        case kind_t::and_k:
          add_plan(AND_GATE, in, s.name);
          break;
        case kind_t::nand_k:
          add_plan(NAND_GATE, in, s.name);
          break;
        case kind_t::or_k:
          add_plan(OR_GATE, in, s.name);
          break;
        case kind_t::nor_k:
          add_plan(NOR_GATE, in, s.name);
          break;
        case kind_t::not_k:
          add_plan(INVERTER_GATE, in, s.name);
          break;
        case kind_t::buf_k:
          add_plan(DRIVER_GATE, in, s.name);
          break;
        case kind_t::dff_k:
          add_plan(FLIPFLOP_GATE, in, s.name);
          break;
        case kind_t::xor_k:
        case kind_t::xnor_k: {
          const bool inverted = s.kind == kind_t::xnor_k;
          if (in.size() == 1) {
            add_plan(inverted ? INVERTER_GATE : DRIVER_GATE, in, s.name);
            break;
          }
          int k = 0;
          std::string partial = in[0];
          for (size_t i = 1; i < in.size(); i++) {
            const bool last = i + 1 == in.size() && !inverted;
            const std::string out = last ? s.name : inner_signal(s.name, k);
            add_plan(EXOR_GATE, {partial, in[i]}, out);
            partial = out;
          }
          if (inverted) add_plan(INVERTER_GATE, {partial}, s.name);
          break;
        }
      }
      signal_order_.push_back(s.name);
    }
  }

  // "g_" and the output's name, as long as no signal is called so: a
  // fanout gate takes its stem's name.
  std::string gate_name(const std::string& output) {
    std::string name = "g_" + output;
    while (driver_line_.count(name) || !gate_names_.insert(name).second) name = "g_" + name;
    return name;
  }

  line_C* line_of(const std::string& name) const { return circuit_.search_line(name); }

  void build() {
    for (const std::string& name : signal_order_) {
      statistic_u.no_signals_i++;
      circuit_.add_line(circuit_.new_line(name, 5));
    }
    // Gate records by group, the groups in the order of their first gate.
    std::vector<std::string> groups;
    std::map<std::string, std::vector<const gate_plan_t*>> by_group;
    for (const gate_plan_t& plan : plans_) {
      auto& members = by_group[plan.group];
      if (members.empty()) groups.push_back(plan.group);
      members.push_back(&plan);
    }
    std::unordered_map<const gate_plan_t*, gate_C*> gate_of;
    for (const std::string& group : groups) {
      for (const gate_plan_t* plan : by_group[group]) {
        gate_C* g = circuit_.new_gate(gate_name(plan->output));
        circuit_.add_gate(g);
        g->belege_gate(plan->type, static_cast<int>(plan->inputs.size()), 1);
        count_gate(plan->type);
        gate_of[plan] = g;
      }
    }
    for (const statement_t& s : statements_) {
      if (s.what == statement_t::gate) continue;
      const bool input = s.what == statement_t::input;
      line_C* line = line_of(s.name);
      (input ? statistic_u.no_primary_inputs_i : statistic_u.no_primary_outputs_i)++;
      (input ? line->primary_input_b : line->primary_output_b) = 1;
      if (input) {
        circuit_.add_input(line);
      } else {
        circuit_.add_output(line);
      }
    }
    for (const gate_plan_t& plan : plans_) {
      line_liste_C inputs;
      inputs.init(static_cast<int>(plan.inputs.size()));
      for (const std::string& name : plan.inputs) inputs.fuege_ein(line_of(name));
      gate_of[&plan]->connect_input(inputs);
      line_liste_C output;
      output.init(1);
      output.fuege_ein(line_of(plan.output));
      gate_of[&plan]->connect_output(output);
    }
  }

  void count_gate(char type) {
    statistic_u.no_gates_i++;
    switch (type) {
      case AND_GATE:
        statistic_u.no_and_i++;
        break;
      case NAND_GATE:
        statistic_u.no_nand_i++;
        break;
      case OR_GATE:
        statistic_u.no_or_i++;
        break;
      case NOR_GATE:
        statistic_u.no_nor_i++;
        break;
      case EXOR_GATE:
        statistic_u.no_exor_i++;
        break;
      case INVERTER_GATE:
        statistic_u.no_inverter_i++;
        break;
      case DRIVER_GATE:
        statistic_u.no_driver_i++;
        break;
      default:
        statistic_u.no_flipflop_i++;
        break;
    }
  }
};

}  // namespace

bool is_bench_file(const std::string& file_name) {
  return file_name.size() > bench_extension.size() &&
         file_name.compare(file_name.size() - bench_extension.size(), bench_extension.size(),
                           bench_extension) == 0;
}

void read_bench_circuit(circuit_C& circuit, settings_C& settings, const std::string& text) {
  const std::string file_name = settings.schaltungsname_s;
  // The stem first, so that a message about the netlist lands in its files.
  // Only ".bench" goes: "s9234.1.bench" gives "s9234.1.pat", ...
  settings.schaltungsname_s = file_name.substr(0, file_name.size() - bench_extension.size());
  bench_reader_C(circuit, file_name).read(text);
}
