// Tiles kept on the disk: HTTP dates, how long a reply stays fresh, the
// cache file's bytes, which files go when the folder is full, and a cache
// over a file system in memory.
#include "map/tile_disk_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory_file_system.h"

namespace velorin {
namespace {

struct DateCase {
  std::string name;
  std::string text;
  std::optional<std::int64_t> seconds;
};

class HttpDateTest : public testing::TestWithParam<DateCase> {};

TEST_P(HttpDateTest, ReadsTheDate) {
  EXPECT_EQ(ParseHttpDate(GetParam().text), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, HttpDateTest,
    testing::Values(DateCase{"TheRfcsOwn", "Sun, 06 Nov 1994 08:49:37 GMT", 784111777},
                    DateCase{"TheEpoch", "Thu, 01 Jan 1970 00:00:00 GMT", 0},
                    DateCase{"LeapDay", "Tue, 29 Feb 2028 23:59:59 GMT", 1835481599},
                    DateCase{"NotGmt", "Sun, 06 Nov 1994 08:49:37 UTC", std::nullopt},
                    DateCase{"ObsoleteForm", "Sunday, 06-Nov-94 08:49:37 GMT", std::nullopt},
                    DateCase{"NoSuchMonth", "Sun, 06 Xyz 1994 08:49:37 GMT", std::nullopt},
                    DateCase{"NoSuchHour", "Sun, 06 Nov 1994 25:49:37 GMT", std::nullopt},
                    DateCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return info.param.name; });

struct FreshCase {
  std::string name;
  std::string headers;
  std::optional<std::int64_t> until;  ///< from now = 1000
};

class FreshUntilTest : public testing::TestWithParam<FreshCase> {};

TEST_P(FreshUntilTest, StaysFreshAsTheServerSays) {
  EXPECT_EQ(FreshUntil(GetParam().headers, 1000), GetParam().until);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FreshUntilTest,
    testing::Values(
        FreshCase{"MaxAge", "Cache-Control: public, max-age=3600\r\n", 4600},
        FreshCase{"MaxAgeOverExpires",
                  "Expires: Thu, 01 Jan 1970 01:00:00 GMT\r\ncache-control: max-age=60\r\n", 1060},
        FreshCase{"NoStore", "Cache-Control: no-store, max-age=60\r\n", std::nullopt},
        FreshCase{"NoCache", "Cache-Control: no-cache\r\n", 1000},
        FreshCase{
            "ExpiresByTheServersClock",
            "Date: Thu, 01 Jan 1970 00:00:10 GMT\r\nExpires: Thu, 01 Jan 1970 00:01:10 GMT\r\n",
            1060},
        FreshCase{
            "ExpiredAlready",
            "Date: Thu, 01 Jan 1970 00:10:00 GMT\r\nExpires: Thu, 01 Jan 1970 00:01:10 GMT\r\n",
            1000},
        FreshCase{"ATenthOfItsAge",
                  "Date: Thu, 01 Jan 1970 00:16:40 GMT\r\n"
                  "Last-Modified: Thu, 01 Jan 1970 00:00:00 GMT\r\n",
                  1100},
        FreshCase{"ADayAtMostByItsAge",
                  "Date: Sun, 06 Nov 1994 08:49:37 GMT\r\n"
                  "Last-Modified: Thu, 01 Jan 1970 00:00:00 GMT\r\n",
                  1000 + 86400},
        FreshCase{"NothingSaid", "Content-Type: image/png\r\n", 1000}),
    [](const auto& info) { return info.param.name; });

TEST(TileCacheEntryTest, BytesGiveTheEntryBack) {
  const TileCacheEntry entry{"http://a/1/2/3.png", -5, "\"e\"", "Sun, 06 Nov 1994 08:49:37 GMT",
                             std::string("\x89PNG\n\0\r\n", 8)};
  EXPECT_EQ(DecodeTileCacheEntry(EncodeTileCacheEntry(entry)), entry);
  const TileCacheEntry broken{"http://a/\n", 1, "x\ny", "", ""};
  EXPECT_EQ(DecodeTileCacheEntry(EncodeTileCacheEntry(broken))->eTag, "x y");
  for (const char* bytes : {"", "VELORIN TILE 1\nurl\n", "VELORIN TILE 1\nu\nfresh\n\n\n",
                            "VELORIN TILE 2\nu\n1\n\n\n", "PNG"})
    EXPECT_FALSE(DecodeTileCacheEntry(bytes).has_value()) << bytes;
}

struct TrimCase {
  std::string name;
  std::vector<FolderFile> files;
  std::uint64_t most;
  std::vector<std::string> trimmed;
};

class FilesToTrimTest : public testing::TestWithParam<TrimCase> {};

TEST_P(FilesToTrimTest, OldestGoFirstToNineTenths) {
  EXPECT_EQ(FilesToTrim(GetParam().files, GetParam().most), GetParam().trimmed);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, FilesToTrimTest,
    testing::Values(
        TrimCase{"WithinTheLimit", {{"a", 50, 1}, {"b", 50, 2}}, 100, {}},
        TrimCase{"OldestFirst", {{"new", 40, 9}, {"old", 40, 1}, {"mid", 40, 5}}, 100, {"old"}},
        TrimCase{"DownToNineTenths", {{"a", 10, 1}, {"b", 85, 2}, {"c", 10, 3}}, 100, {"a", "b"}},
        TrimCase{"TheSameTimeKeepsTheListsOrder",
                 {{"x", 60, 7}, {"y", 60, 7}, {"z", 60, 7}},
                 100,
                 {"x", "y"}},
        TrimCase{"OneHugeFile", {{"a", 500, 1}}, 100, {"a"}}, TrimCase{"Empty", {}, 0, {}}),
    [](const auto& info) { return info.param.name; });

TEST(TileDiskCacheTest, KeepsFindsForgetsAndTrims) {
  MemoryFileSystem files;
  // Room for two entries of this size, not three.
  const std::string body(400, 'x');
  const std::uint64_t entry = EncodeTileCacheEntry({"http://a/0.png", 1, "", "", body}).size();
  TileDiskCache cache(files, "/cache/tiles", entry * 2 + entry / 2);
  EXPECT_FALSE(cache.Find("http://a/0.png").has_value());
  for (int i = 0; i < 3; ++i)
    cache.Store({"http://a/" + std::to_string(i) + ".png", 1, "", "", body});
  EXPECT_FALSE(cache.Find("http://a/0.png").has_value());  // written first, gone first
  EXPECT_EQ(cache.Find("http://a/1.png").value_or(TileCacheEntry{}).body, body);
  ASSERT_TRUE(cache.Find("http://a/2.png").has_value());
  cache.Forget("http://a/2.png");
  EXPECT_FALSE(cache.Find("http://a/2.png").has_value());
  EXPECT_EQ(files.FilesIn("/cache/tiles").size(), 1U);
}

}  // namespace
}  // namespace velorin
