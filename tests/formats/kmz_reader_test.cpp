#include "formats/kmz_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "formats/read_all.h"
#include "formats/zip_maker.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

using Entries = std::vector<std::string>;
using Member = testing::ZipMember;
constexpr auto kLink = Member::Kind::kLink;

/// A zip archive made in memory, each member deflated.
std::string Zip(const std::vector<Member>& members) { return testing::MakeZip(members); }

const std::string kKml =
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document>\n"
    "<Placemark><name>東京タワー</name><Point><coordinates>139.7454329,35.6585805</coordinates>"
    "</Point></Placemark>\n</Document></kml>";

/// A one-line KML document: a NetworkLink to each of `hrefs`, then
/// `placemark` named so at 1,2 unless empty.
std::string Linking(const std::vector<std::string>& hrefs, const std::string& placemark = "") {
  std::string kml = "<kml><Document>";
  for (const std::string& href : hrefs) {
    kml += "<NetworkLink><Link><href>" + href + "</href></Link></NetworkLink>";
  }
  if (!placemark.empty()) {
    kml += "<Placemark><name>" + placemark +
           "</name><Point><coordinates>1,2</coordinates>"
           "</Point></Placemark>";
  }
  return kml + "</Document></kml>";
}

struct KmzCase {
  const char* name;
  std::vector<Member> members;
  Entries entries;
  std::int64_t linksOutside = 0;
  std::int64_t linksNotFollowed = 0;
};

void PrintTo(const KmzCase& c, std::ostream* out) { *out << c.name; }

class KmzReaderTest : public ::testing::TestWithParam<KmzCase> {};

TEST_P(KmzReaderTest, ReadsTheFirstKmlMember) {
  testing::MemorySource source(Zip(GetParam().members), 1000);
  KmzReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader), GetParam().entries);
  EXPECT_EQ(reader.ignored()[IgnoredKind::kLinkOutside], GetParam().linksOutside);
  EXPECT_EQ(reader.ignored()[IgnoredKind::kLinkNotFollowed], GetParam().linksNotFollowed);
}

