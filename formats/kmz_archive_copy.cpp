#include "formats/kmz_archive_copy.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/anonymous_file.h"
#include "text/ascii.h"

namespace velorin {

namespace {

constexpr std::size_t kReadChunk = 1 << 16;

}  // namespace

KmzArchive::Copy::~Copy() {
  if (file != nullptr) std::fclose(file);
}

bool KmzArchive::Copy::ReadAt(std::uint64_t offset, char* into, std::size_t count) {
  if (offset > copied || count > copied - offset) return false;
  if (file == nullptr) {
    std::memcpy(into, memory.data() + offset, count);
    return true;
  }
  // fseek takes a long: 2 GiB on Windows, past which no archive is read.
  if (offset > static_cast<std::uint64_t>(LONG_MAX)) return false;
  return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
         std::fread(into, 1, count, file) == count;
}

bool KmzArchive::Copy::Failed(KmzError why) {
  error = make_error_code(why);
  detail = errno != 0 ? std::strerror(errno) : "no temporary file could be made";
  return false;
}

bool KmzArchive::Copy::Append(const char* bytes, std::size_t count) {
  if (file == nullptr && memory.size() + count > kMemoryCopy) {
    errno = 0;
    file = OpenAnonymousFile();
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

bool KmzArchive::Copy::Make(ByteSource& source) {
  std::vector<char> chunk(kReadChunk);
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

bool EndsWithKml(std::string_view name) { return EndsWithIgnoringAsciiCase(name, ".kml"); }

bool IsPlainMemberName(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.find('\\') != std::string_view::npos ||
      name.find(':') != std::string_view::npos) {
    return false;
  }
  while (!name.empty()) {
    const std::size_t slash = name.find('/');
    if (name.substr(0, slash) == "..") return false;
    name = slash == std::string_view::npos ? std::string_view() : name.substr(slash + 1);
  }
  return true;
}

}  // namespace velorin
