#include "preproc/feedback.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "app/statistic.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// The signals on the path, so that asking whether a signal is on it does not
// walk a path as long as the circuit is deep.
std::unordered_set<const line_C*> on_path;
// The signals marked explored since the present start, to clear just those.
std::vector<line_C*> explored;

void mark_feedback_from(const line_liste_C& path, line_C* s) {
  statistic_u.feedback_b = 1;
  s->in_feedback_b = 1;
  s->driver()->in_feedback_b = 1;
  for (int i = path.index_of(s); i < path.anzahl_i; i++) {
    path[i]->in_feedback_b = 1;
    path[i]->driver()->in_feedback_b = 1;
  }
}

}  // namespace

void test_feedback(line_liste_C& path, line_C* s) {
  if (s->aequi_mark_0_b) {
    // Everything behind s is known already: two paths meet at its driver.
    gate_C* g = s->driver();
    g->reconvergent_b = 1;
    for (int i = 0; i < g->inputs_C.anzahl_i; i++) {
      if (g->inputs_C[i]->aequi_mark_0_b) g->inputs_C[i]->reconvergent_b = 1;
    }
    path[path.anzahl_i - 1]->reconvergent_b = 1;
    return;
  }
  if (on_path.contains(s)) {
    mark_feedback_from(path, s);
    return;
  }
  path.fuege_ein(s);
  on_path.insert(s);
  if (!s->primary_output_b) {
    gate_C* g = s->successor();
    for (int i = 0; i < g->outputs_C.anzahl_i; i++) test_feedback(path, g->outputs_C[i]);
  }
  path.fuege_aus(s);
  on_path.erase(s);
  s->aequi_mark_0_b = 1;
  explored.push_back(s);
}

void feedback_analyse() {
  line_liste_C path;
  path.init(std::max(lines_C.anzahl_i, number_of_lines()));
  on_path.clear();
  for (int i = 0; i < input_lines_C.anzahl_i; i++) {
    test_feedback(path, input_lines_C[i]);
    for (line_C* l : explored) l->aequi_mark_0_b = 0;
    explored.clear();
  }
}
