#include "platform/descriptor_posix.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace velorin {
namespace {

/// Two pipes: the one waited on and the one that wakes the wait.
class DescriptorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::pipe(input_), 0);
    ASSERT_EQ(::pipe(wake_), 0);
  }
  void TearDown() override {
    for (int* pair : {input_, wake_}) {
      for (int i = 0; i < 2; ++i) {
        if (pair[i] >= 0) ::close(pair[i]);
      }
    }
  }
  void CloseWriteEnd() {
    ::close(input_[1]);
    input_[1] = -1;
  }

  int input_[2] = {-1, -1};
  int wake_[2] = {-1, -1};
};

struct WaitCase {
  const char* name;
  const char* input;  ///< written before the wait (nullptr: nothing)
  bool inputEnded;    ///< the write end closed before the wait
  bool woken;         ///< the wake pipe written before the wait
  InputWait expected;
};

class WaitForInputTest : public DescriptorTest, public ::testing::WithParamInterface<WaitCase> {};

TEST_P(WaitForInputTest, SaysWhatEndedTheWait) {
  const WaitCase& c = GetParam();
  if (c.input != nullptr) {
    ASSERT_FALSE(WriteDescriptor(input_[1], c.input, std::char_traits<char>::length(c.input)));
  }
  if (c.inputEnded) CloseWriteEnd();
  if (c.woken) {
    ASSERT_FALSE(WriteDescriptor(wake_[1], "x", 1));
  }
  // A look only: every case is decided before the wait begins.
  EXPECT_EQ(WaitForInput(input_[0], wake_[0], 0), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pipes, WaitForInputTest,
    ::testing::Values(WaitCase{"Quiet", nullptr, false, false, InputWait::kTimedOut},
                      WaitCase{"DataArrived", "abc", false, false, InputWait::kReady},
                      WaitCase{"InputEnded", nullptr, true, false, InputWait::kReady},
                      WaitCase{"Woken", nullptr, false, true, InputWait::kWoken},
                      // Asked to stop, the caller stops even with data waiting.
                      WaitCase{"WokenWithData", "abc", false, true, InputWait::kWoken}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DescriptorTest, WithoutAWakeDescriptorOnlyTheInputCounts) {
  ASSERT_FALSE(WriteDescriptor(wake_[1], "x", 1));
  EXPECT_EQ(WaitForInput(input_[0], -1, 0), InputWait::kTimedOut);
}

TEST_F(DescriptorTest, AWriteToAClosedDescriptorFails) {
  const int fd = input_[1];
  CloseWriteEnd();
  EXPECT_EQ(WriteDescriptor(fd, "x", 1), std::errc::bad_file_descriptor);
}

}  // namespace
}  // namespace velorin
