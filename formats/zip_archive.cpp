#include "formats/zip_archive.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace velorin {

namespace {

constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kMaxCommentSize = 0xFFFF;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kPackedChunk = 1 << 16;
constexpr std::uint32_t kStated32 = 0xFFFFFFFF;  ///< the real value is in zip64 fields
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
constexpr unsigned kUnixHost = 3;
constexpr std::uint32_t kUnixTypeMask = 0170000;
constexpr std::uint32_t kUnixLink = 0120000;
constexpr std::uint32_t kUnixFolder = 0040000;
constexpr std::uint32_t kDosFolder = 0x10;

std::uint16_t Get16(const char* at) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(at);
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint32_t Get32(const char* at) {
  return static_cast<std::uint32_t>(Get16(at)) | static_cast<std::uint32_t>(Get16(at + 2)) << 16;
}

bool HasSignature(const char* at, char third, char fourth) {
  return at[0] == 'P' && at[1] == 'K' && at[2] == third && at[3] == fourth;
}

/// Neither a folder nor a symbolic link, as the host that made it says.
bool IsFile(const char* header, std::string_view name) {
  const unsigned host = Get16(header + 4) >> 8;
  const std::uint32_t external = Get32(header + 38);
  if (!name.empty() && (name.back() == '/' || name.back() == '\\')) return false;
  if ((external & kDosFolder) != 0) return false;
  if (host != kUnixHost) return true;
  const std::uint32_t type = (external >> 16) & kUnixTypeMask;
  return type != kUnixLink && type != kUnixFolder;
}

}  // namespace

bool ZipDirectory::Open(ZipBytes& bytes) {
  bytes_ = &bytes;
  const std::uint64_t size = bytes.size();
  if (size < kEndRecordSize) return Fail(ZipFault::kNotAZip);
  const std::size_t tailSize =
      static_cast<std::size_t>(std::min<std::uint64_t>(size, kEndRecordSize + kMaxCommentSize));
  std::string tail(tailSize, '\0');
  const std::uint64_t tailStart = size - tailSize;
  if (!bytes.ReadAt(tailStart, tail.data(), tailSize)) return Fail(ZipFault::kReadFailed);
  // The end record is the last one whose comment reaches no further than
  // the archive.
  std::size_t at = tailSize - kEndRecordSize + 1;
  const char* record = nullptr;
  while (at-- > 0) {
    const char* candidate = tail.data() + at;
    if (HasSignature(candidate, 5, 6) && at + kEndRecordSize + Get16(candidate + 20) <= tailSize) {
      record = candidate;
      break;
    }
  }
  if (record == nullptr) return Fail(ZipFault::kNotAZip);
  const std::uint64_t recordAt = tailStart + at;
  if (at >= kZip64LocatorSize && HasSignature(record - kZip64LocatorSize, 6, 7)) {
    return Fail(ZipFault::kZip64);
  }
  const std::uint16_t entries = Get16(record + 10);
  const std::uint32_t directorySize = Get32(record + 12);
  const std::uint32_t directoryStart = Get32(record + 16);
  if (entries == 0xFFFF || directorySize == kStated32 || directoryStart == kStated32) {
    return Fail(ZipFault::kZip64);
  }
  if (Get16(record + 4) != 0 || Get16(record + 6) != 0) return Fail(ZipFault::kNotAZip);
  if (std::uint64_t{directoryStart} + directorySize > recordAt) return Fail(ZipFault::kNotAZip);
  start_ = at_ = directoryStart;
  end_ = std::uint64_t{directoryStart} + directorySize;
  left_ = entries;
  return true;
}

bool ZipDirectory::Next(ZipEntry& entry) {
  if (fault_ != ZipFault::kNone || left_ == 0) return false;
  char header[kCentralHeaderSize];
  if (at_ + kCentralHeaderSize > end_) return Fail(ZipFault::kNotAZip);
  if (!bytes_->ReadAt(at_, header, kCentralHeaderSize)) return Fail(ZipFault::kReadFailed);
  if (!HasSignature(header, 1, 2)) return Fail(ZipFault::kNotAZip);
  const std::size_t nameSize = Get16(header + 28);
  const std::uint64_t next =
      at_ + kCentralHeaderSize + nameSize + Get16(header + 30) + Get16(header + 32);
  if (next > end_) return Fail(ZipFault::kNotAZip);
  entry.name.resize(nameSize);
  if (!bytes_->ReadAt(at_ + kCentralHeaderSize, entry.name.data(), nameSize)) {
    return Fail(ZipFault::kReadFailed);
  }
  entry.flags = Get16(header + 8);
  entry.method = Get16(header + 10);
  entry.crc = Get32(header + 16);
  entry.packedSize = Get32(header + 20);
  entry.size = Get32(header + 24);
  entry.localOffset = Get32(header + 42);
  if (entry.packedSize == kStated32 || entry.size == kStated32 || entry.localOffset == kStated32) {
    return Fail(ZipFault::kZip64);
  }
  entry.isFile = IsFile(header, entry.name);
  at_ = next;
  --left_;
  return true;
}

