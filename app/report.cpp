#include "app/report.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>

#include "app/run.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// The three files of the report.
struct report_files_t {
  std::ofstream stat;
  std::ofstream red;
  std::ofstream log;
};

// Faults listed: all of them, and those on lines the model makes targets.
struct tally_t {
  int all = 0;
  int targeted = 0;
};

// The lines whose faults the two-pattern and stuck-on models target: every
// line but the primary outputs and the inputs of one-input gates.
bool transition_target(const line_C* l) {
  return !l->primary_output_b && l->successor()->no_inputs_i >= 2;
}

struct sections_t {
  const line_liste_C& lines_C;
  report_files_t& f;
  bool (*targeted)(const line_C*);
};

// One section of the lists: its title, then the name of every line that
// qualifies; each counts `weight` towards the total.
template <class P>
void line_section(const sections_t& s, const char* title, P qualifies, int weight, tally_t& total,
                  const char* red_lines = nullptr) {
  const line_liste_C& lines_C = s.lines_C;
  report_files_t& f = s.f;
  f.stat << title;
  bool any = false;
  for (int i = 0; i < lines_C.anzahl_i; i++) {
    const line_C* l = lines_C[i];
    if (!qualifies(l)) continue;
    any = true;
    total.all += weight;
    if (s.targeted(l)) total.targeted += weight;
    f.stat << l->name_s << "\n";
    if (red_lines == nullptr) continue;
    for (const char* tag = red_lines; *tag; tag += 6) f.red << std::string(tag, 6) << l->name_s << "\n";
  }
  if (!any) f.stat << "none\n";
}

// The signal lists; R and A count the redundant and aborted faults.
void signal_lists(const run_C& run, report_files_t& f, bool (*targeted)(const line_C*), tally_t& R,
                  tally_t& A) {
  const sections_t lines{run.circuit.lines_C, f, targeted};
  const settings_C& settings = run.settings;
  line_section(
      lines, "\n\n\nRedundant Faults (s_a_1 and s_a_0):\n",
      [](const line_C* l) { return l->sa0_redundant_b && l->sa1_redundant_b; }, 2, R, "s-a-0 s-a-1 ");
  line_section(
      lines, "\ns_a_0 Redundant Faults:\n",
      [](const line_C* l) { return l->sa0_redundant_b && !l->sa1_redundant_b; }, 1, R, "s-a-0 ");
  line_section(
      lines, "\ns_a_1 Redundant Faults:\n",
      [](const line_C* l) { return l->sa1_redundant_b && !l->sa0_redundant_b; }, 1, R, "s-a-1 ");
  line_section(
      lines, "\n\n\nAborted Faults (s_a_1 and s_a_0):\n",
      [](const line_C* l) { return l->sa0_aborted_b && l->sa1_aborted_b; }, 2, A);
  line_section(
      lines, "\n\n\ns_a_0 Aborted Faults:\n",
      [](const line_C* l) { return l->sa0_aborted_b && !l->sa1_aborted_b; }, 1, A);
  line_section(
      lines, "\n\n\ns_a_1 Aborted Faults:\n",
      [](const line_C* l) { return l->sa1_aborted_b && !l->sa0_aborted_b; }, 1, A);
  if (!settings.only_iddq_test_b && !settings.only_stuck_at_test_b && !settings.iddq_stuck_on_test_b) {
    // Only lines whose successor is a real gate with several inputs have
    // stuck-open faults; transition faults are filtered only when aborted.
    auto listed = [](const line_C* l) {
      return !l->primary_output_b && l->successor()->gate_type_c != BLOCK_GATE &&
             l->successor()->no_inputs_i > 1;
    };
    const bool open = settings.stuck_open_test_b;
    line_section(
        lines, "\n\n\nrising Redundant Faults:\n",
        [&](const line_C* l) {
          return !l->sa0_redundant_b && !l->sa0_aborted_b && l->rising_redundant_b && (!open || listed(l));
        },
        1, R);
    line_section(
        lines, "\n\n\nfalling Redundant Faults:\n",
        [&](const line_C* l) {
          return !l->sa1_redundant_b && !l->sa1_aborted_b && l->falling_redundant_b && (!open || listed(l));
        },
        1, R);
    line_section(
        lines, "\n\n\nrising Aborted Faults:\n",
        [&](const line_C* l) {
          const bool q =
              (!l->sa0_redundant_b && !l->sa1_redundant_b && !l->rising_done_b && !l->rising_redundant_b) ||
              l->rising_hazard_b;
          return q && listed(l);
        },
        1, A);
    line_section(
        lines, "\n\n\nfalling Aborted Faults:\n",
        [&](const line_C* l) {
          const bool q = (!l->sa0_redundant_b && !l->sa1_redundant_b && !l->sa0_aborted_b &&
                          !l->sa1_aborted_b && !l->falling_done_b && !l->falling_redundant_b) ||
                         l->falling_hazard_b;
          return q && listed(l);
        },
        1, A);
  }
  f.stat << "\n\n\nThe other lines were tested with regard to the fault model\n";
}