INSTANTIATE_TEST_SUITE_P(
    Archives, KmzReaderTest,
    ::testing::Values(
        KmzCase{"DocKml", {{"doc.kml", kKml}}, {"2 東京タワー 139.745433 35.6585805"}},
        KmzCase{"ImagesBeforeTheKml",
                {{"files/icon.png", std::string(5000, '\x89')}, {"Places.KML", kKml}},
                {"2 東京タワー 139.745433 35.6585805"}},
        KmzCase{"OnlyTheFirstKml",
                {{"doc.kml", kKml}, {"other.kml", "<kml><Placemark/></kml>"}},
                {"2 東京タワー 139.745433 35.6585805"}},
        KmzCase{"SymbolicLinkIsNoKml",
                {{"doc.kml", "real.kml", kLink}, {"real.kml", kKml}},
                {"2 東京タワー 139.745433 35.6585805"}},
        KmzCase{
            "LinkedFilesOfTheArchiveInLinkOrder",
            {{"doc.kml", Linking({"layers/b.kml", " ./layers/a.kml#x "})},
             {"layers/a.kml", Linking({"../doc.kml", "c.kml"}, "A")},
             {"layers/b.kml", Linking({}, "B")},
             {"layers/c.kml", "<kml><Placemark><Point/></Placemark></kml>"}},
            {"1 B 1 2", "1 A 1 2", "1 skip: layers/c.kml: placemark point without coordinates"}},
        KmzCase{"LinksOutOfTheArchiveOrToNoFileAreCounted",
                {{"doc.kml", Linking({"http://example.com/a.kml", "/etc/a.kml", "../a.kml",
                                      "C:/a.kml", "missing.kml", "link.kml"})},
                 {"a.kml", kKml},
                 {"link.kml", "a.kml", kLink}},
                {},
                4,
                2},
        KmzCase{"LinksFourDeepAtMost",
                {{"doc.kml", Linking({"1.kml"}, "0")},
                 {"1.kml", Linking({"2.kml"}, "1")},
                 {"2.kml", Linking({"3.kml"}, "2")},
                 {"3.kml", Linking({"4.kml"}, "3")},
                 {"4.kml", Linking({"5.kml"}, "4")},
                 {"5.kml", Linking({}, "5")}},
                {"1 0 1 2", "1 1 1 2", "1 2 1 2", "1 3 1 2", "1 4 1 2"},
                0,
                1},
        KmzCase{"StoredKml",
                {{"doc.kml", kKml, Member::Kind::kFile, false}},
                {"2 東京タワー 139.745433 35.6585805"}},
        KmzCase{"FolderNamedLikeAKml",
                {{"old.kml/", "", Member::Kind::kFolder}, {"doc.kml", kKml}},
                {"2 東京タワー 139.745433 35.6585805"}},
        // Nothing is unpacked to disk, but a name that leads out of the
        // archive is no member a KMZ reader reads, first or linked.
        KmzCase{"NamesOutOfTheArchiveAreNeverRead",
                {{"../evil.kml", Linking({}, "up")},
                 {"/etc/evil.kml", Linking({}, "root")},
                 {"C:/evil.kml", Linking({}, "drive")},
                 {"a\\..\\..\\evil.kml", Linking({}, "back")},
                 {"doc.kml", Linking({"../evil.kml", "x/../../evil.kml"}, "doc")}},
                {"1 doc 1 2"},
                2},
        KmzCase{"EncryptedKml",
                {{"doc.kml", kKml, Member::Kind::kFile, true, 1}},
                {"0 failed: the .kml file in the archive is encrypted"}},
        KmzCase{"NoKml", {{"readme.txt", "hello"}}, {"0 failed: the archive holds no .kml file"}},
        KmzCase{"BrokenKml",
                {{"doc.kml", "<kml><Placemark>"}},
                {"1 failed: doc.kml: not a well-formed KML file: no element found"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct DamageCase {
  const char* name;
  std::function<void(testing::ZipLayout&)> damage;
  std::string failure;
};

void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.name; }

class KmzDamageTest : public ::testing::TestWithParam<DamageCase> {};

// An archive whose stated sizes, CRC or offsets lie is refused, whatever
// points its damaged member would still give.
TEST_P(KmzDamageTest, IsRefused) {
  testing::ZipLayout layout = testing::MakeZipLayout({{"doc.kml", kKml + std::string(3000, ' ')}});
  GetParam().damage(layout);
  testing::MemorySource source(layout.bytes, 1000);
  KmzReader reader(source);
  const Entries entries = testing::ReadAll(reader);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.back(), GetParam().failure);
}

std::size_t Central(const testing::ZipLayout& layout) { return layout.centralHeaders[0]; }

constexpr const char* kUnreadable = "0 failed: not a readable KMZ (zip) archive";

INSTANTIATE_TEST_SUITE_P(
    Archives, KmzDamageTest,
    ::testing::Values(
        DamageCase{"SizeStatedTooSmall",
                   [](testing::ZipLayout& z) {
                     testing::Put32(z.bytes, Central(z) + testing::kCentralSize, 100);
                   },
                   kUnreadable},
        DamageCase{"WrongCrc",
                   [](testing::ZipLayout& z) {
                     testing::Put32(z.bytes, Central(z) + testing::kCentralCrc, 1);
                   },
                   kUnreadable},
        DamageCase{"CutOff", [](testing::ZipLayout& z) { z.bytes.resize(z.bytes.size() - 30); },
                   kUnreadable},
        DamageCase{"DirectoryPastTheEnd",
                   [](testing::ZipLayout& z) {
                     testing::Put32(z.bytes, z.endRecord + testing::kEndDirectoryStart, 1u << 30);
                   },
                   kUnreadable}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KmzReaderTest, NotAZipArchive) {
  testing::MemorySource source("<kml/>");
  KmzReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader), (Entries{"0 failed: not a readable KMZ (zip) archive"}));
}

// 64 MiB of blanks pack into some 64 KiB: refused once it has
// expanded beyond the grace size, long before it is all unpacked.
TEST(KmzReaderTest, ZipBombIsRefusedNotUnpacked) {
  std::string kml = "<kml>";
  kml.resize(64u << 20, ' ');
  const std::string archive = Zip({{"doc.kml", kml}});
  kml.clear();
  kml.shrink_to_fit();
  ASSERT_LT(archive.size(), 4u << 20);
  testing::MemorySource source(archive, 1 << 16);
  KmzReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader),
            (Entries{"0 failed: the .kml file expands more than 200 times its packed size: "
                     "refused as a zip bomb"}));
}

