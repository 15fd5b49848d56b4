#include "cli/cli_app.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/exit_codes.h"

namespace velorin {
namespace {

int RunWith(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "velorin-cli");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  return RunCliApp(static_cast<int>(argv.size()), argv.data());
}

TEST(CliApp, HelpAndVersionSucceed) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunWith({"--version"}), kExitDone);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "velorin-cli 0.2.0\n");
  for (const char* command : {"convert", "encode", "decode"}) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunWith({command, "--help"}), kExitDone);
    EXPECT_NE(testing::internal::GetCapturedStdout().find(command), std::string::npos);
  }
}

TEST(CliApp, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"convert"},
      {"convert", "--untitled=maybe", "a.pot"},
      {"convert", "--bogus", "a.pot"},
      {"convert", "--timestamp", "--force"},
      {"convert", "a.pot", "b.nvi", "c"},
      {"encode", "139'46'1'6"},
      {"decode"},
  };
  for (const auto& arguments : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunWith(arguments), kExitUsage) << testing::PrintToString(arguments);
    testing::internal::GetCapturedStderr();
  }
}

TEST(CliApp, RunsThePositionCommands) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunWith({"encode", "139'46'1'6", "35'40'52'3"}), kExitDone);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "$168736AFD305033D\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunWith({"decode", "$168736AFD305033D"}), kExitDone);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "139.7671111 35.6811945\n139'46'1'6 35'40'52'3\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunWith({"decode", "168736AFD305033D"}), kExitFailed);
  testing::internal::GetCapturedStderr();
}

}  // namespace
}  // namespace velorin