// The bridging lists: the redundant pairs (also into the redundancy file)
// and the aborted ones, each as its two names.
void bridging_lists(const run_C& run, report_files_t& f, std::int64_t& R, std::int64_t& A) {
  const line_line_liste_C& pairs = run.target_list.zielfehler2_C;
  for (const char state : {PAIR_REDUNDANT, PAIR_ABORTED}) {
    f.stat << (state == PAIR_REDUNDANT ? "\n\n\nRedundant Faults:\n" : "\n\n\nAborted Faults:\n");
    std::int64_t& count = state == PAIR_REDUNDANT ? R : A;
    for (const line_line_t& pair : pairs.elemente_p) {
      if (pair.pair_state_c != state) continue;
      count++;
      const std::string names = pair.line_a_p->name_s + "  <-->  " + pair.line_b_p->name_s + "\n";
      f.stat << names;
      if (state == PAIR_REDUNDANT) f.red << names;
    }
    if (count == 0) f.stat << "none\n";
  }
  f.stat << "\n\n\nThe other lines were tested with regard to the fault model\n";
}

// A figure to the statistics file and standard output.
void figure(report_files_t& f, const char* label, long value) {
  f.stat << label << value << "\n";
  std::cout << label << value << "\n";
}

void percentage(report_files_t& f, const char* label, double value) {
  f.stat << label << value << " %\n";
  std::cout << label << value << " %\n";
}

// In the statistics file each time starts on a new line of its own.
void cpu_time(report_files_t& f, const char* label, unsigned long ms) {
  f.stat << "\n" << label;
  write_cpu_time(f.stat, ms);
  std::cout << label;
  write_cpu_time(std::cout, ms);
}

}  // namespace

void write_cpu_time(std::ostream& out, unsigned long ms) {
  const unsigned long h = ms / 1000 / 3600;
  const unsigned long m = ms / 1000 / 60 % 60;
  const unsigned long s = ms / 1000 % 60;
  if (h > 0) out << h << " h : ";
  if (m > 0 || h > 0) out << m << " min. : ";
  out << s << " sec. : " << ms % 1000 << " sec./" << 1000 << "\n";
}

