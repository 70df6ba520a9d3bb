// What a complete run writes is re-checked by the tests' own evaluator:
// every pattern of the ".pat" file is simulated under several fillings of
// its open inputs; its expected outputs must be the fault-free response, the
// faults the ".tests" log credits to it must be detected by it (as far as
// open inputs allow, see `credited`), every fault outside the ".red" file
// must be credited to some pattern, and every fault in it must be
// undetectable.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/bench_reference.h"
#include "support/circuit_text.h"
#include "support/output_files.h"
#include "support/paths.h"
#include "support/reference_circuit.h"
#include "support/run_quarn.h"

namespace {

enum class model_t { stuck_at, without_branches, iddq };

const char* keyword(model_t model) {
  switch (model) {
    case model_t::stuck_at:
      return "STUCK_AT";
    case model_t::without_branches:
      return "STUCK_AT_WITHOUT_BRANCHES";
    case model_t::iddq:
      return "IDDQ";
  }
  return "";
}

bool is_branch(const line_C* l) {
  return !l->primary_input_b && l->vorgaenger_C.anzahl_i > 0 && l->driver()->gate_type_c == FANOUT_GATE;
}

std::string describe(const named_fault_t& f) {
  return f.name + (f.stuck_at_one ? " s-a-1" : " s-a-0");
}

// One run of the program on a copy of a circuit, with the circuit also
// loaded here through the program's reader to map its names to the
// evaluator's faults.
class checked_run_t {
 public:
  checked_run_t(const std::string& source, model_t model)
      : model_(model),
        stem_(std::filesystem::path(source).stem().string()),
        text_(read_file(source)),
        ref_(text_) {
    // The program writes its files next to the circuit: run on a copy.
    write_file(stem_ + ".cir", text_);
    run_ = run_quarn({stem_ + ".cir", "10", keyword(model)});
    load_circuit(text_, true, stem_ + ".cir");
    for (int i = 0; i < lines_C.anzahl_i; i++) lines_[lines_C[i]->name_s] = lines_C[i];
  }

  void check() {
    ASSERT_EQ(run_.exit_status, 0) << run_.output;
    ASSERT_EQ(run_.output.find("ERROR"), std::string::npos) << run_.output;
    pat_ = read_pattern_file(stem_ + ".pat");
    log_ = read_test_log(stem_ + ".tests");
    red_ = read_redundant_file(stem_ + ".red");
    ASSERT_FALSE(pat_.patterns.empty());
    ASSERT_EQ(log_.size(), pat_.patterns.size()) << "one log line per pattern";
    map_columns();
    if (testing::Test::HasFailure()) return;
    check_patterns();
    check_coverage();
    check_redundant();
    check_report();
  }

  std::string stat() const { return read_file(stem_ + ".stat"); }
  const std::vector<named_fault_t>& redundant() const { return red_; }

 private:
  // Pattern columns to the evaluator's inputs and outputs. A primary output
  // that the transformation replaced by a branch is observed at its stem.
  void map_columns() {
    ASSERT_EQ(pat_.inputs.size(), ref_.inputs().size());
    ASSERT_EQ(pat_.outputs.size(), ref_.outputs().size());
    for (const std::string& name : ref_.inputs()) {
      auto at = std::find(pat_.inputs.begin(), pat_.inputs.end(), name);
      ASSERT_NE(at, pat_.inputs.end()) << "input " << name << " missing in the header";
      input_column_.push_back(static_cast<int>(at - pat_.inputs.begin()));
    }
    for (const std::string& name : pat_.outputs) {
      const line_C* out = line(name);
      ASSERT_NE(out, nullptr);
      ASSERT_TRUE(out->primary_output_b) << name;
      const std::string signal = is_branch(out) ? out->driver()->inputs_C[0]->name_s : name;
      output_position_.push_back(ref_.output_position(signal));
    }
  }

