#pragma once
// Zip archives made in memory for the tests of the KMZ reader and the zip
// reader: stored or deflated members, files, folders and symbolic links as
// a Unix zip records them. Hostile archives are made from real ones by
// overwriting fields at the offsets it reports.
#include <cstdint>
#include <string>
#include <vector>

namespace velorin::testing {

struct ZipMember {
  enum class Kind { kFile, kLink, kFolder };
  std::string name;
  std::string bytes;  ///< the path it names, for a symbolic link
  Kind kind = Kind::kFile;
  bool deflate = true;
  std::uint16_t flags = 0;  ///< bit 0: encrypted
};

struct ZipLayout {
  std::string bytes;
  std::vector<std::size_t> localHeaders;    ///< offset of each member's local header
  std::vector<std::size_t> centralHeaders;  ///< offset of each member's central header
  std::size_t endRecord = 0;
};

ZipLayout MakeZipLayout(const std::vector<ZipMember>& members);
inline std::string MakeZip(const std::vector<ZipMember>& members) {
  return MakeZipLayout(members).bytes;
}

void Put16(std::string& bytes, std::size_t at, std::uint16_t value);
void Put32(std::string& bytes, std::size_t at, std::uint32_t value);

/// Offsets within a central header of the fields tests overwrite.
constexpr std::size_t kCentralMethod = 10;
constexpr std::size_t kCentralCrc = 16;
constexpr std::size_t kCentralPackedSize = 20;
constexpr std::size_t kCentralSize = 24;
constexpr std::size_t kCentralNameSize = 28;
constexpr std::size_t kCentralLocalOffset = 42;
/// Within the end record.
constexpr std::size_t kEndEntries = 10;
constexpr std::size_t kEndDirectorySize = 12;
constexpr std::size_t kEndDirectoryStart = 16;

}  // namespace velorin::testing
