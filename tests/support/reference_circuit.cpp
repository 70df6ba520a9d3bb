#include "support/reference_circuit.h"

#include <cctype>
#include <functional>
#include <stdexcept>

#include "model/gate.h"
#include "model/line.h"

namespace {

// Names and the punctuation "(),:;", comments from "{" to the last "}" of
// its line left out; keywords in lower case.
std::vector<std::string> tokens(const std::string& text) {
  std::vector<std::string> out(1);
  for (size_t i = 0; i < text.size(); i++) {
    const char c = text[i];
    const size_t close = c == '{' ? text.rfind('}', text.find('\n', i)) : std::string::npos;
    if (close != std::string::npos && close > i) {
      i = close;
      out.emplace_back();
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      out.emplace_back();
    } else if (std::string("(),:;").find(c) != std::string::npos) {
      out.push_back(std::string(1, c));
      out.emplace_back();
    } else {
      out.back() += c;
    }
  }
  std::erase(out, "");
  return out;
}

}  // namespace

reference_circuit_t::reference_circuit_t(const std::string& text) {
  const std::vector<std::string> t = tokens(text);
  size_t p = 4;  // after "Circuit name ; Node"
  auto names_until = [&](const std::string& stop) {
    std::vector<std::string> names;
    for (; t.at(p) != stop; p++) {
      if (t[p] != ",") names.push_back(t[p]);
    }
    p++;
    return names;
  };
  auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s.substr(0, s.find('_'));
  };
  int signals = 0;
  for (const std::string& n : names_until(":")) signal_index_[n] = signals++;
  p += 2;  // bit ;
  std::map<std::string, std::string> types;
  while (lower(t.at(p)) != "input") {
    if (lower(t[p]) == "con") {
      names_until(")");
      continue;
    }
    std::vector<std::string> names = names_until(":");
    for (const std::string& n : names) types[n] = lower(t.at(p));
    p += 2;
  }
  p++;
  input_names_ = names_until(";");
  p++;
  output_names_ = names_until(";");
  names_until(";");  // Strobe
  p++;               // begin
  static const std::map<std::string, kind_t> kinds = {
      {"and", and_gate},   {"nand", nand_gate},         {"or", or_gate},        {"nor", nor_gate},
      {"exor", exor_gate}, {"inverter", inverter_gate}, {"driver", driver_gate}};
  std::vector<gate_t> declared;
  std::vector<std::string> names(signals);
  for (const auto& [n, i] : signal_index_) names[i] = n;
  while (t.at(p) != "end.") {
    const std::string name = t[p];
    p += 2;
    std::vector<int> ins;
    for (const std::string& n : names_until(";")) ins.push_back(signal_index_.at(n));
    const int out = signal_index_.at(names_until(")").at(0));
    p++;
    if (types.at(name) == "dflipflop") {
      // Cut: the output becomes an input, the input an output.
      input_names_.push_back(names[out]);
      output_names_.push_back(names[ins[0]]);
      continue;
    }
    if (!kinds.count(types[name])) throw std::runtime_error("reference: gate type " + types[name]);
    driver_types_[names[out]] = types[name];
    gate_index_[name] = static_cast<int>(declared.size());
    declared.push_back({kinds.at(types[name]), ins, out});
  }
  for (const std::string& n : input_names_) input_signals_.push_back(signal_index_.at(n));
  for (const std::string& n : output_names_) output_signals_.push_back(signal_index_.at(n));
  // Topological order; gate_index_ follows the gates to their places.
  std::vector<int> driver(signals, -1), place(declared.size(), -1);
  for (size_t i = 0; i < declared.size(); i++) driver[declared[i].output] = static_cast<int>(i);
  std::function<void(int)> visit = [&](int g) {
    if (place[g] == -2) throw std::runtime_error("reference: loop");
    if (place[g] >= 0) return;
    place[g] = -2;
    for (int s : declared[g].inputs) {
      if (driver[s] >= 0) visit(driver[s]);
    }
    place[g] = static_cast<int>(gates_.size());
    gates_.push_back(declared[g]);
  };
  for (size_t i = 0; i < declared.size(); i++) visit(static_cast<int>(i));
  for (auto& [name, index] : gate_index_) index = place[index];
}

