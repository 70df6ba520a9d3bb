// Values every propagation path of the fault effect needs, assigned without
// a decision: along a chain of single gates in front of the D-frontier and,
// from the second phase on, at the off-path inputs common to all paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class gate_C;
class implication_C;
class line_C;
class object_C;

// The search for the off-path inputs common to all propagation paths. It
// keeps its working storage from one call to the next: it runs after most
// implication steps of the second phase.
class off_path_search_C {
 public:
  // An off-path input and the requirement it stands for: lines count as the
  // same when they are one primary input or share their driving gate and
  // need the same non-controlling value. Requirements are kept in the
  // creation order of their sources, so that the order of the assignments
  // never depends on where the records happen to lie in memory.
  struct off_path_t {
    const object_C* source;
    unsigned char value;
    line_C* line;
    bool operator<(const off_path_t& o) const;
    bool same(const off_path_t& o) const { return source == o.source && value == o.value; }
  };
  using off_path_set_t = std::vector<off_path_t>;

  // The off-path requirements common to every path from the D-frontier to
  // a primary output; false when no such path exists.
  bool common_off_path_inputs(implication_C& imp);
  // What the last call found.
  const off_path_set_t& common() const { return common_; }

 private:
  struct node_t {
    gate_C* gate = nullptr;
    bool start = false;
    bool to_output = false;  // an open output of the gate is a primary output
    bool reaches = false;
    std::vector<int> next;
    std::vector<int> previous;
    off_path_set_t must;
  };
  std::vector<node_t> nodes_;  // the first used_ are this call's
  std::size_t used_ = 0;
  // Per gate (by the number of its first output): its node, valid while
  // stamp_ holds this call's generation.
  std::vector<int> node_index_;
  std::vector<std::uint32_t> stamp_;
  std::uint32_t generation_ = 0;
  std::vector<int> stack_;
  std::vector<int> order_;
  off_path_set_t common_, before_, own_, scratch_;

  void begin();
  int node_of(gate_C* g);
};

// 0 values assigned, 3 conflict, 4 nothing assigned.
char unique_sensitisation(implication_C& imp, off_path_search_C& search);
