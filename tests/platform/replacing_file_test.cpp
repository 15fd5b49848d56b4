#include "platform/replacing_file.h"

#include <gtest/gtest.h>

#include <string>

#include "replacing_file_fixture.h"

namespace velorin {
namespace {

TEST_F(ReplacingFileTest, TargetChangesOnlyAtCommit) {
  Write("out.nvi", "old");
  std::error_code ec;
  auto sink = Open("out.nvi", ec);
  ASSERT_TRUE(sink) << ec.message();
  ASSERT_TRUE(sink->Write("new", 3));
  ASSERT_TRUE(sink->Close());
  EXPECT_EQ(Read("out.nvi"), "old");  // written and closed, not yet in place
  ASSERT_TRUE(sink->Commit());
  EXPECT_EQ(Read("out.nvi"), "new");
  EXPECT_EQ(FolderNames(), Names({"out.nvi"}));
}

TEST_F(ReplacingFileTest, DroppedOrDiscardedLeavesNothingBehind) {
  Write("old.nvi", "old");
  for (const bool discard : {false, true}) {
    for (const char* name : {"old.nvi", "new.nvi"}) {
      SCOPED_TRACE(std::string(name) + (discard ? " discarded" : " dropped"));
      std::error_code ec;
      auto sink = Open(name, ec);
      ASSERT_TRUE(sink) << ec.message();
      ASSERT_TRUE(sink->Write("partial", 7));
      if (discard) sink->Discard();
      sink.reset();
      EXPECT_EQ(Read("old.nvi"), "old");
      EXPECT_EQ(FolderNames(), Names({"old.nvi"}));
    }
  }
}

TEST_F(ReplacingFileTest, WhatCannotBeWrittenFailsAtOnce) {
  fs::create_directory(folder_ / "folder.nvi");
  struct Case {
    const char* name;
    std::errc error;
  };
  const Case cases[] = {
      {"folder.nvi", std::errc::is_a_directory},
      {"missing/out.nvi", std::errc::no_such_file_or_directory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::error_code ec;
    EXPECT_FALSE(Open(c.name, ec));
    EXPECT_EQ(ec, c.error);
  }
  EXPECT_EQ(FolderNames(), Names({"folder.nvi"}));
}

}  // namespace
}  // namespace velorin
