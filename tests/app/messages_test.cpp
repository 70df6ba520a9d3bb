// Warnings, fatal errors and the debug dump.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "app/messages.h"
#include "app/run.h"
#include "app/statistic.h"
#include "support/child.h"
#include "support/run_quarn.h"

namespace {

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
  return n;
}

TEST(Messages, WarningPrefixIsWrittenOnceBeforeTheFirstWarning) {
  std::strcpy(schaltungsname_s, "warned");
  child_result_t run = run_in_child([] {
    warning(string_C("first"));
    warning(string_C("second"));
  });
  EXPECT_EQ(run.output, "\nWARNING:  first\n\nWARNING:  second\n");
  EXPECT_EQ(read_file("warned.stat"), "WARNING:  first\nsecond\n");
}

TEST(Messages, StatisticsBlockDiscardsEarlierWarnings) {
  std::strcpy(schaltungsname_s, "fresh");
  child_result_t run = run_in_child([] {
    warning(string_C("lost"));
    statistic_u.feedback_b = 0;
    print_statistic();
    warning(string_C("kept"));
  });
  EXPECT_EQ(run.exit_status, 0);
  const std::string stat = read_file("fresh.stat");
  EXPECT_EQ(stat.rfind("Number of gates:   0\n", 0), 0u);
  EXPECT_EQ(stat.find("lost"), std::string::npos);
  // The prefix went to the first warning, so the later one stands alone.
  EXPECT_EQ(stat.substr(stat.size() - 5), "kept\n");
  EXPECT_NE(stat.find("Feedback in circuit:   0\nkept\n"), std::string::npos);
}

TEST(Messages, ErrorWritesMessageAndDumpAndEndsWithStatusOne) {
  std::strcpy(schaltungsname_s, "broken");
  child_result_t run = run_in_child([] { error(string_C("something failed")); });
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.output, "\nERROR!!!\nsomething failed\nPrint the hole Datastructure in .debug File\n");
  EXPECT_EQ(read_file("broken.stat"), "ERROR!!!\t\tsomething failed\n");
  // Nothing was read: four empty sections.
  EXPECT_EQ(read_file("broken.debug"),
            "******************** Gatter ***********************\n"
            "******************** Signale ***********************\n"
            "******************** Eingaenge ***********************\n"
            "******************** Ausgaenge ***********************\n");
}

// A parse error in the middle of a gate declaration leaves the gate of that
// line without its type and every signal without values: the dump shows the
// codes of fresh records.
TEST(Messages, DebugDumpShowsEveryRecordWithItsLabels) {
  write_file("fresh.cir",
             "Circuit fresh ;\nNode a, y : bit ;\nCon ( delay : 1 )\n  g : Inverter ;\n  h : Bogus ;\n");
  quarn_run_t run = run_quarn({"fresh.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 1);
  const std::string dump = read_file("fresh.debug");
  EXPECT_EQ(count(dump, "Adresse   "), 4);  // two gates, two signals
  EXPECT_NE(dump.find("Name:   g\n"), std::string::npos);
  EXPECT_NE(dump.find("Gate Type:   5\n"), std::string::npos);   // the inverter
  EXPECT_NE(dump.find("Gate Type:   11\n"), std::string::npos);  // h, never typed
  EXPECT_NE(dump.find("Number Inputs:   1\nNumber Outputs:   1\n"), std::string::npos);
  EXPECT_EQ(count(dump, "Line Type:   3\n"), 2);
  EXPECT_EQ(count(dump, "Good Value:   9\nBad Value:   9\nOnly Value:   9\n"), 2);
  EXPECT_EQ(count(dump, "##### Vorgaenger\n\tAnzahl Elemente:   0\n"), 2);
  // Each signal's fields start a line of their own; gates print their
  // feedback flag under both names.
  const std::string signal_labels =
      "Nummer|Im Eingangskegel|Im Ausgangskegel|Primaer Eingang|Primaer Ausgang|Fanout|Plane Number|"
      "Output Depth|Init Value|Vorgaenger|Nachfolger|Rising Test erledigt|Falling Test erledigt|"
      "Stuck at 0 redundant|Stuck at 1 redundant|Stuck at 0 aborted|Stuck at 1 aborted|Test erledigt|"
      "Stuck at Test erledigt|Stuck at 0 Test erledigt|Stuck at 1 Test erledigt|0 Controllability|"
      "1 Controllability|Gesamt Controllability|Observability|Testability";
  std::istringstream labels(signal_labels);
  for (std::string label; std::getline(labels, label, '|');) {
    EXPECT_EQ(count(dump, "\n" + label + ":   "), 2) << label;
  }
  for (const char* label : {"Inputliste:   ", "Outputliste:   ", "Gate in Feedback:   ",
                            "Pfadrekonvergenz an Element:   ", "##### Inputs\n", "##### Outputs\n"}) {
    EXPECT_EQ(count(dump, label), 2) << label;
  }
  EXPECT_EQ(count(dump, "Element in Feedback:   "), 4);
  EXPECT_EQ(count(dump, "\n\n***********\n"), 4);
}

}  // namespace