  const line_C* line(const std::string& name) const {
    auto at = lines_.find(name);
    if (at == lines_.end()) {
      ADD_FAILURE() << "no line " << name << " in the transformed circuit";
      return nullptr;
    }
    return at->second;
  }

  // Whether pattern k detects the fault under every filling of its open
  // inputs; in the IDDQ model a fault is detected where it is activated.
  bool credited(size_t k, const reference_fault_t& fault) const {
    if (model_ == model_t::iddq) return ref_.activating_patterns(words_[k], fault) == ~0ULL;
    const std::vector<uint64_t> bad = ref_.signal_values(words_[k], &fault);
    const std::vector<uint64_t> bad_outputs = ref_.outputs(bad, &fault);
    uint64_t detected = 0;
    for (size_t o = 0; o < bad_outputs.size(); o++) detected |= good_outputs_[k][o] ^ bad_outputs[o];
    return detected == ~0ULL;
  }

  // Pattern 0 fills the open inputs with 0, pattern 1 with 1, the others at
  // random.
  std::vector<uint64_t> fill(const std::string& inputs) {
    std::vector<uint64_t> words;
    for (char c : inputs) words.push_back(c == '1' ? ~0ULL : c == '0' ? 0ULL : (rng_() & ~3ULL) | 2ULL);
    return words;
  }

  void check_patterns() {
    for (size_t k = 0; k < pat_.patterns.size(); k++) {
      const pattern_line_t& p = pat_.patterns[k];
      SCOPED_TRACE("pattern " + std::to_string(k + 1) + ": " + p.inputs + "   " + p.outputs + " * " +
                   p.target);
      std::string inputs;  // in the evaluator's order
      for (int column : input_column_) inputs += p.inputs[column];
      words_.push_back(fill(inputs));
      good_signals_.push_back(ref_.signal_values(words_.back()));
      good_outputs_.push_back(ref_.outputs(good_signals_.back()));
      for (size_t o = 0; o < p.outputs.size(); o++) {
        if (p.outputs[o] == 'X') continue;
        EXPECT_EQ(good_outputs_.back()[output_position_[o]], p.outputs[o] == '1' ? ~0ULL : 0ULL)
            << "output " << pat_.outputs[o];
      }
      for (const named_fault_t& f : log_[k]) {
        const line_C* l = line(f.name);
        if (l == nullptr) continue;
        EXPECT_TRUE(credited(k, ref_.fault_of(l, f.stuck_at_one))) << "logged " << describe(f);
        EXPECT_TRUE(logged_.insert(f).second) << describe(f) << " logged twice";
      }
      // The search itself sees open inputs as unknown in both circuits: the
      // pattern detects one of its target line's faults under every filling.
      if (const line_C* t = line(p.target)) {
        bool detects = false;
        for (bool one : {false, true}) {
          const reference_fault_t fault = ref_.fault_of(t, one);
          const uint64_t hits = model_ == model_t::iddq ? ref_.activating_patterns(words_[k], fault)
                                                        : ref_.detecting_patterns(words_[k], fault);
          detects = detects || hits == ~0ULL;
        }
        EXPECT_TRUE(detects) << "target " << p.target;
      }
    }
  }

  // The patterns that detect (activate) the fault with their open inputs
  // at 0, found 64 patterns at a time.
  std::vector<size_t> zero_filled_hits(const reference_fault_t& fault) {
    if (zero_filled_.empty()) {
      for (size_t first = 0; first < words_.size(); first += 64) {
        std::vector<uint64_t> block(input_column_.size(), 0);
        for (size_t k = first; k < words_.size() && k < first + 64; k++) {
          for (size_t i = 0; i < block.size(); i++) block[i] |= (words_[k][i] & 1) << (k - first);
        }
        zero_filled_.push_back(block);
        zero_filled_good_.push_back(ref_.simulate(block));
      }
    }
    std::vector<size_t> hits;
    for (size_t b = 0; b < zero_filled_.size(); b++) {
      uint64_t mask = 0;
      if (model_ == model_t::iddq) {
        mask = ref_.activating_patterns(zero_filled_[b], fault);
      } else {
        const std::vector<uint64_t> bad = ref_.simulate(zero_filled_[b], &fault);
        for (size_t o = 0; o < bad.size(); o++) mask |= zero_filled_good_[b][o] ^ bad[o];
      }
      for (size_t j = 0; j < 64 && 64 * b + j < words_.size(); j++) {
        if (mask >> j & 1) hits.push_back(64 * b + j);
      }
    }
    return hits;
  }

