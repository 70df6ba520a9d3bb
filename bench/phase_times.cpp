// CPU time of each phase of the front end on one circuit, and of the search
// run once for every line and both stuck-at values (no fault simulation).
//
// Usage: quarn_phase_times <circuit.cir> [backtracks | -]   ("-": no search)
// The circuit is linked into the present directory, where the files of the
// run are written: run it in a scratch folder.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/driver.h"
#include "app/large_stack.h"
#include "app/run.h"
#include "input/check.h"
#include "input/parser.h"
#include "input/transform.h"
#include "measures/probabilistic.h"
#include "preproc/feedback.h"
#include "preproc/levels.h"
#include "preproc/line_structure.h"

namespace {

double user_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6;
}

// Runs step with standard output silenced and returns its CPU time in ms.
template <class F>
double timed(F step) {
  std::cout.flush();
  std::fflush(stdout);
  const int saved = dup(1);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, 1);
  close(null);
  const double start = user_seconds();
  step();
  const double ms = (user_seconds() - start) * 1000;
  std::cout.flush();
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  return ms;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::cerr << "usage: quarn_phase_times <circuit.cir> [backtracks | -]\n";
    return 2;
  }
  const std::filesystem::path source = std::filesystem::absolute(argv[1]);
  const std::string link = source.filename().string();
  // Run in the circuit's own folder, the link would replace the circuit itself.
  if (!std::filesystem::exists(link) || !std::filesystem::equivalent(source, link)) {
    std::filesystem::remove(link);
    std::filesystem::create_symlink(source, link);
  }
  const bool search_all = !(argc > 2 && std::strcmp(argv[2], "-") == 0);
  const int limit = argc > 2 ? std::atoi(argv[2]) : 10;
  run_on_large_stack([&] {
    run_C run;
    circuit_C& circuit = run.circuit;
    learning_C& learning = run.preprocessing.learning;
    run.settings.schaltungsname_s = link;
    run.settings.select_fault_model(fault_model_t::stuck_at);
    const double read = timed([&] { read_circuit(circuit, run.settings); });
    const double transform = timed([&] { transform_circuit(circuit); });
    const double check = timed([&] {
      run.listen_init();
      proof(circuit);
    });
    const double structure = timed([&] {
      feedback_analyse(circuit);
      print_statistic(circuit.statistic_u, run.settings.schaltungsname_s);
      calculate_planes(circuit, run.messages);
      line_structure(circuit);
    });
    const double fault_list = timed([&] { run.collapsing.gib_aequi_klassen_zahl(); });
    int phases = 0;
    const double learning_ms = timed([&] {
      learning.start_learning();
      while (learning.something_learned_b) {
        learning.something_learned_b = 0;
        learning.learning_implications();
        phases++;
      }
      learning.collect_only_value_lines();
    });
    std::printf(
        "%-12s %7d lines: read %.0f ms, transform %.0f ms, check %.0f ms, structure %.0f ms, "
        "fault list %.0f ms, learning %.0f ms (%d phases, %d implications)\n",
        link.c_str(), circuit.lines_C.anzahl_i, read, transform, check, structure, fault_list, learning_ms,
        phases, learning.learned_implications_i);

    if (!search_all) return;
    prob_compute_contby(circuit);
    prob_compute_observaby(circuit);
    run.settings.max_number_backtracks_i = limit;
    run.imp.phase2_b = 1;
    int found = 0, redundant = 0, aborted = 0;
    const double search = timed([&] {
      for (int i = 0; i < circuit.lines_C.anzahl_i; i++) {
        line_C* line = circuit.lines_C[i];
        for (char value : {ZERO, ONE}) {
          line->good_value_c = value == ZERO ? ONE : ZERO;
          line->bad_value_c = value;
          const fan_result_t r = generate_test(run, line, value);
          found += r == TEST_FOUND;
          redundant += r == REDUNDANT || r == ONLY_VALUE_CONFLICT;
          aborted += r == ABORTED;
          run.imp.reset_net(r);
          run.imp.unjustified_bound_line_C.anzahl_i = 0;
        }
      }
    });
    std::printf("%-12s search for all %d faults (limit %d): %.0f ms, %d tests, %d redundant, %d aborted\n",
                link.c_str(), 2 * circuit.lines_C.anzahl_i, limit, search, found, redundant, aborted);
  });
  return 0;
}
