// Where the read-only data files lie: the installed folder from its relation
// to the program's, and the program's own folder when the data lies there.
#include "startup/data_folder.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/program_folder.h"

namespace velorin {
namespace {

struct InstalledCase {
  const char* name;
  const char* programFolder;
  const char* dataFromProgram;
  const char* dataFolder;
};

class InstalledDataFolderTest : public ::testing::TestWithParam<InstalledCase> {};

TEST_P(InstalledDataFolderTest, FollowsTheRelationWithoutDotSteps) {
  const InstalledCase& c = GetParam();
  EXPECT_EQ(InstalledDataFolder(c.programFolder, c.dataFromProgram), c.dataFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, InstalledDataFolderTest,
    ::testing::Values(InstalledCase{"Usr", "/usr/bin/", "../share/velorin", "/usr/share/velorin/"},
                      InstalledCase{"UsrLocal", "/usr/local/bin/", "../share/velorin",
                                    "/usr/local/share/velorin/"},
                      InstalledCase{"Opt", "/opt/velorin/bin/", "../share/velorin",
                                    "/opt/velorin/share/velorin/"},
                      InstalledCase{"RelationEndingInASeparator", "/usr/bin/", "../share/velorin/",
                                    "/usr/share/velorin/"},
                      InstalledCase{"DotStepsInTheProgramFolder", "/usr/./lib/../bin/",
                                    "../share/velorin", "/usr/share/velorin/"},
                      InstalledCase{"DataBesideTheProgram", "/home/u/velorin/", ".",
                                    "/home/u/velorin/"},
                      InstalledCase{"BinDeeperThanShare", "/usr/lib/velorin/bin/",
                                    "../../../share/velorin", "/usr/share/velorin/"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataFromProgram, IsARelationBetweenTwoFoldersOfTheInstallation) {
  const std::string relation = DataFromProgram();
  ASSERT_FALSE(relation.empty());
  EXPECT_NE(relation.front(), '/');
  EXPECT_TRUE(relation.ends_with("velorin")) << relation;
}

TEST(DataFolderHolding, IsTheProgramsFolderWhenTheFileLiesThere) {
  // This test program lies in its own folder, as the data of a build tree does.
  EXPECT_EQ(DataFolderHolding("startup_tests"), ProgramFolder());
}

TEST(DataFolderHolding, IsTheInstalledFolderWhenTheFileIsNotBesideTheProgram) {
  EXPECT_EQ(DataFolderHolding("no-such-data-file.bin"),
            InstalledDataFolder(ProgramFolder(), DataFromProgram()));
}

}  // namespace
}  // namespace velorin
