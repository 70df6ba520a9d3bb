#include "preproc/preprocessing.h"

#include <fstream>
#include <iostream>

#include "base/messages.h"
#include "base/settings.h"
#include "faults/collapsing.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "preproc/bridging_list.h"
#include "preproc/constraint_analysis.h"
#include "preproc/fault_list_file.h"
#include "preproc/feedback.h"
#include "preproc/levels.h"
#include "preproc/line_structure.h"

namespace {

void title(const char* text) {
  std::cout << text << std::flush;
}

}  // namespace

void get_block_cube(gate_C* /*block*/) {
  // The run has produced nothing usable, so it ends as a failure.
  std::cout << "Blocks not implemented anymore" << std::flush;
  throw run_ended_t{1};
}

preprocessing_C::preprocessing_C(circuit_C& circuit, const settings_C& settings, messages_C& messages,
                                 implication_C& imp, target_list_C& targets, collapsing_C& collapsing)
    : learning(circuit, imp, collapsing),
      circuit_(circuit),
      settings_(settings),
      messages_(messages),
      imp_(imp),
      targets_(targets),
      collapsing_(collapsing) {}

void preprocessing_C::praeprocessing(char simulate) {
  title("\tFeedback Analysis\n");
  feedback_analyse(circuit_);

  title("\tPrint Circuit Statistic\n");
  print_statistic(circuit_.statistic_u, settings_.schaltungsname_s);

  title("\tFind Planes\n");
  calculate_planes(circuit_, messages_);

  if (settings_.bridging_b || settings_.bridging_iddq_b) {
    std::ifstream list(settings_.schaltungsname_s + ".BF_flt");
    if (list) {
      title("\tRead Bridging-Fault List\n");
      read_bridging_fault_list(list, circuit_, settings_, messages_, targets_);
    } else {
      title("\tCalculate Bridging-Fault List\n");
      calculate_bridgings(circuit_, settings_, targets_);
    }
  }

  title("\tFind Free-Lines, Bound-Lines and Head-Lines\n");
  line_structure(circuit_);

  // Nothing later depends on dominators; only the title remains.
  title("\tFind Dominators to Fanouts\n");

  title("\tGet Block Cubes, if there are any Blocks\n");
  for (int i = 0; i < circuit_.gates_C.anzahl_i; i++) {
    if (circuit_.gates_C[i]->gate_type_c == BLOCK_GATE) get_block_cube(circuit_.gates_C[i]);
  }

  if (!settings_.bridging_b && !settings_.bridging_iddq_b) {
    std::ifstream flt(settings_.schaltungsname_s + ".flt");
    if (flt) {
      read_flt(flt, circuit_, settings_, messages_, targets_);
    } else {
      collapsing_.gib_aequi_klassen_zahl();
    }
  }

  if (!settings_.only_iddq_test_b && !simulate) {
    int phases = 0;
    learning.start_learning();
    while (learning.something_learned_b) {
      learning.something_learned_b = 0;
      title("\tLearning Implications\n");
      learning.learning_implications();
      phases++;
    }
    learning.collect_only_value_lines();
    std::cout << "\t" << phases << " learn phases used\n"
              << "\t" << learning.learned_implications_i << " global implications learned\n";
    title("\tReconvergency Analysis for Blocks\n");
    constraint_analysis(settings_, imp_);
  }

  // No block survives preprocessing, so there is nothing to send.
  title("\tSend Constraints to Switch-Level\n");
}
