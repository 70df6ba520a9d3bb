#include "support/reference_circuit.h"

#include <cctype>
#include <functional>
#include <stdexcept>

#include "model/gate.h"
#include "model/line.h"

namespace {

std::vector<std::string> tokens(const std::string& text) {
  std::vector<std::string> out;
  std::string current;
  auto flush = [&] {
    if (!current.empty()) out.push_back(current);
    current.clear();
  };
  for (size_t i = 0; i < text.size(); i++) {
    char c = text[i];
    if (c == '{') {
      size_t end = text.find('\n', i);
      size_t close = text.rfind('}', end == std::string::npos ? std::string::npos : end);
      if (close != std::string::npos && close > i && (end == std::string::npos || close < end)) {
        flush();
        i = close;
        continue;
      }
    }
    if (std::isspace(static_cast<unsigned char>(c))) {
      flush();
    } else if (std::string("(),:;=").find(c) != std::string::npos) {
      flush();
      out.push_back(std::string(1, c));
    } else {
      current += c;
    }
  }
  flush();
  return out;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

reference_circuit_t::kind_t reference_circuit_t::kind_of(const std::string& type) {
  static const std::map<std::string, kind_t> kinds = {
      {"and", and_gate},   {"nand", nand_gate},         {"or", or_gate},        {"nor", nor_gate},
      {"exor", exor_gate}, {"inverter", inverter_gate}, {"driver", driver_gate}};
  auto at = kinds.find(type);
  return at == kinds.end() ? other_gate : at->second;
}

reference_circuit_t::reference_circuit_t(const std::string& text) {
  std::vector<std::string> t = tokens(text);
  size_t p = 0;
  auto expect = [&](const std::string& s) {
    if (t.at(p) != s) throw std::runtime_error("reference parser: expected " + s + " got " + t.at(p));
    p++;
  };
  auto names_until = [&](const std::string& stop) {
    std::vector<std::string> names;
    while (t.at(p) != stop) {
      if (t[p] != ",") names.push_back(t[p]);
      p++;
    }
    p++;
    return names;
  };
  p = 3;  // Circuit name ;
  p++;    // Node
  for (const std::string& n : names_until(":")) signal_index_[n] = signal_count_++;
  p += 2;  // bit ;
  std::map<std::string, std::string> gate_types;
  std::vector<std::string> gate_order;
  while (lower(t.at(p)) != "input") {
    if (lower(t[p]) == "con") {
      p++;
      names_until(")");
      continue;
    }
    std::vector<std::string> names = names_until(":");
    std::string type = lower(t.at(p));
    p += 2;
    type = type.substr(0, type.find('_'));
    for (const std::string& n : names) {
      gate_types[n] = type;
      gate_order.push_back(n);
    }
  }
  p++;
  input_names_ = names_until(";");
  p++;
  output_names_ = names_until(";");
  names_until(";");  // Strobe
  expect("begin");
  std::vector<int> flipflops;
  while (t.at(p) != "end.") {
    std::string name = t[p++];
    expect("(");
    std::vector<std::string> ins = names_until(";");
    std::vector<std::string> outs = names_until(")");
    expect(";");
    gate_t g;
    g.type = gate_types.at(name);
    g.kind = kind_of(g.type);
    for (const std::string& n : ins) g.inputs.push_back(signal_index_.at(n));
    g.output = signal_index_.at(outs.at(0));
    gate_index_[name] = static_cast<int>(gates_.size());
    if (g.type == "dflipflop") flipflops.push_back(static_cast<int>(gates_.size()));
    gates_.push_back(g);
  }
  for (const std::string& n : input_names_) input_signals_.push_back(signal_index_.at(n));
  for (const std::string& n : output_names_) output_signals_.push_back(signal_index_.at(n));
  // Flip-flops are cut: their outputs become inputs, their inputs outputs.
  std::vector<std::string> names(signal_count_);
  for (const auto& [n, i] : signal_index_) names[i] = n;
  for (int f : flipflops) {
    output_signals_.push_back(gates_[f].inputs[0]);
    output_names_.push_back(names[gates_[f].inputs[0]]);
    input_signals_.push_back(gates_[f].output);
    input_names_.push_back(names[gates_[f].output]);
  }
  // Topological order of the combinational gates.
  std::vector<int> driver(signal_count_, -1);
  for (size_t i = 0; i < gates_.size(); i++) {
    if (gates_[i].type != "dflipflop") driver[gates_[i].output] = static_cast<int>(i);
  }
  std::vector<char> state(gates_.size(), 0);
  std::function<void(int)> visit = [&](int g) {
    if (state[g] == 2) return;
    if (state[g] == 1) throw std::runtime_error("reference parser: loop");
    state[g] = 1;
    for (int s : gates_[g].inputs) {
      if (driver[s] >= 0) visit(driver[s]);
    }
    state[g] = 2;
    order_.push_back(g);
  };
  for (size_t i = 0; i < gates_.size(); i++) {
    if (gates_[i].type != "dflipflop") visit(static_cast<int>(i));
  }
}

int reference_circuit_t::output_position(const std::string& name) const {
  int s = signal_index_.at(name);
  for (size_t i = 0; i < output_signals_.size(); i++) {
    if (output_signals_[i] == s) return static_cast<int>(i);
  }
  throw std::runtime_error("reference: not an output " + name);
}

std::vector<uint64_t> reference_circuit_t::signal_values(const std::vector<uint64_t>& in,
                                                         const reference_fault_t* fault) const {
  const uint64_t stuck = fault && fault->stuck_at_one ? ~0ULL : 0ULL;
  std::vector<uint64_t> v(signal_count_, 0);
  for (size_t i = 0; i < input_signals_.size(); i++) v[input_signals_[i]] = in[i];
  auto force_signal = [&](int s) {
    if (fault && fault->kind == reference_fault_t::on_signal && fault->index == s) v[s] = stuck;
  };
  for (int s : input_signals_) force_signal(s);
  for (int gi : order_) {
    const gate_t& g = gates_[gi];
    auto input = [&](size_t k) {
      if (fault && fault->kind == reference_fault_t::on_pin && fault->index == gi &&
          fault->pin == static_cast<int>(k)) {
        return stuck;
      }
      return v[g.inputs[k]];
    };
    uint64_t r;
    switch (g.kind) {
      case and_gate:
      case nand_gate:
        r = ~0ULL;
        for (size_t k = 0; k < g.inputs.size(); k++) r &= input(k);
        if (g.kind == nand_gate) r = ~r;
        break;
      case or_gate:
      case nor_gate:
        r = 0;
        for (size_t k = 0; k < g.inputs.size(); k++) r |= input(k);
        if (g.kind == nor_gate) r = ~r;
        break;
      case exor_gate:
        r = input(0) ^ input(1);
        break;
      case inverter_gate:
        r = ~input(0);
        break;
      case driver_gate:
        r = input(0);
        break;
      default:
        throw std::runtime_error("reference: gate type " + g.type);
    }
    v[g.output] = r;
    force_signal(g.output);
  }
  return v;
}

std::vector<uint64_t> reference_circuit_t::simulate(const std::vector<uint64_t>& in,
                                                    const reference_fault_t* fault) const {
  return outputs(signal_values(in, fault), fault);
}

std::vector<uint64_t> reference_circuit_t::outputs(const std::vector<uint64_t>& v,
                                                   const reference_fault_t* fault) const {
  const uint64_t stuck = fault && fault->stuck_at_one ? ~0ULL : 0ULL;
  std::vector<uint64_t> out;
  for (size_t i = 0; i < output_signals_.size(); i++) {
    uint64_t o = v[output_signals_[i]];
    if (fault && fault->kind == reference_fault_t::on_output && fault->index == static_cast<int>(i))
      o = stuck;
    out.push_back(o);
  }
  return out;
}

uint64_t reference_circuit_t::detecting_patterns(const std::vector<uint64_t>& in,
                                                 const reference_fault_t& fault) const {
  std::vector<uint64_t> good = simulate(in);
  std::vector<uint64_t> bad = simulate(in, &fault);
  uint64_t differ = 0;
  for (size_t i = 0; i < good.size(); i++) differ |= good[i] ^ bad[i];
  return differ;
}

uint64_t reference_circuit_t::activating_patterns(const std::vector<uint64_t>& in,
                                                  const reference_fault_t& fault) const {
  const std::vector<uint64_t> v = signal_values(in, nullptr);
  int site = fault.index;
  if (fault.kind == reference_fault_t::on_pin) site = gates_[fault.index].inputs[fault.pin];
  if (fault.kind == reference_fault_t::on_output) site = output_signals_[fault.index];
  return fault.stuck_at_one ? ~v[site] : v[site];
}

template <class P>
bool reference_circuit_t::any_combination(P patterns) const {
  const size_t n = input_signals_.size();
  if (n > 20) throw std::runtime_error("reference: too many inputs to enumerate");
  const uint64_t combinations = 1ULL << n;
  for (uint64_t base = 0; base < combinations; base += 64) {
    std::vector<uint64_t> in(n, 0);
    for (uint64_t b = 0; b < 64 && base + b < combinations; b++) {
      for (size_t i = 0; i < n; i++) {
        if ((base + b) >> i & 1) in[i] |= 1ULL << b;
      }
    }
    uint64_t valid = combinations - base >= 64 ? ~0ULL : (1ULL << (combinations - base)) - 1;
    if (patterns(in) & valid) return true;
  }
  return false;
}

bool reference_circuit_t::detectable(const reference_fault_t& fault) const {
  return any_combination([&](const std::vector<uint64_t>& in) { return detecting_patterns(in, fault); });
}

bool reference_circuit_t::activatable(const reference_fault_t& fault) const {
  return any_combination([&](const std::vector<uint64_t>& in) { return activating_patterns(in, fault); });
}

reference_fault_t reference_circuit_t::fault_of(const line_C* line, bool stuck_at_one) const {
  const bool branch = !line->primary_input_b && line->vorgaenger_C.anzahl_i > 0 &&
                      line->vorgaenger_C[0]->gate_type_c == FANOUT_GATE;
  if (!branch) return {reference_fault_t::on_signal, signal_index_.at(line->name_s), 0, stuck_at_one};
  const line_C* stem = line->vorgaenger_C[0]->inputs_C[0];
  if (line->nachfolger_C.anzahl_i == 0 || line->primary_output_b) {
    return {reference_fault_t::on_output, output_position(stem->name_s), 0, stuck_at_one};
  }
  const gate_C* successor = line->nachfolger_C[0];
  int pin = 0;
  while (successor->inputs_C[pin] != line) pin++;
  return {reference_fault_t::on_pin, gate_index_.at(successor->name_s), pin, stuck_at_one};
}
