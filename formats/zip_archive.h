#pragma once
// The smallest zip reader a KMZ needs: the central directory read from the
// archive's end, each member found through its local header and unpacked
// as it is read, stored or deflated (zlib's raw inflate). Nothing is
// unpacked to disk or held whole. What it does not read it refuses in
// words: zip64 archives, other packing methods, encryption (the caller
// asks). Every size and offset the archive states is checked against the
// archive and against what unpacking gives: a member whose bytes disagree
// with its stated size or CRC is refused, not trusted.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velorin {

/// The archive, read at any offset.
class ZipBytes {
 public:
  virtual std::uint64_t size() const = 0;
  /// Exactly `count` bytes at `offset`; false when they cannot be read.
  virtual bool ReadAt(std::uint64_t offset, char* into, std::size_t count) = 0;

 protected:
  ~ZipBytes() = default;
};

enum class ZipFault {
  kNone,
  kNotAZip,        ///< no end record, or a record that points outside
  kZip64,          ///< the zip64 form (archives or members past 4 GiB)
  kUnknownMethod,  ///< packed otherwise than stored or deflated
  kCorrupt,        ///< sizes, CRC or packed data that do not agree
  kReadFailed,     ///< the archive's bytes could not be read
};

struct ZipEntry {
  std::string name;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint32_t crc = 0;
  std::uint64_t packedSize = 0;
  std::uint64_t size = 0;
  std::uint64_t localOffset = 0;
  bool isFile = true;  ///< neither a folder nor a symbolic link
  bool encrypted() const { return (flags & 1u) != 0; }
};

/// The entries of the central directory, in order.
class ZipDirectory {
 public:
  /// Finds the end record; false on a fault.
  bool Open(ZipBytes& bytes);
  /// The next entry; false at the end or on a fault (fault() tells).
  bool Next(ZipEntry& entry);
  ZipFault fault() const { return fault_; }
  /// Where the central directory begins: no member's bytes reach past it.
  std::uint64_t start() const { return start_; }

 private:
  bool Fail(ZipFault fault) {
    fault_ = fault;
    return false;
  }

  ZipBytes* bytes_ = nullptr;
  std::uint64_t start_ = 0;
  std::uint64_t at_ = 0;
  std::uint64_t end_ = 0;
  std::uint32_t left_ = 0;
  ZipFault fault_ = ZipFault::kNone;
};

/// One member's bytes, unpacked as they are read.
class ZipMemberReader {
 public:
  /// `limit`: where the member's packed bytes must end (the directory's
  /// start).
  ZipMemberReader(ZipBytes& bytes, const ZipEntry& entry, std::uint64_t limit);
  ~ZipMemberReader();
  ZipMemberReader(const ZipMemberReader&) = delete;
  ZipMemberReader& operator=(const ZipMemberReader&) = delete;

  /// Unpacked bytes: 0 at the end, -1 on a fault.
  std::ptrdiff_t Read(char* buffer, std::size_t capacity);
  ZipFault fault() const { return fault_; }
  /// Packed bytes taken so far.
  std::uint64_t packedUsed() const { return packedUsed_; }

 private:
  struct Inflater;
  bool Begin();
  std::ptrdiff_t ReadStored(char* buffer, std::size_t capacity);
  std::ptrdiff_t ReadDeflated(char* buffer, std::size_t capacity);
  /// Checks the whole member against its stated size and CRC.
  std::ptrdiff_t End();
  std::ptrdiff_t Fail(ZipFault fault) {
    fault_ = fault;
    return -1;
  }

  ZipBytes& bytes_;
  ZipEntry entry_;
  std::uint64_t limit_;
  std::uint64_t dataStart_ = 0;
  std::uint64_t packedUsed_ = 0;
  std::uint64_t unpacked_ = 0;
  std::uint32_t crc_ = 0;
  bool begun_ = false;
  bool ended_ = false;
  std::unique_ptr<Inflater> inflater_;
  ZipFault fault_ = ZipFault::kNone;
};

}  // namespace velorin
