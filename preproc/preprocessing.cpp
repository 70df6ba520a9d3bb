#include "preproc/preprocessing.h"

#include <cstdlib>
#include <iostream>

#include "app/run.h"
#include "app/statistic.h"
#include "faults/collapsing.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "preproc/constraint_analysis.h"
#include "preproc/feedback.h"
#include "preproc/learning.h"
#include "preproc/levels.h"
#include "preproc/line_structure.h"

char something_learned_b = 1;
int learned_implications_i = 0;
char flt_read_b = 0;

namespace {

void title(const char* text) {
  std::cout << text << std::flush;
}

}  // namespace

void get_block_cube(gate_C* /*block*/) {
  // The run has produced nothing usable, so it ends as a failure.
  std::cout << "Blocks not implemented anymore" << std::flush;
  std::exit(1);
}

void praeprocessing(char simulate) {
  title("\tFeedback Analysis\n");
  feedback_analyse();

  title("\tPrint Circuit Statistic\n");
  print_statistic();

  title("\tFind Planes\n");
  calculate_planes();

  // Bridging fault models: the bridging-fault list is read from the .BF_flt
  // file, or computed when there is none, here.

  title("\tFind Free-Lines, Bound-Lines and Head-Lines\n");
  line_structure();

  // Nothing later depends on dominators; only the title remains.
  title("\tFind Dominators to Fanouts\n");

  title("\tGet Block Cubes, if there are any Blocks\n");
  for (int i = 0; i < gates_C.anzahl_i; i++) {
    if (gates_C[i]->gate_type_c == BLOCK_GATE) get_block_cube(gates_C[i]);
  }

  if (!bridging_b && !bridging_iddq_b) {
    // A .flt fault list file, when there is one, is read here instead.
    gib_aequi_klassen_zahl();
  }

  if (!only_iddq_test_b && !simulate) {
    int phases = 0;
    start_learning();
    while (something_learned_b) {
      something_learned_b = 0;
      title("\tLearning Implications\n");
      learning_implications();
      phases++;
    }
    collect_only_value_lines();
    std::cout << "\t" << phases << " learn phases used\n"
              << "\t" << learned_implications_i << " global implications learned\n";
    title("\tReconvergency Analysis for Blocks\n");
    constraint_analysis();
  }

  // No block survives preprocessing, so there is nothing to send.
  title("\tSend Constraints to Switch-Level\n");
}