  // Nothing is aborted, so every fault the model targets is either
  // redundant or rightly credited to some pattern.
  void check_coverage() {
    const std::set<named_fault_t> redundant(red_.begin(), red_.end());
    for (const auto& [name, l] : lines_) {
      if (model_ == model_t::without_branches && is_branch(l)) continue;
      for (bool one : {false, true}) {
        const named_fault_t f{name, one};
        if (redundant.count(f)) {
          EXPECT_FALSE(logged_.count(f)) << describe(f) << " logged and redundant";
          continue;
        }
        const reference_fault_t fault = ref_.fault_of(l, one);
        // Patterns that detect it with their open inputs at 0 first, then
        // the others.
        std::vector<bool> tried(words_.size(), false);
        bool found = false;
        for (size_t k : zero_filled_hits(fault)) {
          tried[k] = true;
          if ((found = credited(k, fault))) break;
        }
        for (size_t k = 0; k < words_.size() && !found; k++) found = !tried[k] && credited(k, fault);
        EXPECT_TRUE(found) << describe(f) << " is neither redundant nor detected by a pattern";
      }
    }
  }

  void check_redundant() {
    const bool enumerable = ref_.inputs().size() <= 20;
    std::vector<std::vector<uint64_t>> random_inputs;
    if (!enumerable) {
      std::mt19937_64 rng(5);
      for (int r = 0; r < 256; r++) {
        random_inputs.emplace_back();
        for (size_t i = 0; i < ref_.inputs().size(); i++) random_inputs.back().push_back(rng());
      }
    }
    for (const named_fault_t& f : red_) {
      const line_C* l = line(f.name);
      if (l == nullptr) continue;
      const reference_fault_t fault = ref_.fault_of(l, f.stuck_at_one);
      if (enumerable) {
        EXPECT_FALSE(model_ == model_t::iddq ? ref_.activatable(fault) : ref_.detectable(fault))
            << describe(f) << " reported redundant";
        continue;
      }
      // Too many inputs to enumerate: at least no random pattern may tell.
      for (const std::vector<uint64_t>& in : random_inputs) {
        const uint64_t hits = model_ == model_t::iddq ? ref_.activating_patterns(in, fault)
                                                      : ref_.detecting_patterns(in, fault);
        ASSERT_EQ(hits, 0ULL) << describe(f) << " reported redundant";
      }
    }
  }

  void check_report() {
    const std::string s = stat();
    EXPECT_EQ(last_figure(s, "Number of Aborted Faults:  "), 0);
    EXPECT_EQ(last_figure(s, "Number of Redundancies:  "), static_cast<long>(red_.size()));
    EXPECT_EQ(last_figure(s, "Number of Robust Patterns:  "), static_cast<long>(pat_.patterns.size()));
  }

