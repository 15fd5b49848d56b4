#pragma once
// Inside the KMZ source only: the copy of the archive that either archive
// reader reads, and the few rules both keep.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "formats/kmz_source.h"
#include "formats/zip_archive.h"

namespace velorin {

constexpr std::size_t kKmzReadChunk = 1 << 16;

struct KmzArchive::Copy final : ZipBytes {
  std::string memory;         ///< the whole archive, while it is small
  std::FILE* file = nullptr;  ///< the whole archive, past kMemoryCopy
  std::uint64_t copied = 0;   ///< bytes copied so far
  std::error_code error;
  std::string detail;

  ~Copy() {
    if (file != nullptr) std::fclose(file);
  }
  std::uint64_t size() const override { return copied; }
  bool ReadAt(std::uint64_t offset, char* into, std::size_t count) override;
  bool Failed(KmzError why) {
    error = make_error_code(why);
    detail = std::strerror(errno);
    return false;
  }
  bool Append(const char* bytes, std::size_t count) {
    if (file == nullptr && memory.size() + count > kMemoryCopy) {
      file = std::tmpfile();
      if (file == nullptr || std::fwrite(memory.data(), 1, memory.size(), file) != memory.size()) {
        return Failed(KmzError::kNoCopy);
      }
      std::string().swap(memory);
    }
    if (file == nullptr) {
      memory.append(bytes, count);
    } else if (std::fwrite(bytes, 1, count, file) != count) {
      return Failed(KmzError::kNoCopy);
    }
    copied += count;
    return true;
  }
  bool Make(ByteSource& source) {
    std::vector<char> chunk(kKmzReadChunk);
    for (;;) {
      const std::ptrdiff_t count = source.Read(chunk.data(), chunk.size());
      if (count < 0) {
        error = source.error();
        if (!error) error = std::make_error_code(std::errc::io_error);
        return false;
      }
      if (count == 0) break;
      if (!Append(chunk.data(), static_cast<std::size_t>(count))) return false;
      // Anything but a zip is refused before it is all copied.
      if (file == nullptr && memory.size() >= 2 && memory.compare(0, 2, "PK") != 0) {
        error = make_error_code(KmzError::kNotAnArchive);
        return false;
      }
    }
    if (file != nullptr && std::fflush(file) != 0) return Failed(KmzError::kNoCopy);
    return true;
  }
};

/// The library reading KMZ files needs, as a failure to load it names it.
std::string KmzLibraryText();

/// A .kml file by its name's end, in any letter case.
bool EndsWithKml(std::string_view name);

/// A member name that stays inside the archive: not absolute, no drive, no
/// "..", no backslash (which Windows would take as a separator).
bool IsPlainMemberName(std::string_view name);

}  // namespace velorin
