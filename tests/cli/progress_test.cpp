#include "cli/progress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace velorin {
namespace {

TEST(FormatProgress, ShowsRecordsAndThePartReadWhenTheSizeIsKnown) {
  EXPECT_EQ(FormatProgress(0, 0, std::nullopt), "0 records written");
  EXPECT_EQ(FormatProgress(1234, 500, std::nullopt), "1234 records written");
  EXPECT_EQ(FormatProgress(7, 0, 0), "7 records written");
  EXPECT_EQ(FormatProgress(7, 0, 1000), "7 records written, 0% read");
  EXPECT_EQ(FormatProgress(7, 425, 1000), "7 records written, 42% read");
  EXPECT_EQ(FormatProgress(7, 1000, 1000), "7 records written, 100% read");
  // Reading runs ahead of the records and a file may grow meanwhile.
  EXPECT_EQ(FormatProgress(7, 5000, 1000), "7 records written, 100% read");
  EXPECT_EQ(FormatProgress(1000000, 60'000'000'000ULL, 120'000'000'000ULL),
            "1000000 records written, 50% read");
}

std::string Contents(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(ProgressLine, OverwritesItsLineAndClearsIt) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  {
    ProgressLine line(file);
    line.Draw("12 records written");
    line.Draw("9 records");
    line.Clear();
    line.Clear();  // nothing shown: nothing written
  }
  EXPECT_EQ(Contents(file), "\r12 records written\r9 records         \r         \r");
  std::fclose(file);
}

}  // namespace
}  // namespace velorin