  model_t model_;
  std::string stem_, text_;
  reference_circuit_t ref_;
  quarn_run_t run_;
  std::map<std::string, line_C*> lines_;
  pattern_file_t pat_;
  std::vector<std::vector<named_fault_t>> log_;
  std::vector<named_fault_t> red_;
  std::vector<int> input_column_, output_position_;
  // Per pattern: the input words, the fault-free signals and outputs.
  std::vector<std::vector<uint64_t>> words_, good_signals_, good_outputs_;
  // 64 patterns a word with their open inputs at 0, and their outputs.
  std::vector<std::vector<uint64_t>> zero_filled_, zero_filled_good_;
  std::set<named_fault_t> logged_;
  std::mt19937_64 rng_{11};
};

struct circuit_case_t {
  std::string label;
  std::string source;
  bool published;  // a benchmark with published figures
};

void PrintTo(const circuit_case_t& c, std::ostream* out) {
  *out << c.label;
}

std::string case_name(const testing::TestParamInfo<circuit_case_t>& info) {
  return info.param.label;
}

std::vector<circuit_case_t> examples(std::vector<std::string> names) {
  std::vector<circuit_case_t> cases;
  for (const std::string& n : names) cases.push_back({n, example_circuit(n + ".cir"), false});
  return cases;
}

std::vector<circuit_case_t> benchmarks(const std::string& suite, std::vector<std::string> names) {
  std::vector<circuit_case_t> cases;
  for (const std::string& n : names) cases.push_back({n, bench_circuit(suite, n), true});
  return cases;
}

class StuckAtRun : public testing::TestWithParam<circuit_case_t> {};

TEST_P(StuckAtRun, PatternsLogAndRedundanciesHold) {
  checked_run_t run(GetParam().source, model_t::stuck_at);
  run.check();
  if (!GetParam().published) return;
  const published_figures_t published = published_figures(GetParam().label);
  const std::string stat = run.stat();
  EXPECT_EQ(last_figure(stat, "Number of Redundant Classes : "), published.redundant);
  EXPECT_EQ(last_figure(stat, "Number of Equivalent Classes : "), published.collapsed);
}

INSTANTIATE_TEST_SUITE_P(Examples, StuckAtRun,
                         testing::ValuesIn(examples({"halfadd", "fulladd", "adder4", "redundant",
                                                     "sequential", "reconv"})),
                         case_name);
INSTANTIATE_TEST_SUITE_P(Iscas85, StuckAtRun,
                         testing::ValuesIn(benchmarks("iscas85", {"c17", "c432", "c499", "c880"})),
                         case_name);
INSTANTIATE_TEST_SUITE_P(Iscas89, StuckAtRun,
                         testing::ValuesIn(benchmarks("iscas89",
                                                      {"s27", "s208", "s298", "s344", "s386", "s1494"})),
                         case_name);

class WithoutBranchesRun : public testing::TestWithParam<circuit_case_t> {};

TEST_P(WithoutBranchesRun, PatternsLogAndRedundanciesHold) {
  checked_run_t(GetParam().source, model_t::without_branches).check();
}

INSTANTIATE_TEST_SUITE_P(Examples, WithoutBranchesRun,
                         testing::ValuesIn(examples({"redundant", "sequential"})), case_name);
INSTANTIATE_TEST_SUITE_P(Benchmarks, WithoutBranchesRun,
                         testing::Values(circuit_case_t{"c17", bench_circuit("iscas85", "c17"), true},
                                         circuit_case_t{"s298", bench_circuit("iscas89", "s298"), true}),
                         case_name);

class IddqRun : public testing::TestWithParam<circuit_case_t> {};

TEST_P(IddqRun, PatternsActivateWhatTheLogCredits) {
  checked_run_t run(GetParam().source, model_t::iddq);
  run.check();
  // Without propagation only a line that never changes could be redundant,
  // and none of these circuits has one.
  EXPECT_TRUE(run.redundant().empty());
}

INSTANTIATE_TEST_SUITE_P(Examples, IddqRun, testing::ValuesIn(examples({"redundant", "adder4"})), case_name);
INSTANTIATE_TEST_SUITE_P(Benchmarks, IddqRun,
                         testing::Values(circuit_case_t{"c17", bench_circuit("iscas85", "c17"), true},
                                         circuit_case_t{"s298", bench_circuit("iscas89", "s298"), true}),
                         case_name);

}  // namespace
