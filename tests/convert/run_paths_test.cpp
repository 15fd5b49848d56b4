// The outputs of a batch (each input converted on its own) against all its
// inputs, by the files they name.
#include "convert/run_paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory_file_system.h"

namespace velorin {
namespace {

struct BatchCase {
  const char* name;
  std::vector<std::string> inputs;
  std::vector<std::string> outputs;  ///< of each input, in order
  /// The input that is an output, and whose output it is; none: no clash.
  std::string clashingInput;
  std::size_t outputOf;
};

void PrintTo(const BatchCase& c, std::ostream* out) { *out << c.name; }

class BatchClashTest : public ::testing::TestWithParam<BatchCase> {};

TEST_P(BatchClashTest, FindsAnOutputThatIsAnInputOfTheBatch) {
  const BatchCase& c = GetParam();
  MemoryFileSystem files;
  for (const char* path : {"/d/x.gpx", "/d/x.nvi", "/src/y.nvi", "/out/y.gpx", "/out/z.nvi"}) {
    files.AddFile(path, "points");
  }
  files.AddLink("/here", "/d");
  const auto clash = FindBatchClash(files, c.inputs, c.outputs);
  ASSERT_EQ(clash.has_value(), !c.clashingInput.empty());
  if (!clash) return;
  EXPECT_EQ(clash->clash.first, c.clashingInput);
  EXPECT_EQ(clash->clash.firstRole, FileRole::kInput);
  EXPECT_EQ(clash->clash.second, c.outputs[c.outputOf]);
  EXPECT_EQ(clash->clash.secondRole, FileRole::kOutput);
  EXPECT_EQ(clash->outputOf, c.outputOf);
}

INSTANTIATE_TEST_SUITE_P(
    Batches, BatchClashTest,
    ::testing::Values(
        // x.nvi would become x.gpx before x.gpx is read.
        BatchCase{
            "ALaterInput", {"/d/x.nvi", "/d/x.gpx"}, {"/d/./x.gpx", "/d/./x.nvi"}, "/d/x.gpx", 0},
        BatchCase{"AnEarlierInput",
                  {"/d/x.gpx", "/src/y.nvi"},
                  {"/out/x.nvi", "/d/x.gpx"},
                  "/d/x.gpx",
                  1},
        BatchCase{"InTheOutputFolder",
                  {"/src/y.nvi", "/out/y.gpx"},
                  {"/out/y.gpx", "/out/y.nvi"},
                  "/out/y.gpx",
                  0},
        BatchCase{
            "ThroughALink", {"/d/x.nvi", "/d/x.gpx"}, {"/here/x.gpx", "/out/x.nvi"}, "/d/x.gpx", 0},
        BatchCase{"ItsOwnInput", {"/d/x.gpx"}, {"/d/x.gpx"}, "/d/x.gpx", 0},
        BatchCase{"NewOutputs", {"/d/x.gpx", "/src/y.nvi"}, {"/out/x.nvi", "/out/y.gpx2"}, "", 0},
        BatchCase{"AnExistingFileThatIsNoInput", {"/d/x.gpx"}, {"/out/z.nvi"}, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
