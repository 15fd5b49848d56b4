#include "map/tile_disk_cache.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <memory>

#include "platform/http_get.h"

namespace velorin {
namespace {

constexpr std::string_view kMagic = "VELORIN TILE 1\n";
constexpr std::int64_t kMostHeuristic = std::int64_t{24} * 60 * 60;

std::optional<int> Digits(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Days since 1970-01-01 of a date of the Gregorian calendar.
std::int64_t DaysOf(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yearOfEra = year - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

std::optional<std::int64_t> MaxAge(std::string_view cacheControl, bool& noStore, bool& noCache) {
  std::optional<std::int64_t> age;
  while (!cacheControl.empty()) {
    const std::size_t comma = cacheControl.find(',');
    std::string_view directive = cacheControl.substr(0, comma);
    cacheControl.remove_prefix(comma == std::string_view::npos ? cacheControl.size() : comma + 1);
    while (!directive.empty() && directive.front() == ' ') directive.remove_prefix(1);
    while (!directive.empty() && directive.back() == ' ') directive.remove_suffix(1);
    if (directive == "no-store") noStore = true;
    if (directive == "no-cache") noCache = true;
    if (directive.starts_with("max-age=")) {
      if (const std::optional<int> seconds = Digits(directive.substr(8))) age = *seconds;
    }
  }
  return age;
}

std::uint64_t Fnv1a(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  return hash;
}

std::optional<std::string> ReadWhole(FileSystem& files, const std::string& path) {
  std::error_code error;
  const std::unique_ptr<ByteSource> source = files.OpenForReading(path, error);
  if (!source || error) return std::nullopt;
  std::string bytes;
  std::array<char, 16384> buffer{};
  for (std::ptrdiff_t got; (got = source->Read(buffer.data(), buffer.size())) != 0;) {
    if (got < 0) return std::nullopt;
    bytes.append(buffer.data(), static_cast<std::size_t>(got));
  }
  return bytes;
}

}  // namespace

std::optional<std::int64_t> ParseHttpDate(std::string_view text) {
  // "Sun, 06 Nov 1994 08:49:37 GMT"
  static constexpr std::array<std::string_view, 12> kMonths = {
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (text.size() != 29 || text[3] != ',' || text.substr(25) != " GMT") return std::nullopt;
  const auto month = std::find(kMonths.begin(), kMonths.end(), text.substr(8, 3));
  const std::optional<int> day = Digits(text.substr(5, 2));
  const std::optional<int> year = Digits(text.substr(12, 4));
  const std::optional<int> hour = Digits(text.substr(17, 2));
  const std::optional<int> minute = Digits(text.substr(20, 2));
  const std::optional<int> second = Digits(text.substr(23, 2));
  if (month == kMonths.end() || !day || !year || !hour || !minute || !second || text[19] != ':' ||
      text[22] != ':' || *day < 1 || *day > 31 || *hour > 23 || *minute > 59 || *second > 60)
    return std::nullopt;
  const int monthNumber = static_cast<int>(month - kMonths.begin()) + 1;
  return DaysOf(*year, monthNumber, *day) * 86400 + std::int64_t{*hour} * 3600 +
         std::int64_t{*minute} * 60 + *second;
}

std::optional<std::int64_t> FreshUntil(std::string_view headers, std::int64_t now) {
  bool noStore = false;
  bool noCache = false;
  const std::optional<std::int64_t> maxAge =
      MaxAge(HeaderValue(headers, "Cache-Control").value_or(std::string()), noStore, noCache);
  if (noStore) return std::nullopt;
  if (noCache) return now;
  if (maxAge) return now + *maxAge;
  // Times the server gives are taken relative to its own clock.
  const std::optional<std::int64_t> date =
      ParseHttpDate(HeaderValue(headers, "Date").value_or(std::string()));
  const std::int64_t serverNow = date.value_or(now);
  if (const auto expires = ParseHttpDate(HeaderValue(headers, "Expires").value_or(std::string())))
    return now + std::max<std::int64_t>(0, *expires - serverNow);
  if (const auto modified =
          ParseHttpDate(HeaderValue(headers, "Last-Modified").value_or(std::string())))
    return now + std::clamp<std::int64_t>((serverNow - *modified) / 10, 0, kMostHeuristic);
  return now;
}

std::string EncodeTileCacheEntry(const TileCacheEntry& entry) {
  auto line = [](std::string_view text) {
    std::string kept(text);
    std::replace(kept.begin(), kept.end(), '\n', ' ');
    return kept + "\n";
  };
  return std::string(kMagic) + line(entry.url) + std::to_string(entry.freshUntil) + "\n" +
         line(entry.eTag) + line(entry.lastModified) + entry.body;
}

std::optional<TileCacheEntry> DecodeTileCacheEntry(std::string_view bytes) {
  if (!bytes.starts_with(kMagic)) return std::nullopt;
  bytes.remove_prefix(kMagic.size());
  std::array<std::string_view, 4> lines;
  for (std::string_view& line : lines) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    line = bytes.substr(0, end);
    bytes.remove_prefix(end + 1);
  }
  std::int64_t fresh = 0;
  const auto [end, error] =
      std::from_chars(lines[1].data(), lines[1].data() + lines[1].size(), fresh);
  if (error != std::errc() || end != lines[1].data() + lines[1].size()) return std::nullopt;
  return TileCacheEntry{std::string(lines[0]), fresh, std::string(lines[2]), std::string(lines[3]),
                        std::string(bytes)};
}

std::vector<std::string> FilesToTrim(std::vector<FolderFile> files, std::uint64_t most) {
  std::uint64_t held = 0;
  for (const FolderFile& file : files) held += file.size;
  if (held <= most) return {};
  std::stable_sort(files.begin(), files.end(),
                   [](const FolderFile& a, const FolderFile& b) { return a.written < b.written; });
  std::vector<std::string> trimmed;
  const std::uint64_t kept = most / 10 * 9;
  for (const FolderFile& file : files) {
    if (held <= kept) break;
    trimmed.push_back(file.name);
    held -= file.size;
  }
  return trimmed;
}

TileDiskCache::TileDiskCache(FileSystem& files, std::string folder, std::uint64_t mostBytes)
    : files_(files), folder_(std::move(folder)), most_(mostBytes) {
  if (!folder_.empty() && folder_.back() != '/' && folder_.back() != '\\') folder_ += '/';
}

std::string TileDiskCache::PathOf(const std::string& url) const {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name(16, '0');
  std::uint64_t hash = Fnv1a(url);
  for (int i = 15; i >= 0; --i, hash >>= 4) name[static_cast<std::size_t>(i)] = kHex[hash & 15];
  return folder_ + name + ".tile";
}

std::optional<TileCacheEntry> TileDiskCache::Find(const std::string& url) {
  const std::lock_guard<std::mutex> lock(mutex_);
  const std::optional<std::string> bytes = ReadWhole(files_, PathOf(url));
  if (!bytes) return std::nullopt;
  std::optional<TileCacheEntry> entry = DecodeTileCacheEntry(*bytes);
  // Two addresses may share a file name: the entry names its own.
  if (!entry || entry->url != url) return std::nullopt;
  return entry;
}

void TileDiskCache::Store(const TileCacheEntry& entry) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!held_) {
    if (!files_.MakeFolders(folder_)) return;
    held_ = 0;
    for (const FolderFile& file : files_.FilesIn(folder_)) *held_ += file.size;
  }
  const std::string bytes = EncodeTileCacheEntry(entry);
  std::error_code error;
  const std::unique_ptr<ReplacingSink> sink = files_.OpenForReplacing(PathOf(entry.url), error);
  if (!sink || !sink->Write(bytes.data(), bytes.size()) || !sink->Commit()) return;
  *held_ += bytes.size();
  if (*held_ > most_) Trim();
}

void TileDiskCache::Forget(const std::string& url) {
  const std::lock_guard<std::mutex> lock(mutex_);
  files_.RemoveFile(PathOf(url));
}

void TileDiskCache::Trim() {
  const std::vector<FolderFile> held = files_.FilesIn(folder_);
  for (const std::string& name : FilesToTrim(held, most_)) files_.RemoveFile(folder_ + name);
  held_ = 0;
  for (const FolderFile& file : files_.FilesIn(folder_)) *held_ += file.size;
}

}  // namespace velorin
