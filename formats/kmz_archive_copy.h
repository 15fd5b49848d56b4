#pragma once
// Inside the KMZ source only: the archive copied once as it is read, in
// memory while it is small and past KmzArchive::kMemoryCopy in an anonymous
// temporary file, so that the zip reader can read it at any offset.
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

#include "formats/kmz_source.h"
#include "formats/zip_archive.h"

namespace velorin {

struct KmzArchive::Copy final : ZipBytes {
  std::string memory;         ///< the whole archive, while it is small
  std::FILE* file = nullptr;  ///< the whole archive, past kMemoryCopy
  std::uint64_t copied = 0;   ///< bytes copied so far
  std::error_code error;
  std::string detail;  ///< the system's words when no copy could be made

  Copy() = default;
  ~Copy();
  Copy(const Copy&) = delete;
  Copy& operator=(const Copy&) = delete;

  std::uint64_t size() const override { return copied; }
  bool ReadAt(std::uint64_t offset, char* into, std::size_t count) override;
  /// Copies all of `source`; false (and `error`) on a failure, or as soon
  /// as its first bytes show no zip.
  bool Make(ByteSource& source);

 private:
  bool Append(const char* bytes, std::size_t count);
  bool Failed(KmzError why);
};

/// A .kml file by its name's end, in any letter case.
bool EndsWithKml(std::string_view name);

/// A member name that stays inside the archive: not absolute, no drive, no
/// "..", no backslash (which Windows would take as a separator).
bool IsPlainMemberName(std::string_view name);

}  // namespace velorin
