#include "atpg/unique_sensitisation.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "atpg/fan.h"
#include "base/messages.h"
#include "base/settings.h"
#include "implication/implication.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/protocol.h"

namespace {

// Gates the fault effect cannot be passed through; the chain step cannot
// pass a fanout gate either.
void check_gate_kind(const gate_C* g, bool in_chain) {
  switch (g->gate_type_c) {
    case FLIPFLOP_GATE:
    case SEQUENTIAL_GATE:
      error(string_C("unique_sensitisation: not implemented for sequential elements"));
    case FANOUT_GATE:
      if (in_chain) error(string_C("unique_sensitisation: not feasible at fanout-gates"));
      break;
    case BLOCK_GATE:
    case UNDEFINED_GATE:
      error(string_C("unique_sensitisation: undefined gate in circuit"));
    default:
      break;
  }
}

// Sets a value of O, journalled; false when O already holds another value.
bool set_output_value(implication_C& imp, line_C* o, unsigned char value, bool good, bool& assigned) {
  char& field = good ? o->good_value_c : o->bad_value_c;
  if (field == X) {
    if (good) {
      imp.assign_good_value(o, value);
    } else {
      o->bad_value_c = value;
      imp.journal_bad(o, X, value);
    }
    assigned = true;
    return true;
  }
  return field == value;
}

// The fault effect passes a chain of gates that every path must traverse.
char d_chain(implication_C& imp, bool& assigned) {
  while (imp.d_front_C.anzahl_i == 1 && !imp.d_front_C[0]->primary_output_b &&
         number_of_gates_in_d_front(imp) == 1) {
    line_C* l = imp.d_front_C[0];
    gate_C* g = l->successor();
    check_gate_kind(g, true);
    imp.leave_d_front(l);
    line_C* o = g->output();
    unsigned char c = X;
    switch (g->gate_type_c) {
      case AND_GATE:
      case OR_GATE:
      case DRIVER_GATE:
      case NAND_GATE:
      case NOR_GATE:
      case INVERTER_GATE: {
        const bool inverting = g->inverting();
        const unsigned char good = inverting ? mynot(l->good_value_c) : l->good_value_c;
        const unsigned char bad = inverting ? mynot(l->bad_value_c) : l->bad_value_c;
        if (!set_output_value(imp, o, good, true, assigned) ||
            !set_output_value(imp, o, bad, false, assigned)) {
          return STEP_CONFLICT;
        }
        c = g->controlling_value() == ONE ? ONE : ZERO;
        break;
      }
      default:  // EXOR: the effect always passes, in one polarity or the other
        if (o->good_value_c != X && o->bad_value_c == X) {
          set_output_value(imp, o, mynot(o->good_value_c), false, assigned);
        } else if (o->good_value_c == X && o->bad_value_c != X) {
          set_output_value(imp, o, mynot(o->bad_value_c), true, assigned);
        }
        break;
    }
    if (c == X && o->good_value_c == X) {
      imp.enter_d_front(l);
      break;
    }
    imp.d_front_changed_b = 1;
    if (c != X) {
      const unsigned char nc = mynot(c);
      for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
        line_C* in = g->inputs_C[i];
        if (in == l) continue;
        if (in->good_value_c == X) {
          if (in->in_ausgangskegel_b && l->good_value_c != nc) continue;
          imp.assign_good_value(in, nc);
          imp.implication_line_C.fuege_ein(in);
          assigned = true;
        } else if (in->good_value_c == c) {
          const bool same_effect = in->bad_value_c == l->bad_value_c ||
                                   (in->in_ausgangskegel_b && in->good_value_c == l->good_value_c);
          if (!same_effect) return STEP_CONFLICT;
        }
      }
    }
    if (o->line_type_c == BOUND_LINE && o->good_value_c != X &&
        !imp.unjustified_bound_line_C.element_in_liste(o, 0)) {
      imp.unjustified_bound_line_C.fuege_ein(o);
      imp.protocol_C.push(list_entry(o, list_change_t::bound_in));
    }
    imp.implication_line_C.fuege_ein(o);
    imp.enter_d_front(o);
    if (o->primary_output_b || o->successor()->gate_type_c == FANOUT_GATE) break;
  }
  return assigned ? STEP_ASSIGNED : STEP_NOTHING_NEW;
}

// An off-path input and the requirement it stands for: lines count as the
// same when they are one primary input or share their driving gate and need
// the same non-controlling value. Requirements are kept in the creation order
// of their sources, so that the order of the assignments never depends on
// where the records happen to lie in memory.
struct off_path_t {
  const object_C* source;
  unsigned char value;
  line_C* line;
  bool operator<(const off_path_t& o) const {
    return source != o.source ? source->serial_i < o.source->serial_i : value < o.value;
  }
  bool same(const off_path_t& o) const { return source == o.source && value == o.value; }
};

using off_path_set_t = std::vector<off_path_t>;

off_path_set_t intersect(const off_path_set_t& a, const off_path_set_t& b) {
  off_path_set_t out;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}

