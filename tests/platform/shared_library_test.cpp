#include "platform/shared_library.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/test_system.h"

namespace velorin {
namespace {

struct LibraryCase {
  const char* name;
  const char* library;
  const char* symbol;
  bool opens;
  bool finds;
};

void PrintTo(const LibraryCase& c, std::ostream* out) { *out << c.name; }

class SharedLibraryTest : public ::testing::TestWithParam<LibraryCase> {};

// A library is opened by the name the system's loader searches; a missing
// one says why instead of ending the program.
TEST_P(SharedLibraryTest, OpensByNameAndFindsSymbols) {
  const LibraryCase& c = GetParam();
  std::string error;
  const std::unique_ptr<SharedLibrary> library = SharedLibrary::Open(c.library, error);
  ASSERT_EQ(library != nullptr, c.opens) << error;
  if (!library) {
    EXPECT_NE(error.find(c.library), std::string::npos) << error;
    return;
  }
  EXPECT_EQ(library->Find(c.symbol) != nullptr, c.finds);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SharedLibraryTest,
    ::testing::Values(LibraryCase{"SystemLibrary", testutil::kSystemLibrary,
                                  testutil::kSystemLibraryFunction, true, true},
                      LibraryCase{"MissingSymbol", testutil::kSystemLibrary,
                                  "velorin_no_such_function", true, false},
                      LibraryCase{"MissingLibrary", "velorin-no-such-library", "f", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
