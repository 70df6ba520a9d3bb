// Fault list files: the keywords each model takes, branch names, unknown
// names, and the records at the edges of the file.
#include "preproc/fault_list_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/run.h"
#include "model/line.h"
#include "preproc/levels.h"
#include "support/capture_output.h"
#include "support/circuit_text.h"
#include "support/fatal.h"
#include "support/output_files.h"
#include "support/run_quarn.h"

namespace {

// a fans out to the And g (output y) and the inverter h (output z).
const std::string fanout = cir_text("a, b, y, z", "g : And_2 ;\nh : Inverter ;\n", "a, b", "y, z",
                                    "g ( a, b ; y ) ;\nh ( a ; z ) ;\n");

// The targets a fault list file gives in the model, as "name/value" (0, 1,
// F falling, R rising) in list order, and what the run printed.
std::pair<std::string, std::string> targets_of(fault_model_t model, const std::string& file) {
  run_C& run = read_checked_circuit("flt", fanout);
  run.settings.select_fault_model(model);
  calculate_planes(run.circuit, run.messages);
  std::istringstream in(file);
  output_capture_C out;
  read_flt(in, run.circuit, run.settings, run.messages, run.target_list);
  std::string listed;
  const line_value_liste_C& targets = run.target_list.zielfehler_C;
  for (int i = 0; i < targets.anzahl_i; i++) {
    const char v = targets[i]->value_c;
    listed += (i ? " " : "") + targets[i]->line_p->name_s + "/" +
              (v == ZERO      ? "0"
               : v == ONE     ? "1"
               : v == FALLING ? "F"
                              : "R");
  }
  EXPECT_EQ(run.target_list.flt_read_b, 1);
  return {listed, out.text()};
}

// Before the measures every target has the same key, so each one goes in
// front of those before it; then the list is sorted by falling level, equal
// levels keeping their order.
TEST(FaultListFile, EachModelTakesItsOwnKeywordsInAnyLetterCase) {
  const std::string all = "s-a-0 b\nS-A-1 b\nfalling y\nRISING y\ni-s-on-0 z\nI-s-On-1 z\n";
  EXPECT_EQ(targets_of(fault_model_t::stuck_at, all).first, "b/1 b/0");
  EXPECT_EQ(targets_of(fault_model_t::iddq, all).first, "b/1 b/0");
  EXPECT_EQ(targets_of(fault_model_t::transition, all).first, "y/R y/F");
  EXPECT_EQ(targets_of(fault_model_t::stuck_open, all).first, "y/R y/F");
  EXPECT_EQ(targets_of(fault_model_t::stuck_on, all).first, "z/R z/F");
  EXPECT_EQ(targets_of(fault_model_t::path_delay, all).first, "z/R z/F y/R y/F");
  // In a stuck-at run a rising record is skipped: one target, the s-a-1.
  EXPECT_EQ(targets_of(fault_model_t::stuck_at, "rising b s-a-1 b").first, "b/1");
}

TEST(FaultListFile, BranchesAnswerToTheirNameWithOrWithoutTheNumberAndTheStemOnlyToItsOwn) {
  // Targets are sorted by falling level: the branches (level 2) before the stem.
  EXPECT_EQ(targets_of(fault_model_t::stuck_at, "s-a-0 a->y_ s-a-0 a->z__2 s-a-0 a").first,
            "a->z__2/0 a->y__1/0 a/0");
  const auto [listed, printed] = targets_of(fault_model_t::stuck_at, "s-a-0 a->y s-a-1 nowhere");
  EXPECT_EQ(listed, "");
  EXPECT_EQ(printed,
            "\nWARNING:  a->y not found in circuit\n\nWARNING:  nowhere not found in circuit\n"
            "\t\t0 target faults demanded\n");
}

TEST(FaultListFile, TheLastRecordCountsWithoutAFinalNewlineAndAnEmptyFileHasNoTargets) {
  EXPECT_EQ(targets_of(fault_model_t::stuck_at, "s-a-0 b\ns-a-1 y").first, "y/1 b/0");
  EXPECT_EQ(targets_of(fault_model_t::stuck_at, "").second, "\t\t0 target faults demanded\n");
  EXPECT_EQ(targets_of(fault_model_t::stuck_at, "s-a-0 b s-a-1").first, "b/0");  // half a record
  EXPECT_FATAL(targets_of(fault_model_t::stuck_at, "s-a-0 " + std::string(800, 'n')),
               "read_flt: a word of the fault list file is too long (limit 799)");
}

// Found by fuzzing: sorting the targets of an empty file handed the sort a
// list without storage.
TEST(FaultListFile, AnEmptyFileLeavesATargetListWithoutStorageAlone) {
  run_C& run = read_checked_circuit("flt", fanout);
  target_list_C unsized(run.circuit, run.settings);
  std::istringstream in("falling nowhere");
  output_capture_C out;
  read_flt(in, run.circuit, run.settings, run.messages, unsized);
  EXPECT_EQ(unsized.zielfehler_C.anzahl_i, 0);
  EXPECT_NE(out.text().find("\t\t0 target faults demanded\n"), std::string::npos);
}

TEST(FaultListFile, ARunTestsOnlyTheFaultsOfItsFile) {
  write_file("listed.cir", fanout);
  write_file("listed.flt", "s-a-0 b\n");
  const quarn_run_t run = run_quarn({"listed.cir", "10", "STUCK_AT"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find("\t\t1 target faults demanded\n"), std::string::npos);
  EXPECT_EQ(run.output.find("Create Fault-List"), std::string::npos);  // no classes computed
  const pattern_records_t pat = read_pattern_records("listed.pat");
  ASSERT_EQ(pat.lines.size(), 1u);
  EXPECT_EQ(pat.lines[0].target, "b");
  EXPECT_EQ(pat.lines[0].inputs, "11");  // b at 1, seen at y through a = 1
}

}  // namespace