off_path_set_t unite(const off_path_set_t& a, const off_path_set_t& b) {
  off_path_set_t out;
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  out.erase(
      std::unique(out.begin(), out.end(), [](const off_path_t& x, const off_path_t& y) { return x.same(y); }),
      out.end());
  return out;
}

// The requirements a gate on a propagation path puts on its off-path inputs.
off_path_set_t off_path_inputs(const gate_C* g) {
  off_path_set_t set;
  const unsigned char c = g->controlling_value();
  if (c == X) return set;
  for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
    line_C* in = g->inputs_C[i];
    if (in->in_ausgangskegel_b || in->good_value_c != X) continue;
    const object_C* source =
        in->primary_input_b ? static_cast<const object_C*>(in) : static_cast<const object_C*>(in->driver());
    set.push_back({source, mynot(c), in});
  }
  std::sort(set.begin(), set.end());
  return set;
}

int gate_level(const gate_C* g) {
  return g->output()->plane_i;
}

// The off-path requirements common to every path from the D-frontier to a
// primary output, over the graph of gates whose outputs are still open.
// Returns false when no such path exists.
bool common_off_path_inputs(implication_C& imp, off_path_set_t& common) {
  struct node_t {
    explicit node_t(gate_C* g) : gate(g) {}
    gate_C* gate;
    bool start = false;
    bool to_output = false;  // an open output of the gate is a primary output
    std::vector<int> next;
    std::vector<int> previous;
    bool reaches = false;
    bool done = false;
    off_path_set_t must;
  };
  std::vector<node_t> nodes;
  std::unordered_map<const gate_C*, int> index;
  std::vector<int> stack;
  auto node_of = [&](gate_C* g) {
    auto [it, fresh] = index.emplace(g, static_cast<int>(nodes.size()));
    if (fresh) {
      check_gate_kind(g, false);
      nodes.emplace_back(g);
      stack.push_back(it->second);
    }
    return it->second;
  };
  for (int i = 0; i < imp.d_front_C.anzahl_i; i++) {
    if (imp.d_front_C[i]->primary_output_b) continue;
    nodes[node_of(imp.d_front_C[i]->successor())].start = true;
  }
  while (!stack.empty()) {
    int v = stack.back();
    stack.pop_back();
    gate_C* g = nodes[v].gate;
    for (int j = 0; j < g->outputs_C.anzahl_i; j++) {
      line_C* o = g->outputs_C[j];
      if (o->good_value_c != X && o->bad_value_c != X) continue;
      if (o->primary_output_b) {
        nodes[v].to_output = true;
      } else {
        int w = node_of(o->successor());
        nodes[v].next.push_back(w);
      }
    }
  }
  std::vector<int> order(nodes.size());
  for (size_t i = 0; i < order.size(); i++) order[i] = static_cast<int>(i);
  std::sort(order.begin(), order.end(),
            [&](int a, int b) { return gate_level(nodes[a].gate) < gate_level(nodes[b].gate); });
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    node_t& n = nodes[*it];
    n.reaches = n.to_output;
    for (int w : n.next) n.reaches = n.reaches || nodes[w].reaches;
  }
  for (size_t v = 0; v < nodes.size(); v++) {
    if (!nodes[v].reaches) continue;
    for (int w : nodes[v].next) {
      if (nodes[w].reaches) nodes[w].previous.push_back(static_cast<int>(v));
    }
  }
  bool any_path = false;
  bool first_end = true;
  for (int v : order) {
    node_t& n = nodes[v];
    if (!n.reaches) continue;
    off_path_set_t before;
    if (!n.start) {
      for (size_t k = 0; k < n.previous.size(); k++) {
        before = k == 0 ? nodes[n.previous[k]].must : intersect(before, nodes[n.previous[k]].must);
      }
    }
    n.must = unite(before, off_path_inputs(n.gate));
    if (n.to_output) {
      common = first_end ? n.must : intersect(common, n.must);
      first_end = false;
      any_path = true;
    }
  }
  return any_path;
}

char off_path_signals(implication_C& imp) {
  off_path_set_t common;
  if (!common_off_path_inputs(imp, common)) return STEP_CONFLICT;
  for (const off_path_t& req : common) {
    if (req.line->good_value_c != X) continue;
    imp.assign_good_value(req.line, req.value);
    imp.implication_line_C.fuege_ein(req.line);
  }
  return common.empty() ? STEP_NOTHING_NEW : STEP_ASSIGNED;
}

}  // namespace

char unique_sensitisation(implication_C& imp) {
  if (imp.settings.path_delay_test_b) return STEP_NOTHING_NEW;
  bool assigned = false;
  if (d_chain(imp, assigned) == STEP_CONFLICT) return STEP_CONFLICT;
  if (!assigned && (imp.phase2_b || imp.phase3_b) && imp.d_front_changed_b) {
    imp.d_front_changed_b = 0;
    return off_path_signals(imp);
  }
  return assigned ? STEP_ASSIGNED : STEP_NOTHING_NEW;
}
