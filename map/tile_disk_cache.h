#pragma once
// Map tiles kept on the disk between runs, as HTTP caching keeps them: a
// tile stays fresh as long as its server said (Cache-Control's max-age,
// else Expires, else a tenth of its age since it was last modified, a day
// at most); a stale one is asked again with its validators (ETag,
// Last-Modified), and the server's "not modified" makes it fresh again.
// Only what decoded as a tile is stored. The folder holds at most a given
// number of bytes: past it, the files written longest ago go until it
// holds nine tenths. Every file through the FileSystem given; one cache may
// serve several threads.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace velorin {

struct TileCacheEntry {
  std::string url;
  std::int64_t freshUntil = 0;  ///< seconds since 1970
  std::string eTag;             ///< empty: none
  std::string lastModified;     ///< as the server wrote it; empty: none
  std::string body;
  friend bool operator==(const TileCacheEntry&, const TileCacheEntry&) = default;
};

/// Seconds since 1970 of an HTTP date ("Sun, 06 Nov 1994 08:49:37 GMT");
/// nothing for any other text.
std::optional<std::int64_t> ParseHttpDate(std::string_view text);

/// Until when a reply with `headers` (CR LF lines) received at `now` stays
/// fresh; nothing when it must not be stored (no-store).
std::optional<std::int64_t> FreshUntil(std::string_view headers, std::int64_t now);

/// The bytes of a cache file, and back (nothing for bytes no entry wrote).
std::string EncodeTileCacheEntry(const TileCacheEntry& entry);
std::optional<TileCacheEntry> DecodeTileCacheEntry(std::string_view bytes);

/// The files to remove so that `files` hold at most nine tenths of `most`
/// bytes, those written longest ago first; none while they hold `most` or
/// less.
std::vector<std::string> FilesToTrim(std::vector<FolderFile> files, std::uint64_t most);

class TileDiskCache {
 public:
  static constexpr std::uint64_t kMostBytes = 200ULL * 1024 * 1024;

  /// Tiles in `folder` (made when first needed) through `files`.
  TileDiskCache(FileSystem& files, std::string folder, std::uint64_t mostBytes = kMostBytes);

  std::optional<TileCacheEntry> Find(const std::string& url);
  void Store(const TileCacheEntry& entry);
  void Forget(const std::string& url);

 private:
  std::string PathOf(const std::string& url) const;
  void Trim();

  std::mutex mutex_;
  FileSystem& files_;
  std::string folder_;
  std::uint64_t most_;
  /// The bytes the folder holds, once counted.
  std::optional<std::uint64_t> held_;
};

}  // namespace velorin
