#include "preproc/feedback.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

class feedback_search_C {
 public:
  explicit feedback_search_C(circuit_C& circuit) : circuit_(circuit) {
    path_.init(std::max(circuit.lines_C.anzahl_i, circuit.number_of_lines()));
  }

  // Searches from one primary input, then clears the marks it left.
  void from_input(line_C* input) {
    test_feedback(input);
    for (line_C* l : explored_) l->aequi_mark_0_b = 0;
    explored_.clear();
  }

 private:
  circuit_C& circuit_;
  line_liste_C path_;
  // The signals on the path, so that asking whether a signal is on it does
  // not walk a path as long as the circuit is deep.
  std::unordered_set<const line_C*> on_path_;
  // The signals marked explored since the present start, to clear just those.
  std::vector<line_C*> explored_;

  void mark_feedback_from(line_C* s) {
    circuit_.statistic_u.feedback_b = 1;
    s->in_feedback_b = 1;
    s->driver()->in_feedback_b = 1;
    for (int i = path_.index_of(s); i < path_.anzahl_i; i++) {
      path_[i]->in_feedback_b = 1;
      path_[i]->driver()->in_feedback_b = 1;
    }
  }

  // One step of the search: s is the next signal after the last one of the path.
  void test_feedback(line_C* s) {
    if (s->aequi_mark_0_b) {
      // Everything behind s is known already: two paths meet at its driver.
      gate_C* g = s->driver();
      g->reconvergent_b = 1;
      for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
        if (g->inputs_C[i]->aequi_mark_0_b) g->inputs_C[i]->reconvergent_b = 1;
      }
      path_[path_.anzahl_i - 1]->reconvergent_b = 1;
      return;
    }
    if (on_path_.contains(s)) {
      mark_feedback_from(s);
      return;
    }
    path_.fuege_ein(s);
    on_path_.insert(s);
    if (!s->primary_output_b) {
      gate_C* g = s->successor();
      for (int i = 0; i < g->outputs_C.anzahl_i; i++) test_feedback(g->outputs_C[i]);
    }
    path_.fuege_aus(s);
    on_path_.erase(s);
    s->aequi_mark_0_b = 1;
    explored_.push_back(s);
  }
};

}  // namespace

void feedback_analyse(circuit_C& circuit) {
  feedback_search_C search(circuit);
  for (int i = 0; i < circuit.input_lines_C.anzahl_i; i++) search.from_input(circuit.input_lines_C[i]);
}
