#pragma once
// PROJ without its database: PROJ_DATA names a folder that does not exist
// while the object lives, so that a datum shift cannot be made. For the
// tests of a build that shifts datums through PROJ (Linux).
#include <cstdlib>
#include <optional>
#include <string>

namespace velorin::testutil {

class MissingProjData {
 public:
  MissingProjData() {
    if (const char* value = std::getenv("PROJ_DATA")) before_ = value;
    ::setenv("PROJ_DATA", "/nonexistent/proj", 1);
  }
  ~MissingProjData() {
    if (before_) {
      ::setenv("PROJ_DATA", before_->c_str(), 1);
    } else {
      ::unsetenv("PROJ_DATA");
    }
  }
  MissingProjData(const MissingProjData&) = delete;
  MissingProjData& operator=(const MissingProjData&) = delete;

 private:
  std::optional<std::string> before_;
};

}  // namespace velorin::testutil
