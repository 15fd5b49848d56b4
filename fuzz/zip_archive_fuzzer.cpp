// The zip reader (Windows' way to KMZ members) on any bytes: it ends, reads
// nothing outside the archive (AddressSanitizer watches), and a member it
// reads to its end gave exactly its stated size; none gives more.
#include <cstring>
#include <string>
#include <vector>

#include "formats/zip_archive.h"
#include "fuzz/fuzz_check.h"

namespace {

class FuzzBytes : public velorin::ZipBytes {
 public:
  FuzzBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint64_t size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, char* into, std::size_t count) override {
    if (offset > size_ || count > size_ - offset) return false;
    if (count > 0) std::memcpy(into, data_ + offset, count);
    return true;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

constexpr int kMaxEntries = 16;

void ReadMember(FuzzBytes& bytes, const velorin::ZipEntry& entry, std::uint64_t limit) {
  velorin::ZipMemberReader reader(bytes, entry, limit);
  std::vector<char> buffer(1 + entry.name.size() % 4096);
  std::uint64_t total = 0;
  for (;;) {
    const std::ptrdiff_t count = reader.Read(buffer.data(), buffer.size());
    if (count < 0) {
      FUZZ_CHECK(reader.fault() != velorin::ZipFault::kNone);
      return;
    }
    FUZZ_CHECK(static_cast<std::size_t>(count) <= buffer.size());
    FUZZ_CHECK(reader.packedUsed() <= entry.packedSize);
    if (count == 0) break;
    total += static_cast<std::uint64_t>(count);
    FUZZ_CHECK(total <= entry.size);
  }
  FUZZ_CHECK(total == entry.size);
  FUZZ_CHECK(reader.Read(buffer.data(), buffer.size()) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzBytes bytes(data, size);
  velorin::ZipDirectory directory;
  if (!directory.Open(bytes)) {
    FUZZ_CHECK(directory.fault() != velorin::ZipFault::kNone);
    return 0;
  }
  FUZZ_CHECK(directory.start() <= size);
  velorin::ZipEntry entry;
  for (int i = 0; i < kMaxEntries && directory.Next(entry); ++i) {
    if (entry.isFile) ReadMember(bytes, entry, directory.start());
  }
  return 0;
}
