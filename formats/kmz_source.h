#pragma once
// The KML document inside a KMZ (zip) archive as a stream of bytes: the
// first .kml member (doc.kml by convention, and the one Google Earth
// loads), unpacked as it is read, through libarchive. Nothing is unpacked
// to disk or held whole. Limits keep a hostile archive from costing more
// than reading a real one: a member that expands beyond kMaxExpansion
// times its packed size (past the first kExpansionGrace bytes), or a
// search through more than kMaxMembers members, is refused.
#include <cstdint>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "platform/byte_stream.h"

namespace velorin {

enum class KmzError {
  kNotAnArchive = 1,  ///< not a zip archive libarchive can read
  kNoKml,             ///< no .kml member
  kBomb,              ///< expands far beyond its packed size
  kTooManyMembers,
  kEncrypted,
  kNoLibrary,  ///< libarchive could not be loaded
};

const std::error_category& KmzCategory();
std::error_code make_error_code(KmzError error);

class KmzSource : public ByteSource {
 public:
  static constexpr std::uint64_t kMaxExpansion = 200;
  static constexpr std::uint64_t kExpansionGrace = 16u << 20;
  static constexpr int kMaxMembers = 10000;

  explicit KmzSource(ByteSource& archive);
  ~KmzSource() override;
  KmzSource(const KmzSource&) = delete;
  KmzSource& operator=(const KmzSource&) = delete;

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override;
  std::error_code error() const override { return error_; }
  /// The member being read (empty before it is found).
  const std::string& memberName() const { return member_; }
  /// libarchive's own words on the last failure, when it gave some.
  const std::string& detail() const { return detail_; }

 private:
  struct State;
  bool FindKml();
  std::ptrdiff_t Failure(std::error_code error);

  std::unique_ptr<State> state_;
  std::error_code error_;
  std::string member_;
  std::string detail_;
  bool found_ = false;
  bool ended_ = false;
};

}  // namespace velorin

template <>
struct std::is_error_code_enum<velorin::KmzError> : std::true_type {};