// A highly packed member is refused from its first bytes, well before the
// memory it would cost mattered.
TEST(KmzReaderTest, ExpansionIsMeasuredFromTheFirstBytes) {
  testing::MemorySource source(Zip({{"doc.kml", "<kml>" + std::string(1u << 20, ' ') + "</kml>"},
                                    {"photo.jpg", std::string(1u << 20, '\x89')}}));
  KmzReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader),
            (Entries{"0 failed: the .kml file expands more than 200 times its packed size: "
                     "refused as a zip bomb"}));
}

// Past kMemoryCopy the archive is copied to a temporary file, not held in
// memory.
TEST(KmzReaderTest, LargeArchiveIsReadThroughATemporaryCopy) {
  std::string photo(KmzArchive::kMemoryCopy + (1u << 20), '\0');
  std::uint32_t noise = 1;
  for (char& c : photo) c = static_cast<char>((noise = noise * 1664525u + 1013904223u) >> 24);
  testing::MemorySource source(Zip({{"photo.jpg", photo}, {"doc.kml", kKml}}), 1 << 16);
  KmzReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader), (Entries{"2 東京タワー 139.745433 35.6585805"}));
}

TEST(KmzReaderTest, SixtyFourLinkedFilesAtMost) {
  std::vector<std::string> hrefs;
  std::vector<Member> members(1);
  for (int i = 0; i < 70; ++i) {
    hrefs.push_back(std::to_string(i) + ".kml");
    members.push_back({hrefs.back(), Linking({}, "P")});
  }
  members[0] = {"doc.kml", Linking(hrefs)};
  testing::MemorySource source(Zip(members));
  KmzReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader).size(), 64u);
  EXPECT_EQ(reader.ignored()[IgnoredKind::kLinkNotFollowed], 6);
}

// Made by `ogr2ogr -f LIBKML gdal_layers.kmz in.gpx` (GDAL 3.6) from two
// waypoints: doc.kml only links the layers, each a file of the archive.
TEST(KmzReaderTest, GdalLayersAreRead) {
  std::ifstream file(VELORIN_FORMATS_TEST_DATA "/gdal_layers.kmz", std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  testing::MemorySource source(bytes.str());
  KmzReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader),
            (Entries{"28 Tokyo Tower 139.745433 35.6585805", "36 Osaka 135.5 34.5"}));
}

struct LinkCase {
  const char* name;
  const char* from;
  const char* href;
  std::optional<std::string> member;
};

void PrintTo(const LinkCase& c, std::ostream* out) { *out << c.from << " " << c.href; }

class LinkedMemberTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkedMemberTest, NamesAMemberOfTheArchiveOrNothing) {
  EXPECT_EQ(LinkedMember(GetParam().from, GetParam().href), GetParam().member);
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkedMemberTest,
    ::testing::Values(LinkCase{"FromTheRoot", "doc.kml", "layers/a.kml", "layers/a.kml"},
                      LinkCase{"BesideTheLinkingFile", "layers/a.kml", "b.kml", "layers/b.kml"},
                      LinkCase{"UpOneFolder", "layers/a.kml", "../b.kml", "b.kml"},
                      LinkCase{"DotsAndFragment", "a/b/c.kml", ".//../d.kml#f", "a/d.kml"},
                      LinkCase{"AboveTheArchive", "layers/a.kml", "../../b.kml", std::nullopt},
                      LinkCase{"WebAddress", "doc.kml", "https://example.com/b.kml", std::nullopt},
                      LinkCase{"FileScheme", "doc.kml", "file:b.kml", std::nullopt},
                      LinkCase{"DrivePath", "doc.kml", "C:\\b.kml", std::nullopt},
                      LinkCase{"AbsolutePath", "doc.kml", "/b.kml", std::nullopt},
                      LinkCase{"FragmentOnly", "doc.kml", "#feature", std::nullopt},
                      LinkCase{"AnyScheme", "doc.kml", "a:b/c.kml", std::nullopt},
                      LinkCase{"ColonInAName", "doc.kml", "a/b:c.kml", "a/b:c.kml"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
