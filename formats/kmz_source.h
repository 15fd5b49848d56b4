#pragma once
// The KML documents inside a KMZ (zip) archive as streams of bytes: the
// first .kml member (doc.kml by convention, and the one Google Earth loads),
// or a member named by a link, unpacked as it is read by Velorin's own zip
// reader on zlib (zip_archive.h), which refuses an archive whose sizes, CRC
// or offsets disagree with its bytes. Nothing is unpacked to disk or held
// whole. A member whose name leads out of the archive (an absolute path,
// "..", a drive) is never read.
//
// The archive itself is copied once as it is read (in memory, in an
// anonymous temporary file past kMemoryCopy), so that the reader can read
// the zip's central directory: only it tells a symbolic link from a file,
// and a linked document may come before the one that links it.
//
// Limits keep a hostile archive from costing more than reading a real one:
// a member that expands beyond kMaxExpansion times the packed bytes it has
// used so far (from its first bytes on), or a search through more than
// kMaxMembers members, is refused.
#include <cstdint>
#include <memory>
#include <string>
#include <system_error>

#include "platform/byte_stream.h"

namespace velorin {

enum class KmzError {
  kNotAnArchive = 1,  ///< no zip archive, or a damaged one
  kNoKml,             ///< no .kml member
  kBomb,              ///< expands far beyond its packed size
  kTooManyMembers,
  kEncrypted,
  kNoMember,       ///< no file of the name asked for
  kNoCopy,         ///< the temporary copy could not be made
  kZip64,          ///< the zip64 form, which the zip reader does not read
  kUnknownMethod,  ///< packed otherwise than stored or deflated
};

const std::error_category& KmzCategory();
// NOLINTNEXTLINE(readability-identifier-naming): the name std::error_code looks up.
std::error_code make_error_code(KmzError error);

/// The archive, copied on first use; shared by the members read from it.
class KmzArchive {
 public:
  static constexpr std::size_t kMemoryCopy = 4u << 20;

  explicit KmzArchive(ByteSource& archive);
  ~KmzArchive();
  KmzArchive(const KmzArchive&) = delete;
  KmzArchive& operator=(const KmzArchive&) = delete;

 private:
  friend class KmzSource;
  struct Copy;
  ByteSource& archive_;
  std::unique_ptr<Copy> copy_;
};

class KmzSource : public ByteSource {
 public:
  static constexpr std::uint64_t kMaxExpansion = 200;
  /// Unpacked bytes allowed beyond the ratio: what one read of a real
  /// document may bring before its packed bytes are counted.
  static constexpr std::uint64_t kExpansionSlack = 64u << 10;
  static constexpr int kMaxMembers = 10000;

  /// The member `name` of `archive`; the first .kml file when `name` is
  /// empty.
  explicit KmzSource(KmzArchive& archive, std::string name = {});
  ~KmzSource() override;
  KmzSource(const KmzSource&) = delete;
  KmzSource& operator=(const KmzSource&) = delete;

  /// Copies the archive if no member did yet and finds the member; false on
  /// a failure (error()), kNoMember among them. Read() opens as well.
  bool Open();
  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override;
  std::error_code error() const override { return error_; }
  /// The member being read (empty before it is found).
  const std::string& memberName() const { return member_; }
  /// The system's words when the archive could not be copied (kNoCopy).
  const std::string& detail() const { return detail_; }

 private:
  struct State;
  /// Copies the archive once for all its members; false on a failure.
  bool CopyArchive();
  bool Find();
  std::ptrdiff_t Failure(std::error_code error);

  KmzArchive& archive_;
  std::unique_ptr<State> state_;
  std::string wanted_;
  std::error_code error_;
  std::string member_;
  std::string detail_;
  bool ended_ = false;
};

}  // namespace velorin

template <>
struct std::is_error_code_enum<velorin::KmzError> : std::true_type {};
