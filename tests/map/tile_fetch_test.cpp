// One tile fetched against a server that answers from a script: the disk
// cache while fresh, a stale tile asked again with its validators, bodies
// too long, no picture or too large a picture refused and never kept,
// redirects followed three times at most and never from https to http,
// errors and missing tiles; where a redirect leads.
#include "map/tile_fetch.h"

#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

#include "platform/memory_file_system.h"

namespace velorin {
namespace {

constexpr std::int64_t kNow = 1'000'000;
const std::string kUrl = "https://t.example/5/1/2.png";

// "PNG:W" is a square picture of side W; "PNG:W!" one that fails to decode.
TileCodec FakeCodec() {
  TileCodec codec;
  codec.sizeOf = [](std::string_view body) -> std::optional<TileSize> {
    if (!body.starts_with("PNG:")) return std::nullopt;
    int side = 0;
    std::from_chars(body.data() + 4, body.data() + body.size(), side);
    return TileSize{side, side};
  };
  codec.decode = [](std::string_view body, TileSize size) -> std::optional<TilePicture> {
    if (body.ends_with("!")) return std::nullopt;
    return TilePicture{size.width, size.height,
                       std::vector<std::uint32_t>(static_cast<std::size_t>(size.width) * 4)};
  };
  return codec;
}

HttpReply Answer(int status, std::string headers, std::string body = {},
                 HttpOutcome outcome = HttpOutcome::kAnswered) {
  return {outcome, status, std::move(headers), std::move(body)};
}

const std::string kHour = "Cache-Control: max-age=3600\r\n";

struct FetchCase {
  std::string name;
  std::vector<HttpReply> replies;  ///< one per request, in order
  std::optional<TileCacheEntry> cached = {};
  int side = 0;  ///< of the picture; 0: none
  TileFailure why = TileFailure::kServerFault;
  std::size_t requests = 1;
  bool keptAfter = false;         ///< an entry for the tile lies in the cache after
  std::string firstHeaders = {};  ///< "name: value;" of the first request
};

class TileFetchTest : public testing::TestWithParam<FetchCase> {};

TEST_P(TileFetchTest, FetchesWithinTheLimits) {
  const FetchCase& c = GetParam();
  MemoryFileSystem files;
  TileDiskCache cache(files, "/cache/tiles");
  if (c.cached) cache.Store(*c.cached);
  std::vector<HttpRequest> asked;
  const HttpGetter get = [&](const HttpRequest& request, const HttpCancel&) {
    asked.push_back(request);
    return asked.size() <= c.replies.size() ? c.replies[asked.size() - 1] : Answer(500, "");
  };
  const TileServer server{"https://t.example/{z}/{x}/{y}.png", "credit", ""};
  const TileFetcher fetcher(server, get, FakeCodec(), &cache, [] { return kNow; });
  HttpCancel cancel;
  const TileFetched fetched = fetcher.Fetch({5, 1, 2}, 256, cancel);
  EXPECT_EQ(fetched.picture ? fetched.picture->width : 0, c.side);
  if (!fetched.picture) {
    EXPECT_EQ(fetched.why, c.why);
  }
  EXPECT_EQ(asked.size(), c.requests);
  ASSERT_FALSE(asked.empty() && c.requests > 0 && asked[0].url != kUrl);
  for (const HttpRequest& request : asked) EXPECT_EQ(request.mostBytes, kMostTileBytes);
  std::string headers;
  if (!asked.empty()) {
    for (const auto& [name, value] : asked[0].headers) headers += name + ": " + value + ";";
  }
  EXPECT_EQ(headers, c.firstHeaders);
  const std::optional<TileCacheEntry> kept = cache.Find(kUrl);
  EXPECT_EQ(kept.has_value(), c.keptAfter);
  if (kept && fetched.picture) {
    EXPECT_GT(kept->freshUntil, kNow);
  }
}

const TileCacheEntry kFresh{kUrl, kNow + 10, "", "", "PNG:256"};
const TileCacheEntry kStale{kUrl, kNow - 10, "\"v1\"", "Sun, 06 Nov 1994 08:49:37 GMT", "PNG:256"};
const TileCacheEntry kFreshButBroken{kUrl, kNow + 10, "", "", "PNG:256!"};
const HttpReply kLoop = Answer(302, "Location: /hop/again.png\r\n");

using F = TileFailure;

INSTANTIATE_TEST_SUITE_P(
    Servers, TileFetchTest,
    testing::Values(
        FetchCase{
            "GoodTileIsKept", {Answer(200, kHour, "PNG:256")}, {}, 256, F::kServerFault, 1, true},
        FetchCase{"LargeTileDecodedAsDrawn",
                  {Answer(200, kHour, "PNG:512")},
                  {},
                  256,
                  F::kServerFault,
                  1,
                  true},
        FetchCase{"FreshTileFromTheDiskAlone", {}, kFresh, 256, F::kServerFault, 0, true},
        FetchCase{"StaleTileAskedWithItsValidators",
                  {Answer(304, kHour)},
                  kStale,
                  256,
                  F::kServerFault,
                  1,
                  true,
                  "If-None-Match: \"v1\";If-Modified-Since: Sun, 06 Nov 1994 08:49:37 GMT;"},
        FetchCase{"StaleTileReplaced",
                  {Answer(200, kHour, "PNG:128")},
                  kStale,
                  128,
                  F::kServerFault,
                  1,
                  true,
                  "If-None-Match: \"v1\";If-Modified-Since: Sun, 06 Nov 1994 08:49:37 GMT;"},
        FetchCase{"BrokenCachedTileForgottenAndAskedAgain",
                  {Answer(200, kHour, "PNG:256")},
                  kFreshButBroken,
                  256,
                  F::kServerFault,
                  1,
                  true},
        FetchCase{"NoStoreIsNotKept",
                  {Answer(200, "Cache-Control: no-store\r\n", "PNG:256")},
                  {},
                  256,
                  F::kServerFault,
                  1,
                  false},
        FetchCase{"BodyTooLong",
                  {Answer(200, "", "", HttpOutcome::kTooLarge)},
                  kStale,
                  0,
                  F::kTooLarge,
                  1,
                  false,
                  "If-None-Match: \"v1\";If-Modified-Since: Sun, 06 Nov 1994 08:49:37 GMT;"},
        FetchCase{"NoPicture", {Answer(200, kHour, "<html>")}, {}, 0, F::kNotAnImage, 1, false},
        FetchCase{"PictureThatFailsToDecode",
                  {Answer(200, kHour, "PNG:256!")},
                  {},
                  0,
                  F::kNotAnImage,
                  1,
                  false},
        FetchCase{"PictureLargerThanAnyTile",
                  {Answer(200, kHour, "PNG:5000")},
                  {},
                  0,
                  F::kTooManyPixels,
                  1,
                  false},
        FetchCase{"RedirectLoopEndsAfterThree",
                  {kLoop, kLoop, kLoop, kLoop, kLoop},
                  {},
                  0,
                  F::kRedirectedAway,
                  4,
                  false},
        FetchCase{"RedirectsFollowed",
                  {Answer(301, "Location: https://u.example/t.png\r\n"),
                   Answer(307, "Location: //v.example/t.png\r\n"), Answer(200, kHour, "PNG:256")},
                  {},
                  256,
                  F::kServerFault,
                  3,
                  true},
        FetchCase{"NoRedirectToPlainHttp",
                  {Answer(302, "Location: http://t.example/x.png\r\n")},
                  {},
                  0,
                  F::kRedirectedAway,
                  1,
                  false},
        FetchCase{
            "RedirectWithoutLocation", {Answer(302, "")}, {}, 0, F::kRedirectedAway, 1, false},
        FetchCase{"ServerErrorKeepsTheStaleTile",
                  {Answer(500, "")},
                  kStale,
                  0,
                  F::kServerFault,
                  1,
                  true,
                  "If-None-Match: \"v1\";If-Modified-Since: Sun, 06 Nov 1994 08:49:37 GMT;"},
        FetchCase{"ServerErrorWhenStale", {Answer(503, "")}, {}, 0, F::kServerFault, 1, false},
        FetchCase{"Missing", {Answer(404, "")}, {}, 0, F::kMissing, 1, false},
        FetchCase{"NoAnswer",
                  {Answer(0, "", "", HttpOutcome::kFailed)},
                  {},
                  0,
                  F::kServerFault,
                  1,
                  false}),
    [](const auto& info) { return info.param.name; });

TEST(TileFetchCancelTest, ACancelledRequestSaysNothing) {
  const HttpGetter get = [](const HttpRequest&, const HttpCancel& cancel) {
    return Answer(0, "", "", cancel.Cancelled() ? HttpOutcome::kCancelled : HttpOutcome::kFailed);
  };
  const TileFetcher fetcher({"http://t/{z}/{x}/{y}.png", "", ""}, get, FakeCodec(), nullptr,
                            [] { return kNow; });
  HttpCancel cancel;
  cancel.Cancel();
  EXPECT_TRUE(fetcher.Fetch({1, 0, 0}, 256, cancel).cancelled);
}

struct LocationCase {
  std::string name;
  std::string base;
  std::string location;
  std::optional<std::string> url;
};

class LocationTest : public testing::TestWithParam<LocationCase> {};

TEST_P(LocationTest, LeadsWhereTheRedirectSays) {
  EXPECT_EQ(ResolveLocation(GetParam().base, GetParam().location), GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Locations, LocationTest,
    testing::Values(
        LocationCase{"Absolute", "http://a/b/c.png", "https://d/e.png", "https://d/e.png"},
        LocationCase{"WithoutScheme", "https://a/b/c.png", "//d/e.png", "https://d/e.png"},
        LocationCase{"FromTheRoot", "http://a:8080/b/c.png?k=1", "/e.png", "http://a:8080/e.png"},
        LocationCase{"FromTheFolder", "http://a/b/c.png?k=/x", "e.png", "http://a/b/e.png"},
        LocationCase{"HostAlone", "http://a", "e.png", "http://a/e.png"},
        LocationCase{"ColonInAPath", "http://a/b/c", "x/y://z", "http://a/b/x/y://z"},
        LocationCase{"Empty", "http://a/b", "", std::nullopt},
        LocationCase{"BaseNotHttp", "ftp://a/b", "/c", std::nullopt}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace velorin