struct ZipMemberReader::Inflater {
  z_stream stream{};
  std::vector<char> packed = std::vector<char>(kPackedChunk);
  std::uint64_t packedRead = 0;
  bool ready = inflateInit2(&stream, -MAX_WBITS) == Z_OK;  // raw deflate, no zlib header
  bool streamEnded = false;
  ~Inflater() {
    if (ready) inflateEnd(&stream);
  }
};

ZipMemberReader::ZipMemberReader(ZipBytes& bytes, const ZipEntry& entry, std::uint64_t limit)
    : bytes_(bytes), entry_(entry), limit_(limit) {}

ZipMemberReader::~ZipMemberReader() = default;

bool ZipMemberReader::Begin() {
  begun_ = true;
  char header[kLocalHeaderSize];
  if (entry_.localOffset + kLocalHeaderSize > limit_) return Fail(ZipFault::kNotAZip), false;
  if (!bytes_.ReadAt(entry_.localOffset, header, kLocalHeaderSize)) {
    return Fail(ZipFault::kReadFailed), false;
  }
  if (!HasSignature(header, 3, 4)) return Fail(ZipFault::kNotAZip), false;
  dataStart_ = entry_.localOffset + kLocalHeaderSize + Get16(header + 26) + Get16(header + 28);
  if (dataStart_ + entry_.packedSize > limit_) return Fail(ZipFault::kCorrupt), false;
  // A member whose two headers disagree would be another member to another
  // zip reader: neither is trusted.
  if (Get16(header + 8) != entry_.method || Get16(header + 26) != entry_.name.size()) {
    return Fail(ZipFault::kCorrupt), false;
  }
  std::string name(entry_.name.size(), '\0');
  if (!bytes_.ReadAt(entry_.localOffset + kLocalHeaderSize, name.data(), name.size())) {
    return Fail(ZipFault::kReadFailed), false;
  }
  if (name != entry_.name) return Fail(ZipFault::kCorrupt), false;
  if (entry_.method == kStored) {
    if (entry_.packedSize != entry_.size) return Fail(ZipFault::kCorrupt), false;
    return true;
  }
  if (entry_.method != kDeflated) return Fail(ZipFault::kUnknownMethod), false;
  inflater_ = std::make_unique<Inflater>();
  if (!inflater_->ready) return Fail(ZipFault::kCorrupt), false;
  return true;
}

std::ptrdiff_t ZipMemberReader::Read(char* buffer, std::size_t capacity) {
  if (fault_ != ZipFault::kNone) return -1;
  if (!begun_ && !Begin()) return -1;
  if (ended_) return 0;
  if (capacity == 0) return 0;
  const std::ptrdiff_t count =
      inflater_ ? ReadDeflated(buffer, capacity) : ReadStored(buffer, capacity);
  if (count <= 0) return count;
  unpacked_ += static_cast<std::uint64_t>(count);
  crc_ = static_cast<std::uint32_t>(
      crc32(crc_, reinterpret_cast<const Bytef*>(buffer), static_cast<uInt>(count)));
  // A member that unpacks to more than it says is refused at once.
  if (unpacked_ > entry_.size) return Fail(ZipFault::kCorrupt);
  return count;
}

std::ptrdiff_t ZipMemberReader::ReadStored(char* buffer, std::size_t capacity) {
  const std::uint64_t left = entry_.size - unpacked_;
  if (left == 0) return End();
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(left, capacity));
  if (!bytes_.ReadAt(dataStart_ + unpacked_, buffer, count)) return Fail(ZipFault::kReadFailed);
  packedUsed_ += count;
  return static_cast<std::ptrdiff_t>(count);
}

std::ptrdiff_t ZipMemberReader::ReadDeflated(char* buffer, std::size_t capacity) {
  Inflater& in = *inflater_;
  if (in.streamEnded) return End();
  z_stream& z = in.stream;
  const auto room = static_cast<uInt>(std::min<std::size_t>(capacity, 1u << 30));
  z.next_out = reinterpret_cast<Bytef*>(buffer);
  z.avail_out = room;
  while (z.avail_out == room) {
    if (z.avail_in == 0) {
      const std::uint64_t left = entry_.packedSize - in.packedRead;
      if (left == 0) return Fail(ZipFault::kCorrupt);  // the packed data ends too soon
      const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(left, kPackedChunk));
      if (!bytes_.ReadAt(dataStart_ + in.packedRead, in.packed.data(), count)) {
        return Fail(ZipFault::kReadFailed);
      }
      in.packedRead += count;
      z.next_in = reinterpret_cast<Bytef*>(in.packed.data());
      z.avail_in = static_cast<uInt>(count);
    }
    const int status = inflate(&z, Z_NO_FLUSH);
    if (status == Z_STREAM_END) {
      in.streamEnded = true;
      break;
    }
    // No progress with input left, or damaged data.
    if (status != Z_OK && (status != Z_BUF_ERROR || z.avail_in != 0)) {
      return Fail(ZipFault::kCorrupt);
    }
  }
  packedUsed_ = z.total_in;
  const std::size_t count = room - z.avail_out;
  return count == 0 ? End() : static_cast<std::ptrdiff_t>(count);
}

std::ptrdiff_t ZipMemberReader::End() {
  if (unpacked_ != entry_.size || crc_ != entry_.crc) return Fail(ZipFault::kCorrupt);
  ended_ = true;
  return 0;
}

}  // namespace velorin