std::string reference_circuit_t::driver_type(const std::string& signal_name) const {
  const auto it = driver_types_.find(signal_name);
  return it == driver_types_.end() ? "input" : it->second;
}

int reference_circuit_t::output_position(const std::string& name) const {
  for (size_t i = 0; i < output_signals_.size(); i++) {
    if (output_signals_[i] == signal_index_.at(name)) return static_cast<int>(i);
  }
  throw std::runtime_error("reference: not an output " + name);
}

std::vector<uint64_t> reference_circuit_t::signal_values(const std::vector<uint64_t>& in,
                                                         const reference_fault_t* fault) const {
  const uint64_t stuck = fault && fault->stuck_at_one ? ~0ULL : 0ULL;
  const bool on_signal = fault && fault->kind == reference_fault_t::on_signal;
  std::vector<uint64_t> v(signal_index_.size(), 0);
  for (size_t i = 0; i < input_signals_.size(); i++) v[input_signals_[i]] = in[i];
  if (on_signal) v[fault->index] = stuck;
  for (size_t gi = 0; gi < gates_.size(); gi++) {
    const gate_t& g = gates_[gi];
    const bool pin_fault = fault && fault->kind == reference_fault_t::on_pin && fault->index == int(gi);
    auto input = [&](size_t k) { return pin_fault && fault->pin == int(k) ? stuck : v[g.inputs[k]]; };
    const bool inverting = g.kind == nand_gate || g.kind == nor_gate || g.kind == inverter_gate;
    uint64_t r = input(0);
    for (size_t k = 1; k < g.inputs.size(); k++) {
      if (g.kind == and_gate || g.kind == nand_gate) r &= input(k);
      if (g.kind == or_gate || g.kind == nor_gate) r |= input(k);
      if (g.kind == exor_gate) r ^= input(k);
    }
    v[g.output] = inverting ? ~r : r;
    if (on_signal && fault->index == g.output) v[g.output] = stuck;
  }
  return v;
}

reference_circuit_t::dual_rail_t reference_circuit_t::dual_rail_values(const dual_rail_t& in,
                                                                       const reference_fault_t* fault) const {
  dual_rail_t v{std::vector<uint64_t>(signal_index_.size(), 0),
                std::vector<uint64_t>(signal_index_.size(), 0)};
  // A stuck line is known: it may only be its stuck value.
  const uint64_t stuck_0 = fault && !fault->stuck_at_one ? ~0ULL : 0,
                 stuck_1 = fault && fault->stuck_at_one ? ~0ULL : 0;
  const bool on_signal = fault && fault->kind == reference_fault_t::on_signal;
  for (size_t i = 0; i < input_signals_.size(); i++) {
    v.may_be_0[input_signals_[i]] = in.may_be_0[i];
    v.may_be_1[input_signals_[i]] = in.may_be_1[i];
  }
  if (on_signal) v.may_be_0[fault->index] = stuck_0, v.may_be_1[fault->index] = stuck_1;
  for (size_t gi = 0; gi < gates_.size(); gi++) {
    const gate_t& g = gates_[gi];
    const bool pin_fault = fault && fault->kind == reference_fault_t::on_pin && fault->index == int(gi);
    auto zero = [&](size_t k) {
      return pin_fault && fault->pin == int(k) ? stuck_0 : v.may_be_0[g.inputs[k]];
    };
    auto one = [&](size_t k) {
      return pin_fault && fault->pin == int(k) ? stuck_1 : v.may_be_1[g.inputs[k]];
    };
    uint64_t z = zero(0), o = one(0);
    for (size_t k = 1; k < g.inputs.size(); k++) {
      const uint64_t zk = zero(k), ok = one(k);
      if (g.kind == and_gate || g.kind == nand_gate) {
        z |= zk, o &= ok;
      } else if (g.kind == or_gate || g.kind == nor_gate) {
        z &= zk, o |= ok;
      } else {  // exor
        const uint64_t z2 = (z & zk) | (o & ok), o2 = (z & ok) | (o & zk);
        z = z2, o = o2;
      }
    }
    const bool inverting = g.kind == nand_gate || g.kind == nor_gate || g.kind == inverter_gate;
    v.may_be_0[g.output] = inverting ? o : z;
    v.may_be_1[g.output] = inverting ? z : o;
    if (on_signal && fault->index == g.output) v.may_be_0[g.output] = stuck_0, v.may_be_1[g.output] = stuck_1;
  }
  return v;
}

