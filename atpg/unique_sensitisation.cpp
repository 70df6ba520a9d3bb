#include "atpg/unique_sensitisation.h"

#include <algorithm>
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
         number_of_gates_in_d_front(imp, 1) == 1) {
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

using off_path_t = off_path_search_C::off_path_t;
using off_path_set_t = off_path_search_C::off_path_set_t;

void intersect_into(off_path_set_t& out, const off_path_set_t& a, const off_path_set_t& b) {
  out.clear();
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
}

void unite_into(off_path_set_t& out, const off_path_set_t& a, const off_path_set_t& b) {
  out.clear();
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  out.erase(
      std::unique(out.begin(), out.end(), [](const off_path_t& x, const off_path_t& y) { return x.same(y); }),
      out.end());
}

// The requirements a gate on a propagation path puts on its off-path inputs.
void off_path_inputs(const gate_C* g, off_path_set_t& set) {
  set.clear();
  const unsigned char c = g->controlling_value();
  if (c == X) return;
  for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
    line_C* in = g->inputs_C[i];
    if (in->in_ausgangskegel_b || in->good_value_c != X) continue;
    const object_C* source =
        in->primary_input_b ? static_cast<const object_C*>(in) : static_cast<const object_C*>(in->driver());
    set.push_back({source, mynot(c), in});
  }
  std::sort(set.begin(), set.end());
}

int gate_level(const gate_C* g) {
  return g->output()->plane_i;
}

}  // namespace

bool off_path_search_C::off_path_t::operator<(const off_path_t& o) const {
  return source != o.source ? source->serial_i < o.source->serial_i : value < o.value;
}

// Over the graph of gates whose outputs are still open.
bool off_path_search_C::common_off_path_inputs(implication_C& imp) {
  off_path_set_t& common = common_;
  common.clear();
  begin();
  for (int i = 0; i < imp.d_front_C.anzahl_i; i++) {
    if (imp.d_front_C[i]->primary_output_b) continue;
    nodes_[node_of(imp.d_front_C[i]->successor())].start = true;
  }
  while (!stack_.empty()) {
    int v = stack_.back();
    stack_.pop_back();
    gate_C* g = nodes_[v].gate;
    for (int j = 0; j < g->outputs_C.anzahl_i; j++) {
      line_C* o = g->outputs_C[j];
      if (o->good_value_c != X && o->bad_value_c != X) continue;
      if (o->primary_output_b) {
        nodes_[v].to_output = true;
      } else {
        int w = node_of(o->successor());
        nodes_[v].next.push_back(w);
      }
    }
  }
  order_.resize(used_);
  for (size_t i = 0; i < order_.size(); i++) order_[i] = static_cast<int>(i);
  std::sort(order_.begin(), order_.end(),
            [&](int a, int b) { return gate_level(nodes_[a].gate) < gate_level(nodes_[b].gate); });
  for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
    node_t& n = nodes_[*it];
    n.reaches = n.to_output;
    for (int w : n.next) n.reaches = n.reaches || nodes_[w].reaches;
  }
  for (size_t v = 0; v < used_; v++) {
    if (!nodes_[v].reaches) continue;
    for (int w : nodes_[v].next) {
      if (nodes_[w].reaches) nodes_[w].previous.push_back(static_cast<int>(v));
    }
  }
  bool any_path = false;
  bool first_end = true;
  for (int v : order_) {
    node_t& n = nodes_[v];
    if (!n.reaches) continue;
    before_.clear();
    if (!n.start) {
      for (size_t k = 0; k < n.previous.size(); k++) {
        if (k == 0) {
          before_ = nodes_[n.previous[k]].must;
        } else {
          intersect_into(scratch_, before_, nodes_[n.previous[k]].must);
          before_.swap(scratch_);
        }
      }
    }
    off_path_inputs(n.gate, own_);
    unite_into(n.must, before_, own_);
    if (n.to_output) {
      if (first_end) {
        common = n.must;
      } else {
        intersect_into(scratch_, common, n.must);
        common.swap(scratch_);
      }
      first_end = false;
      any_path = true;
    }
  }
  return any_path;
}

void off_path_search_C::begin() {
  used_ = 0;
  stack_.clear();
  if (++generation_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    generation_ = 1;
  }
}

int off_path_search_C::node_of(gate_C* g) {
  // Gates are told apart by the number of their first output.
  const size_t key = static_cast<size_t>(g->output()->nummer_i);
  if (key >= stamp_.size()) {
    stamp_.resize(key + 1, 0);
    node_index_.resize(key + 1, 0);
  }
  if (stamp_[key] == generation_) return node_index_[key];
  check_gate_kind(g, false);
  stamp_[key] = generation_;
  const int v = static_cast<int>(used_++);
  node_index_[key] = v;
  if (static_cast<size_t>(v) == nodes_.size()) nodes_.emplace_back();
  node_t& n = nodes_[v];
  n.gate = g;
  n.start = n.to_output = n.reaches = false;
  n.next.clear();
  n.previous.clear();
  n.must.clear();
  stack_.push_back(v);
  return v;
}

namespace {

char off_path_signals(implication_C& imp, off_path_search_C& search) {
  if (!search.common_off_path_inputs(imp)) return STEP_CONFLICT;
  const off_path_set_t& common = search.common();
  for (const off_path_t& req : common) {
    if (req.line->good_value_c != X) continue;
    imp.assign_good_value(req.line, req.value);
    imp.implication_line_C.fuege_ein(req.line);
  }
  return common.empty() ? STEP_NOTHING_NEW : STEP_ASSIGNED;
}

}  // namespace

char unique_sensitisation(implication_C& imp, off_path_search_C& search) {
  if (imp.settings.path_delay_test_b) return STEP_NOTHING_NEW;
  bool assigned = false;
  if (d_chain(imp, assigned) == STEP_CONFLICT) return STEP_CONFLICT;
  if (!assigned && (imp.phase2_b || imp.phase3_b) && imp.d_front_changed_b) {
    imp.d_front_changed_b = 0;
    return off_path_signals(imp, search);
  }
  return assigned ? STEP_ASSIGNED : STEP_NOTHING_NEW;
}
