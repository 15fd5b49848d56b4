// What the window makes of each failure of a run: the box of the stage, the
// field it gives the focus, and the calls around it, on files in memory with
// the failure planted. Where each failure stops the run is the engine's and
// tested with it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/memory_file_system.h"
#include "scripted_host.h"

namespace velorin::testing {
namespace {

constexpr const char* kInput = "/in.pot";
constexpr const char* kOutput = "/out/out.nvi";
constexpr const char* kLog = "/app/velorin_log.txt";

struct FailureBoxCase {
  const char* name;
  std::function<void(MemoryFileSystem&, ScriptedHost&)> plant;
  RunStage stage;
  const char* text;
  std::vector<std::string> calls;
};

const std::vector<std::string> kBeforeReading{"drops off", "box start question", "box failure",
                                              "panel 0",   "focus input",        "drops on"};

TEST(RunFailureBox, NamesTheStageAndFocusesItsField) {
  const FailureBoxCase cases[] = {
      {"InputMissing", [](MemoryFileSystem& f, ScriptedHost&) { f.RemoveFile(kInput); },
       RunStage::kOpenInput, "m122\r\nm123", kBeforeReading},
      {"InputIsAFolder",
       [](MemoryFileSystem& f, ScriptedHost&) {
         f.RemoveFile(kInput);
         f.AddFolder(kInput);
       },
       RunStage::kOpenInput, "m122\r\nm123", kBeforeReading},
      {"OutputFolderMissing",
       [](MemoryFileSystem&, ScriptedHost& h) { h.outputPath = "/none/out.nvi"; },
       RunStage::kOpenOutput,
       "m124\r\nm125",
       {"drops off", "box start question", "box failure", "panel 0", "focus output", "drops on"}},
      // Not a file: no question whether to replace it.
      {"OutputIsAFolder",
       [](MemoryFileSystem& f, ScriptedHost&) { f.AddFolder(kOutput); },
       RunStage::kOpenOutput,
       "m124\r\nm125",
       {"drops off", "box start question", "box failure", "panel 0", "focus output", "drops on"}},
      {"ReadError",
       [](MemoryFileSystem& f, ScriptedHost&) { f.FaultsOf(kInput).readFailsAfter = 0; },
       RunStage::kReadLine,
       "m126\r\nm127",
       {"drops off", "box start question", "panel 1", "progress m5 0", "box failure", "panel 0",
        "focus input", "drops on"}},
      {"OutputDiskFull",
       [](MemoryFileSystem& f, ScriptedHost&) { f.FaultsOf(kOutput).writeFailsAfter = 0; },
       RunStage::kWriteRecord,
       "m128\r\nm129",
       {"drops off", "box start question", "panel 1", "progress m5 0", "progress m5 1",
        "box failure", "panel 0", "focus output", "drops on"}},
      {"LogFolderMissing",
       [](MemoryFileSystem&, ScriptedHost& h) { h.logPath = "/none/velorin_log.txt"; },
       RunStage::kOpenLog, "m132\r\nm133", kBeforeReading},
      {"LogDiskFull",
       [](MemoryFileSystem& f, ScriptedHost&) { f.FaultsOf(kLog).writeFailsAfter = 0; },
       RunStage::kWriteLog,
       "m134\r\nm135",
       {"drops off", "box start question", "panel 1", "progress m5 0", "progress m5 1",
        "box failure", "panel 0", "focus input", "drops on"}},
  };
  for (const FailureBoxCase& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryFileSystem files;
    FixedClock clock{{"2010/04/01", "14:30:00"}};
    ScriptedHost host;
    host.applicationFolder = "/app/";
    host.inputPath = kInput;
    host.outputPath = kOutput;
    host.settings[3] = "1";  // the log
    files.AddFolder("/app");
    files.AddFolder("/out");
    files.AddFile(kInput, "ORD=POI/tex=A/kei=135'0'0'0/ido=35'0'0'0\r\n");
    c.plant(files, host);
    host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
    host.ExpectBox(RunMessage::kFailure);
    const RunOutcome outcome = host.Run(files, clock, host.Options());
    EXPECT_EQ(outcome.failedStage, c.stage);
    ASSERT_FALSE(host.boxes.empty());
    const MessageBoxRequest& box = host.boxes.back();
    EXPECT_EQ(box.title, "m91");
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.buttons, MessageButtons::kOk);
    EXPECT_EQ(host.calls, c.calls);
  }
}

}  // namespace
}  // namespace velorin::testing