uint64_t reference_circuit_t::guaranteed_detections(const dual_rail_t& in,
                                                    const reference_fault_t& fault) const {
  const dual_rail_t good = dual_rail_values(in), bad = dual_rail_values(in, &fault);
  uint64_t detected = 0;
  for (size_t o = 0; o < output_signals_.size(); o++) {
    const int s = output_signals_[o];
    uint64_t bad_0 = bad.may_be_0[s], bad_1 = bad.may_be_1[s];
    if (fault.kind == reference_fault_t::on_output && fault.index == int(o)) {
      bad_0 = fault.stuck_at_one ? 0 : ~0ULL;
      bad_1 = ~bad_0;
    }
    // Known means it may be one value only.
    const uint64_t good_0 = good.may_be_0[s] & ~good.may_be_1[s],
                   good_1 = good.may_be_1[s] & ~good.may_be_0[s];
    detected |= (good_0 & bad_1 & ~bad_0) | (good_1 & bad_0 & ~bad_1);
  }
  return detected;
}

std::vector<reference_fault_t> reference_circuit_t::all_faults() const {
  std::vector<reference_fault_t> faults;
  for (bool one : {false, true}) {
    for (size_t s = 0; s < signal_index_.size(); s++) {
      faults.push_back({reference_fault_t::on_signal, static_cast<int>(s), 0, one});
    }
    for (size_t g = 0; g < gates_.size(); g++) {
      for (size_t k = 0; k < gates_[g].inputs.size(); k++) {
        faults.push_back({reference_fault_t::on_pin, static_cast<int>(g), static_cast<int>(k), one});
      }
    }
    for (size_t o = 0; o < output_signals_.size(); o++) {
      faults.push_back({reference_fault_t::on_output, static_cast<int>(o), 0, one});
    }
  }
  return faults;
}

std::vector<uint64_t> reference_circuit_t::simulate(const std::vector<uint64_t>& in,
                                                    const reference_fault_t* fault) const {
  const std::vector<uint64_t> v = signal_values(in, fault);
  std::vector<uint64_t> out;
  for (int s : output_signals_) out.push_back(v[s]);
  if (fault && fault->kind == reference_fault_t::on_output)
    out[fault->index] = fault->stuck_at_one ? ~0ULL : 0;
  return out;
}

uint64_t reference_circuit_t::detecting_patterns(const std::vector<uint64_t>& in,
                                                 const reference_fault_t& fault) const {
  const std::vector<uint64_t> good = simulate(in), bad = simulate(in, &fault);
  uint64_t differ = 0;
  for (size_t i = 0; i < good.size(); i++) differ |= good[i] ^ bad[i];
  return differ;
}

int reference_circuit_t::site(const reference_fault_t& fault) const {
  if (fault.kind == reference_fault_t::on_pin) return gates_[fault.index].inputs[fault.pin];
  return fault.kind == reference_fault_t::on_output ? output_signals_[fault.index] : fault.index;
}

uint64_t reference_circuit_t::activating_patterns(const std::vector<uint64_t>& in,
                                                  const reference_fault_t& fault) const {
  const uint64_t good = signal_values(in)[site(fault)];
  return fault.stuck_at_one ? ~good : good;
}

bool reference_circuit_t::detectable(const reference_fault_t& fault, bool activation_suffices) const {
  const size_t n = input_signals_.size();
  if (n > 20) throw std::runtime_error("reference: too many inputs to enumerate");
  const uint64_t combinations = 1ULL << n;
  for (uint64_t base = 0; base < combinations; base += 64) {
    std::vector<uint64_t> in(n, 0);
    for (uint64_t b = 0; b < 64 && base + b < combinations; b++) {
      for (size_t i = 0; i < n; i++) in[i] |= ((base + b) >> i & 1) << b;
    }
    const uint64_t valid = combinations - base >= 64 ? ~0ULL : (1ULL << (combinations - base)) - 1;
    const uint64_t hits =
        activation_suffices ? activating_patterns(in, fault) : detecting_patterns(in, fault);
    if (hits & valid) return true;
  }
  return false;
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
