#include "formats/kmz_reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include "formats/read_all.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

using Entries = std::vector<std::string>;

struct Member {
  std::string name;
  std::string bytes;
};

/// A zip archive made in memory, each member deflated.
std::string Zip(const std::vector<Member>& members) {
  std::vector<char> buffer(64u << 20);
  std::size_t used = 0;
  archive* writer = archive_write_new();
  archive_write_set_format_zip(writer);
  archive_write_zip_set_compression_deflate(writer);
  archive_write_open_memory(writer, buffer.data(), buffer.size(), &used);
  for (const Member& member : members) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, member.name.c_str());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, static_cast<la_int64_t>(member.bytes.size()));
    archive_write_header(writer, entry);
    archive_write_data(writer, member.bytes.data(), member.bytes.size());
    archive_entry_free(entry);
  }
  archive_write_close(writer);
  archive_write_free(writer);
  return std::string(buffer.data(), used);
}

const std::string kKml =
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document>\n"
    "<Placemark><name>東京タワー</name><Point><coordinates>139.7454329,35.6585805</coordinates>"
    "</Point></Placemark>\n</Document></kml>";

struct KmzCase {
  const char* name;
  std::vector<Member> members;
  Entries entries;
};

void PrintTo(const KmzCase& c, std::ostream* out) { *out << c.name; }

class KmzReaderTest : public ::testing::TestWithParam<KmzCase> {};

TEST_P(KmzReaderTest, ReadsTheFirstKmlMember) {
  testing::MemorySource source(Zip(GetParam().members), 1000);
  KmzReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader), GetParam().entries);
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
        KmzCase{"NoKml", {{"readme.txt", "hello"}}, {"0 failed: the archive holds no .kml file"}},
        KmzCase{"BrokenKml",
                {{"doc.kml", "<kml><Placemark>"}},
                {"1 failed: doc.kml: not a well-formed KML file: no element found"}}),
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

}  // namespace
}  // namespace velorin
