// velorin-cli converting other formats as a whole process: Ctrl-C, a file
// size limit, the record limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "child_process.h"
#include "temp_folder.h"

namespace velorin {
namespace {

using namespace std::chrono_literals;
using testing::Child;
using testing::ChildSetup;

constexpr auto kPatience = 60s;

std::string Waypoints(int count) {
  std::string gpx = "<gpx>\n";
  for (int i = 0; i < count; ++i) gpx += "<wpt lat=\"35\" lon=\"139\"><name>A</name></wpt>\n";
  return gpx + "</gpx>\n";
}

class FormatProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }

  std::unique_ptr<Child> Start(std::vector<std::string> arguments,
                               std::optional<rlim_t> fileSizeLimit = std::nullopt) {
    ChildSetup setup;
    setup.arguments = std::move(arguments);
    setup.workingFolder = folder_ / "";
    setup.fileSizeLimit = fileSizeLimit;
    auto child = std::make_unique<Child>(VELORIN_CLI, setup);
    EXPECT_TRUE(child->started());
    return child;
  }
  std::vector<std::string> Names() const { return folder_.Names(); }
  /// Waits until the run has made its temporary output: it is then ready for
  /// a signal.
  bool WaitForTemporaryFile() const {
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < end) {
      for (const std::string& name : Names()) {
        if (name.find(".velorin-") != std::string::npos) return true;
      }
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

  TempFolder folder_;
};

// Ctrl-C while a GPX input pipe is quiet: a cancel that still ends the
// output properly, not a read error.
TEST_F(FormatProcessTest, InterruptOnAQuietPipeKeepsAWholeFile) {
  auto child = Start({"convert", "--from=gpx", "-", "out.csv"});
  child->WriteStdin("<gpx><wpt lat=\"1\" lon=\"2\"><name>A</name></wpt>");
  ASSERT_TRUE(WaitForTemporaryFile());
  child->Signal(SIGINT);
  ASSERT_TRUE(child->Wait(kPatience));
  EXPECT_EQ(child->ExitCode(), 130) << child->Stderr();
  EXPECT_EQ(child->Stderr().rfind("interrupted: ", 0), 0u) << child->Stderr();
  const std::string csv = ReadFile(folder_ / "out.csv");
  EXPECT_EQ(csv.rfind("name,latitude,longitude\r\n", 0), 0u);
  EXPECT_EQ(csv.back(), '\n');
  EXPECT_EQ(Names(), std::vector<std::string>{"out.csv"});
}

// A file size limit (a full disk) mid-way: the old output stays, nothing is
// left behind.
TEST_F(FormatProcessTest, FileTooLargeLeavesTheOldOutput) {
  WriteFile(folder_ / "in.gpx", Waypoints(20'000));
  WriteFile(folder_ / "out.kml", "old");
  auto child = Start({"convert", "--force", "in.gpx", "out.kml"}, 64 * 1024);
  ASSERT_TRUE(child->Wait(kPatience));
  EXPECT_EQ(child->ExitCode(), 1);
  EXPECT_EQ(child->Stderr(),
            "velorin-cli: write error on output file 'out.kml': File too large\n"
            "velorin-cli: output file 'out.kml' left unchanged\n");
  EXPECT_EQ(ReadFile(folder_ / "out.kml"), "old");
  EXPECT_EQ(Names(), (std::vector<std::string>{"in.gpx", "out.kml"}));
}

// NVI holds a million records from any input: one waypoint more exits 4 and
// names the line where conversion stopped.
TEST_F(FormatProcessTest, RecordLimitNamesTheFirstWaypointLeft) {
  WriteFile(folder_ / "in.gpx", Waypoints(1'000'001));
  auto child = Start({"convert", "in.gpx", "out.nvi"});
  ASSERT_TRUE(child->Wait(kPatience));
  EXPECT_EQ(child->ExitCode(), 4);
  EXPECT_EQ(child->Stderr(),
            "1000000 records written to out.nvi\n"
            "velorin-cli: the limit of 1000000 records was reached; input lines from line "
            "1000002 on were not converted\n");
  EXPECT_EQ(std::filesystem::file_size(folder_ / "out.nvi"), 1'000'000u * 166u);
}

}  // namespace
}  // namespace velorin
