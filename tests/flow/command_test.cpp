// What the companion commands share: how their arguments are read, and the
// stem they find a run's files by.
#include "flow/command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CommandArguments, OptionsValuesAndOperandsInOrderAndAllOperandsAfterTheDoubleDash) {
  const std::vector<std::string> args = {"-p", "x.pat", "c.cir", "--run", "-", "--", "-odd.cir", "--top"};
  std::vector<std::string> seen;
  for (argument_reader_C arg(args); arg.next();) {
    const std::string word = arg.word();
    if (arg.is_option()) {
      seen.push_back("option " + word + (word == "-p" ? " " + arg.value() : ""));
    } else {
      seen.push_back("operand " + arg.word());
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"option -p x.pat", "operand c.cir", "option --run", "operand -",
                                            "operand -odd.cir", "operand --top"}));
}

TEST(CommandArguments, AMissingOrBadValueIsAUsageErrorNamingTheOption) {
  const auto reason = [](const std::vector<std::string>& args, long least, long most) {
    try {
      argument_reader_C arg(args);
      arg.next();
      arg.number(least, most);
    } catch (const usage_error_t& e) {
      return e.reason;
    }
    return std::string("accepted");
  };
  EXPECT_EQ(reason({"--seed"}, 0, 9), "--seed needs a value");
  EXPECT_EQ(reason({"--seed", "12"}, 0, 9), "--seed needs a number from 0 to 9, not \"12\"");
  EXPECT_EQ(reason({"--seed", "3x"}, 0, 9), "--seed needs a number from 0 to 9, not \"3x\"");
  EXPECT_EQ(reason({"--seed", ""}, 0, 9), "--seed needs a number from 0 to 9, not \"\"");
  EXPECT_EQ(reason({"--seed", "9"}, 0, 9), "accepted");
}

TEST(CommandArguments, TheStemIsTheOneQuarnNamesTheRunsFilesBy) {
  EXPECT_EQ(circuit_stem("dir/c17.cir"), "dir/c17");
  EXPECT_EQ(circuit_stem("s9234.1.bench"), "s9234.1");
  EXPECT_EQ(circuit_stem("dir.v2/a.b.cir"), "dir.v2/a");
  EXPECT_EQ(circuit_stem("plain"), "plain");
}

}  // namespace
