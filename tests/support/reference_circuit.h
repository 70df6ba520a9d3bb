// A circuit evaluator of the tests' own, independent of the program's reader,
// implication and fault simulation: it parses the .cir text itself and
// simulates 64 input patterns at a time.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class line_C;

// A stuck-at fault: on a whole signal, on one input pin of a gate (a fanout
// branch), or only where a primary output is observed.
struct reference_fault_t {
  enum kind_t { on_signal, on_pin, on_output } kind;
  int index;  // signal, gate or output position
  int pin;    // input position for a pin fault
  bool stuck_at_one;
};

class reference_circuit_t {
 public:
  explicit reference_circuit_t(const std::string& cir_text);

  // Primary inputs (flip-flop outputs appended) and primary outputs
  // (flip-flop inputs appended), by signal name.
  const std::vector<std::string>& inputs() const { return input_names_; }
  const std::vector<std::string>& outputs() const { return output_names_; }
  int signal(const std::string& name) const { return signal_index_.at(name); }
  int output_position(const std::string& signal_name) const;

  // Every signal's word for 64 patterns: bit b of inputs[i] is input i in
  // pattern b.
  std::vector<uint64_t> signal_values(const std::vector<uint64_t>& inputs,
                                      const reference_fault_t* fault = nullptr) const;
  // Three-valued: per input the patterns where it may be 0 and where it may
  // be 1 (both for an unknown value); the same pair of words per signal.
  struct dual_rail_t {
    std::vector<uint64_t> may_be_0, may_be_1;
  };
  dual_rail_t dual_rail_values(const dual_rail_t& inputs, const reference_fault_t* fault = nullptr) const;
  // The patterns whose specified inputs alone decide that the fault is
  // detected: some output is known in both circuits and differs, whatever
  // the unknown inputs are.
  uint64_t guaranteed_detections(const dual_rail_t& inputs, const reference_fault_t& fault) const;
  // Every stuck-at fault: both values on every signal, on every gate input
  // pin and where every output is observed.
  std::vector<reference_fault_t> all_faults() const;
  // The output words, in the order of outputs().
  std::vector<uint64_t> simulate(const std::vector<uint64_t>& inputs,
                                 const reference_fault_t* fault = nullptr) const;
  // The patterns that detect the fault at an output.
  uint64_t detecting_patterns(const std::vector<uint64_t>& inputs, const reference_fault_t& fault) const;
  // The patterns that give the fault's site the value opposite to the stuck
  // one: those that activate it.
  uint64_t activating_patterns(const std::vector<uint64_t>& inputs, const reference_fault_t& fault) const;
  // Whether some input combination detects (only activates) the fault;
  // enumerates all of them, so at most 20 inputs.
  bool detectable(const reference_fault_t& fault, bool activation_suffices = false) const;
  // The type of the gate driving a signal, in lower case ("nand", "nor",
  // "and", ...), or "input" for a primary or pseudo input.
  std::string driver_type(const std::string& signal_name) const;
  // The fault of a line of the program's transformed circuit.
  reference_fault_t fault_of(const line_C* line, bool stuck_at_one) const;

 private:
  enum kind_t : char { and_gate, nand_gate, or_gate, nor_gate, exor_gate, inverter_gate, driver_gate };
  struct gate_t {
    kind_t kind;  // decoded once: every check evaluates gates millions of times
    std::vector<int> inputs;
    int output;
  };
  std::vector<std::string> input_names_, output_names_;
  std::vector<int> input_signals_, output_signals_;
  std::map<std::string, int> signal_index_, gate_index_;
  std::vector<gate_t> gates_;  // combinational gates in topological order
  std::map<std::string, std::string> driver_types_;
  int site(const reference_fault_t& fault) const;
};
