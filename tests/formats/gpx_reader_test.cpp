#include "formats/gpx_reader.h"

#include <gtest/gtest.h>

#include "formats/read_all.h"
#include "platform/memory_streams.h"
#include "support/test_system.h"

namespace velorin {
namespace {

using Entries = std::vector<std::string>;

struct GpxCase {
  const char* name;
  std::string document;
  Entries entries;
  std::int64_t routes = 0;
  std::int64_t tracks = 0;
  std::string unread = "";

  void PrintTo(const GpxCase& c, std::ostream* out) { *out << c.name; }
};

constexpr const char* kHead11 =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"t\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";

std::string Gpx11(const std::string& body) { return kHead11 + body + "</gpx>\n"; }

class GpxReaderTest : public ::testing::TestWithParam<GpxCase> {};

// Every case is read in one piece and in pieces of 3 bytes, so that tags,
// texts and UTF-8 characters are split between reads.
TEST_P(GpxReaderTest, ReadsWaypoints) {
  for (const std::size_t chunk : {std::size_t{0}, std::size_t{3}}) {
    testing::MemorySource source(GetParam().document, chunk);
    GpxReader reader(source);
    EXPECT_EQ(testing::ReadAll(reader), GetParam().entries) << "chunk " << chunk;
    EXPECT_EQ(reader.ignored()[IgnoredKind::kRoute], GetParam().routes);
    EXPECT_EQ(reader.ignored()[IgnoredKind::kTrack], GetParam().tracks);
    EXPECT_EQ(testing::DescribeUnread(reader.ignored()), GetParam().unread);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, GpxReaderTest,
    ::testing::Values(
        GpxCase{"Waypoint11",
                Gpx11("<wpt lat=\"35.6585805\" lon=\"139.7454329\"><ele>333</ele>"
                      "<name>Tokyo Tower</name><desc>red</desc></wpt>\n"),
                {"3 Tokyo Tower 139.745433 35.6585805"}},
        GpxCase{"Gpx10WithoutNamespacePrefix",
                "<gpx version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\">\n"
                "<wpt lon=\"135.5\" lat=\"34.5\"><name>Osaka</name></wpt></gpx>",
                {"2 Osaka 135.5 34.5"}},
        GpxCase{"NoNamespaceAtAll",
                "<gpx><wpt lat='1' lon='2'><name>A</name></wpt></gpx>",
                {"1 A 2 1"}},
        GpxCase{"JapaneseNameAndEntities",
                Gpx11("<wpt lat=\"35\" lon=\"139\"><name>東京 &amp; &#x5927;阪</name></wpt>"),
                {"3 東京 & 大阪 139 35"}},
        // The white space as the file writes it: the run's title rule tidies it.
        GpxCase{"CdataAndWhiteSpaceAsWritten",
                Gpx11("<wpt lat=\"35\" lon=\"139\"><name>\n  <![CDATA[A <b>]]>\r\n\tB  </name>"
                      "</wpt>"),
                {"3 \n  A <b>\n\tB   139 35"}},
        GpxCase{"NameCp932Lacks",
                Gpx11("<wpt lat=\"1\" lon=\"1\"><name>Tower 🗼</name></wpt>"),
                {"3 Tower 🗼 1 1"}},  // kept: only a CP932 output replaces it
        GpxCase{"UntitledAndEmptyName",
                Gpx11("<wpt lat=\"1\" lon=\"1\"/><wpt lat=\"2\" lon=\"2\"><name> </name></wpt>"),
                {"3  1 1", "3   2 2"}},
        GpxCase{"ExtensionNameIsNotTheTitle",
                Gpx11("<wpt lat=\"1\" lon=\"2\" xmlns:x=\"urn:x\"><x:name>no</x:name>"
                      "<extensions><name>no</name></extensions><name>yes</name></wpt>"),
                {"3 yes 2 1"}},
        GpxCase{"NegativeCoordinatesAreLeftToTheRun",
                Gpx11("<wpt lat=\"-33.8\" lon=\"151.2\"><name>Sydney</name></wpt>"),
                {"3 Sydney 151.2 -33.8"}},
        GpxCase{"BadCoordinates",
                Gpx11("<wpt lat=\"north\" lon=\"1\"><name>A</name></wpt>\n"
                      "<wpt lat=\"1\"><name>B</name></wpt>\n"
                      "<wpt lat=\"1\" lon=\"inf\"><name>C</name></wpt>\n"),
                {"3 skip: waypoint lat 'north' is not a number", "4 skip: waypoint lon missing",
                 "5 skip: waypoint lon 'inf' is not a number"}},
        GpxCase{"RoutesAndTracksAreCounted",
                Gpx11("<rte><rtept lat=\"1\" lon=\"1\"/></rte><rte/>\n"
                      "<trk><trkseg><trkpt lat=\"1\" lon=\"1\"/></trkseg></trk>\n"
                      "<wpt lat=\"1\" lon=\"1\"><name>W</name></wpt>"),
                {"5 W 1 1"},
                2,
                1},
        GpxCase{"WaypointsOfAnotherNamespaceOrSpellingAreCounted",
                "<gpx xmlns=\"urn:x\"><wpt lat='1' lon='2'/><wpt lat='1' lon='2'/>"
                "<WPT xmlns=\"http://www.topografix.com/GPX/1/1\" lat='1' lon='2'/></gpx>",
                {},
                0,
                0,
                "3 <wpt> in namespace urn:x"},
        GpxCase{"WaypointOutsideTheRootLevelIsNoWaypoint",
                Gpx11("<extensions><wpt lat=\"1\" lon=\"1\"/></extensions>"),
                {}},
        GpxCase{"NotGpx",
                "<kml><Placemark/></kml>",
                {"1 failed: not a GPX file: the document element is <kml>, not <gpx>"}},
        GpxCase{"Empty", "", {"1 failed: not a well-formed GPX file: no element found"}},
        GpxCase{"CutOff",
                Gpx11("<wpt lat=\"1\" lon=\"1\"><name>A</name></wpt>").substr(0, 150),
                {"3 failed: not a well-formed GPX file: unclosed token"}},
        GpxCase{"Latin1Declared",
                "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                "<gpx><wpt lat=\"1\" lon=\"1\"><name>\xA7 1</name></wpt></gpx>",
                {"1 § 1 1 1"}},
        GpxCase{"ShiftJisDeclared",
                "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<gpx><wpt lat=\"1\" lon=\"1\">"
                "<name>\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B \xB1</name></wpt></gpx>",
                {"2 東京タワー ｱ 1 1"}},
        GpxCase{
            "BrokenShiftJis",
            "<?xml version=\"1.0\" encoding=\"Windows-31J\"?>\n<gpx><name>\x81\x20</name></gpx>",
            {"2 failed: not a well-formed GPX file: not well-formed (invalid token)"}},
        GpxCase{
            "ExternalDtdNamed",
            "<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<!DOCTYPE gpx PUBLIC \"-//x//GPX\"\n"
            "  'http://example.invalid/gpx.dtd'>\n<gpx><wpt lat=\"1\" lon=\"2\">"
            "<name>A&amp;B</name></wpt></gpx>",
            {"5 A&B 2 1"}},
        GpxCase{"ExternalDtdInShiftJis",
                "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
                "<!DOCTYPE gpx SYSTEM \"\x93\x8C\x8B\x9E.dtd\">\n"
                "<gpx><wpt lat=\"1\" lon=\"1\"><name>\x93\x8C\x8B\x9E</name></wpt></gpx>",
                {"3 東京 1 1"}},
        // Texts are handed on in pieces: a character whose two UTF-16 halves
        // fall into two pieces is one character still.
        GpxCase{
            "LongNameWithACharacterOfTwoHalves",
            Gpx11("<wpt lat=\"1\" lon=\"1\"><name>" + std::string(4095, 'a') + "\xF0\x9F\x97\xBB" +
                  std::string(5000, 'b') + "</name></wpt>"),
            {"3 " + std::string(4095, 'a') + "\xF0\x9F\x97\xBB" + std::string(5000, 'b') + " 1 1"}},
        GpxCase{"UnknownEncoding",
                "<?xml version=\"1.0\" encoding=\"EUC-JP\"?>\n<gpx/>",
                {"1 failed: the GPX file is in EUC-JP, which is not read (UTF-8, UTF-16, "
                 "ISO-8859-1, US-ASCII and Shift_JIS are)"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A document written out, or made by a function: the large ones are made
// when their case runs, not when it is registered (every test process
// registers all cases).
class HostileDocument {
 public:
  HostileDocument(const char* text) : text_(text) {}       // NOLINT(google-explicit-constructor)
  HostileDocument(std::string (*make)()) : make_(make) {}  // NOLINT(google-explicit-constructor)
  std::string Bytes() const { return make_ != nullptr ? make_() : std::string(text_); }

 private:
  const char* text_ = nullptr;
  std::string (*make_)() = nullptr;
};

struct HostileCase {
  const char* name;
  HostileDocument document;
  std::string failure;
  /// Why the tests under Wine cannot show the case, when they cannot.
  const char* wineCannot = nullptr;
};

void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

class GpxHostileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(GpxHostileTest, IsRefusedWithAClearReason) {
  if (GetParam().wineCannot != nullptr && testutil::RunningUnderWine()) {
    GTEST_SKIP() << GetParam().wineCannot;
  }
  testing::MemorySource source(GetParam().document.Bytes(), 4096);
  GpxReader reader(source);
  const Entries entries = testing::ReadAll(reader);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.back(), GetParam().failure);
  // The refusal comes early: the source is not read to its end.
  EXPECT_LT(source.position(), 4u << 20);
}

std::string LaughBomb() {
  std::string document = "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [\n<!ENTITY a \"lol\">\n";
  for (char c = 'b'; c <= 'k'; ++c) {
    document += std::string("<!ENTITY ") + c + " \"";
    for (int i = 0; i < 10; ++i) document += std::string("&") + static_cast<char>(c - 1) + ";";
    document += "\">\n";
  }
  return document + "]>\n<gpx><wpt lat=\"1\" lon=\"1\"><name>&k;</name></wpt></gpx>";
}

constexpr const char* kDtdRefusal =
    " failed: the file has a DTD of its own, which is refused (its entities can expand without "
    "bound or read other files, its defaults add attributes the file does not show)";

// XmlLite fails the document at the reference without naming the entity.
const std::string kUndefinedBehindDtd =
    VELORIN_XMLLITE ? "2 failed: not a well-formed GPX file: undefined entity"
                    : "2 failed: the entity &undefined; is not defined in the file";
constexpr const char* kWinePassesUndefinedEntities =
    "Wine's XmlLite hands on a reference to an entity never declared as its text";

std::string DeepNesting() {
  std::string document = "<gpx>";
  for (int i = 0; i < 1'000'000; ++i) document += "<a>";
  return document;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, GpxHostileTest,
    ::testing::Values(
        HostileCase{"BillionLaughs", &LaughBomb, std::string("2") + kDtdRefusal},
        HostileCase{"ExternalEntity",
                    "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [<!ENTITY x SYSTEM "
                    "\"file:///etc/passwd\">]>\n<gpx><wpt lat=\"1\" lon=\"1\"><name>&x;"
                    "</name></wpt></gpx>",
                    std::string("2") + kDtdRefusal},
        HostileCase{"ParameterEntity",
                    "<!DOCTYPE gpx [<!ENTITY % p SYSTEM \"http://example.invalid/x\"> "
                    "%p;]><gpx/>",
                    std::string("1") + kDtdRefusal},
        HostileCase{"AttributeDefault",
                    "<!DOCTYPE gpx [<!ATTLIST wpt lat CDATA \"35.5\">]>\n"
                    "<gpx><wpt lon=\"1\"/></gpx>",
                    std::string("1") + kDtdRefusal},
        HostileCase{"UndefinedEntityBehindAnExternalDtd",
                    "<!DOCTYPE gpx SYSTEM \"gpx.dtd\">\n"
                    "<gpx><wpt lat=\"1\" lon=\"1\"><name>A&undefined;B</name></wpt></gpx>",
                    kUndefinedBehindDtd, kWinePassesUndefinedEntities},
        HostileCase{"DeepNesting", &DeepNesting,
                    "1 failed: elements nested more than 256 deep: refused"},
        HostileCase{"GiganticTag",
                    +[] {
                      return "<gpx><wpt lat=\"1\" lon=\"1\" junk=\"" + std::string(16u << 20, 'x') +
                             "\"/>";
                    },
                    "1 failed: a single piece of markup longer than 1048576 bytes"},
        HostileCase{"GiganticComment", +[] { return "<gpx><!--" + std::string(16u << 20, 'x'); },
                    "1 failed: a single piece of markup longer than 1048576 bytes",
                    "Wine's XmlLite crashes on a comment longer than a few hundred kilobytes"}),
    [](const auto& info) { return std::string(info.param.name); });

// A gigantic name is read through without holding it, and its point is
// skipped rather than given a title that large.
TEST(GpxReaderTest, GiganticNameCostsNoMemoryAndSkipsItsPoint) {
  if (testutil::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's XmlLite holds a whole text before handing on any of it, so the "
                    "limit on a piece of markup refuses the file first";
  }
  const std::string document = "<gpx><wpt lat=\"1\" lon=\"1\"><name>" + std::string(8u << 20, 'n') +
                               "</name></wpt><wpt lat=\"2\" lon=\"2\"><name>B</name></wpt></gpx>";
  testing::MemorySource source(document, 1 << 16);
  GpxReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader),
            (Entries{"1 skip: waypoint name longer than 65536 bytes", "1 B 2 2"}));
}

// Text nobody reads (a long description) is passed over however long it
// is: only a single piece of markup is bounded.
TEST(GpxReaderTest, GiganticUnreadTextIsPassedOver) {
  if (testutil::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's XmlLite holds a whole text before handing on any of it, so the "
                    "limit on a piece of markup refuses the file first";
  }
  for (const std::string& around : {std::string("desc"), std::string("extensions")}) {
    const std::string document = "<gpx><wpt lat=\"1\" lon=\"1\"><" + around + ">" +
                                 std::string(8u << 20, 'd') + "</" + around +
                                 "><name>A</name></wpt><wpt lat=\"2\" lon=\"2\">\n" +
                                 std::string(3u << 20, ' ') + "<name>B</name></wpt></gpx>";
    testing::MemorySource source(document, 1 << 16);
    GpxReader reader(source);
    EXPECT_EQ(testing::ReadAll(reader), (Entries{"1 A 1 1", "1 B 2 2"})) << around;
  }
}

TEST(GpxReaderTest, ReadErrorIsAFailure) {
  testing::MemorySource source(Gpx11("<wpt lat=\"1\" lon=\"1\"/>"));
  source.FailAfter(10);
  GpxReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader), (Entries{"0 failed: read error: Input/output error"}));
}

}  // namespace
}  // namespace velorin
