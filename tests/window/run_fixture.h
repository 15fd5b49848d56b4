#pragma once
// A conversion run hosted by a scripted window, on the real disk, in a
// fresh folder.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "convert/conversion_run.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "scripted_host.h"
#include "tests/support/temp_folder.h"

namespace velorin::testing {

using testutil::Exists;
using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

inline std::string ReferenceFile(std::string_view name) {
  return ReadBytes(std::string(VELORIN_CONVERT_TEST_DATA) + "/" + std::string(name));
}

/// The block that the run writes for a record, stamped by RunTest's clock.
inline std::string NviBlock(std::string_view title, std::string_view position) {
  std::string block = "NPOIs100@NRA/R1;\n 2010/04/01_14:30:00_JST;\n 255;\n ";
  block += position;
  block += ";\n TTL= {";
  block += title;
  block +=
      "};\n CHAR = SJIS;\n ADDR = {};\n HPGL = {};\n MAIL = {};\n LNKF = {};\n COMM = {};\n"
      "eoNPOIs@NRA\n";
  return block;
}

inline constexpr std::string_view kPosition135x35 = "$13D5FD5FD5FD4C00";

/// A POT line for the point (135, 35) titled `title`.
inline std::string PointLine(std::string_view title) {
  return "ORD=POI/tex=" + std::string(title) + "/kei=135'0'0'0/ido=35'0'0'0";
}

class RunTest : public ::testing::Test {
 protected:
  RunTest() {
    host.applicationFolder = folder.Folder();
    host.inputPath = folder.PathOf("in.pot");
    host.outputPath = folder.PathOf("out.nvi");
  }

  std::string LogPath() const { return folder.PathOf("velorin_log.txt"); }
  void WriteInput(std::string_view bytes) { WriteBytes(host.inputPath, bytes); }
  std::string Output() const { return ReadBytes(host.outputPath); }

  /// Runs once, answering Yes to the start question (and to the overwrite
  /// question when the output exists) and expecting `lastBox`.
  RunOutcome RunAnsweringYes(RunMessage lastBox = RunMessage::kFinished,
                             WindowRunOptions options = {}) {
    host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
    if (Exists(host.outputPath)) host.Answer(RunMessage::kOverwriteQuestion, MessageAnswer::kYes);
    host.ExpectBox(lastBox);
    return Run(options);
  }
  RunOutcome Run(WindowRunOptions options = {}) {
    return host.Run(files, clock, host.Options(options));
  }
  const MessageBoxRequest& LastBox() const { return host.boxes.back(); }

  TempFolder folder;
  ScriptedHost host;
  LocalFileSystem files;
  FixedClock clock{{"2010/04/01", "14:30:00"}};
};

}  // namespace velorin::testing