void print_result(run_C& run) {
  const settings_C& settings = run.settings;
  collapsing_C& collapsing = run.collapsing;
  const pattern_writer_C& patterns = run.patterns;
  const cpu_time_C& cpu = run.cpu;
  report_files_t f;
  f.stat.open(settings.schaltungsname_s + ".stat", std::ios::app);
  f.red.open(settings.schaltungsname_s + ".red", std::ios::trunc);
  f.log.open("statistik", std::ios::app);
  f.log << settings.schaltungsname_s << "\t";
  const bool stuck_at = settings.only_stuck_at_test_b;
  if (stuck_at) collapsing.gib_redundanz_aborted_klassen_anzahl();
  // The two-pattern and stuck-on models target only some of the line faults:
  // their coverage and efficiency count those.
  const bool some_lines_targeted =
      settings.transition_test_b || settings.stuck_open_test_b || settings.iddq_stuck_on_test_b;
  const auto every_line = [](const line_C*) { return true; };
  const bool bridging = settings.bridging_b || settings.bridging_iddq_b;
  tally_t redundant;
  tally_t aborted;
  std::int64_t R = 0;
  std::int64_t A = 0;
  if (settings.path_delay_test_b) {
    R = run.no_redundant_path_i;
    A = run.no_aborted_path_i;
  } else if (bridging) {
    bridging_lists(run, f, R, A);
  } else {
    signal_lists(run, f, some_lines_targeted ? transition_target : +every_line, redundant, aborted);
    R = redundant.all;
    A = aborted.all;
  }
  const std::int64_t U = run.target_list.nr_redFaults;

  if (stuck_at) {
    f.stat << "\n\n\nNumber of Equivalent Classes : " << collapsing.aequivalenzen_zahl_i << "\n";
    std::cout << "Number of Equivalent Classes : " << collapsing.aequivalenzen_zahl_i << "\n";
  }
  figure(f, "Number of Backtracks:  ", run.backtrack_counter_i);
  f.log << run.backtrack_counter_i << "\t";
  if (settings.bridging_b) figure(f, "Number of Electric Untestable Faults:  ", U);
  figure(f, "Number of Redundancies:  ", R + U);
  f.log << R << "\t";
  if (stuck_at) figure(f, "Number of Redundant Classes : ", collapsing.redundanz_klassen_zahl_i);
  figure(f, "Number of Aborted Faults:  ", A);
  f.log << A << "\t";
  if (stuck_at) figure(f, "Number of Aborted Classes : ", collapsing.aborted_klassen_zahl_i);
  figure(f, "Number of Robust Patterns:  ", patterns.no_testpattern_i);
  f.log << patterns.no_testpattern_i;
  if (settings.stuck_open_test_b) {
    std::cout << "Number of Inits:  " << patterns.inits_i << "\n"
              << "Number of Tests:  " << patterns.tests_i << "\n";
    f.stat << "Number of non robust patterns:  " << patterns.no_non_robust_pattern_i << "\n";
    std::cout << "Number of non robust patterns:  " << patterns.no_non_robust_pattern_i << "\n";
    f.log << "+" << patterns.no_non_robust_pattern_i;
    f.stat << "Number of Inits:  " << patterns.inits_i << "\n"
           << "Number of Tests:  " << patterns.tests_i << "\n";
  }
  f.log << "\t";

  double n = 2.0 * run.circuit.number_of_lines();
  double n_efficiency =
      settings.stuck_at_test_without_branches_b ? 2.0 * run.circuit.statistic_u.no_signals_i : n;
  double lost = R + A;  // faults neither detected nor tested
  double given_up = A;
  if (some_lines_targeted) {
    int targets = 0;
    for (int i = 0; i < run.circuit.lines_C.anzahl_i; i++)
      targets += transition_target(run.circuit.lines_C[i]);
    n = n_efficiency = 2.0 * std::max(targets, 1);  // a circuit without targets has nothing left open
    lost = redundant.targeted + aborted.targeted;
    given_up = aborted.targeted;
  }
  const double efficiency = 100 - 100 * given_up / n_efficiency;
  if (run.imp.hazard_test_ein_b) run.robuste_fehlerueberdeckung_f = 100 - 100 * lost / n;
  if (settings.path_delay_test_b) {
    const double t = patterns.no_testpattern_i;
    percentage(f, "Fault Coverage:  ", 100 * t / (A + R + t));
  } else if (bridging) {
    // Over every candidate pair, the electrically untestable ones included;
    // a run without candidates has nothing left open. Pairs still untested
    // when the run stops count as given up.
    const std::int64_t candidates = run.target_list.zielfehler2_C.anzahl() + U;
    std::int64_t detected = 0;
    for (const line_line_t& pair : run.target_list.zielfehler2_C.elemente_p) {
      detected += pair.pair_state_c == PAIR_DETECTED;
    }
    const double base = static_cast<double>(std::max<std::int64_t>(candidates, 1));
    const double coverage = candidates == 0 ? 100 : 100 * detected / base;
    const double bridging_efficiency = candidates == 0 ? 100 : 100 * (detected + R + U) / base;
    percentage(f, "Fault Coverage:  ", std::trunc(100 * coverage) / 100);
    percentage(f, "Efficiency of Test generation:  ", bridging_efficiency);
    f.log << std::trunc(bridging_efficiency * 10) / 10 << "%\t";
  } else {
    if (settings.stuck_open_test_b) {
      f.stat << "robust Fault Coverage:  " << run.robuste_fehlerueberdeckung_f << "% \n";
      std::cout << "robust Fault Coverage:  " << run.robuste_fehlerueberdeckung_f << " %\n";
    }
    if (stuck_at && collapsing.aequivalenzen_zahl_i > 0) {
      const double classes = collapsing.redundanz_klassen_zahl_i + collapsing.aborted_klassen_zahl_i;
      percentage(f, "Fault Coverage:  ", 100 - 100 * classes / collapsing.aequivalenzen_zahl_i);
    } else {
      // Without fanout branches there are no classes: the coverage counts
      // faults, over the same faults as the efficiency.
      percentage(f, "Fault Coverage:  ", 100 - 100 * lost / n_efficiency);
    }
    if (stuck_at) {
      collapsing.redundanz_klassen_zahl_i = 0;
      collapsing.aborted_klassen_zahl_i = 0;
    }
    percentage(f, "Efficiency of Test generation:  ", efficiency);
    f.log << std::trunc(efficiency * 10) / 10 << "%\t";
  }

  cpu_time(f, "CPU time for test generation:  ", cpu.cpu_tpg_l);
  f.log << cpu.cpu_tpg_l / 1000 << "\t";
  if (!settings.path_delay_test_b) {
    cpu_time(f, "CPU time for fault simulation:  ", cpu.cpu_fs_l);
    f.log << cpu.cpu_fs_l / 1000 << "\n";
  } else {
    f.log << "\n";
  }
  if (cpu.cpu_sat_l >= 0)
    cpu_time(f, "CPU time for the SAT phase:  ", static_cast<unsigned long>(cpu.cpu_sat_l));
  cpu_time(f, "CPU time for preprocessing:  ", static_cast<unsigned long>(cpu.cpu_prae_l));
  cpu_time(f, "CPU time for rest:  ", cpu.cpu_sons_l);
}
