// Saving the map's edits is converting the edited file: the bytes saved
// are those a conversion of a file holding the edits writes, in every
// format; the unit's CP932 titles keep their bytes; the safe output asks
// before it replaces.
#include "map/edit_save.h"

#include <gtest/gtest.h>

#include <string>

#include "edit_test_map.h"
#include "map/point_editor.h"
#include "map/save_forecast.h"
#include "platform/clock.h"

namespace velorin {
namespace {

using testutil::kSixEntries;
using testutil::MapOf;

/// kSixEntries as a person would edit the file by hand to match the edits
/// of EditAsTheFileWasEdited.
constexpr const char* kSixEdited =
    "name,lat,lon\n"
    "\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x82\xBF\xE3\x83\xAF\xE3\x83\xBC,35.658581,139.745433\n"
    "Big Ben,35.6,139.7\n"
    "Umeda,34.70,135.50\n"
    "Nowhere,north,139\n"
    "Kyoto,35.25,135.5\n"
    "Sapporo,43.0621,141.3544\n";

void EditAsTheFileWasEdited(PointEditor& editor) {
  editor.selection().Clear();
  editor.selection().Set(1, true);  // Osaka Castle
  editor.DeleteChosen();
  editor.Rename(0, "\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x82\xBF\xE3\x83\xAF\xE3\x83\xBC");  // 東京タワー
  editor.MoveTo(2, {135.5, 35.25});                                                  // Kyoto
  editor.MoveTo(3, {139.7, 35.6});  // Big Ben, mended
  editor.Rename(4, "Umeda");        // the untitled one, mended
  editor.Add("Sapporo", {141.3544, 43.0621});
  // Edits undone and redone are no different.
  editor.Undo();
  editor.Redo();
}

/// Saves the edited points as the map window does: the run of the save's
/// options, its writer counting what it writes.
RunOutcome SaveEditedPoints(RunHost& host, FileSystem& files, Clock& clock,
                            const EditedPoints& points, const EditSave& save) {
  SaveTally tally;
  return ConversionRun(host, files, clock, CountedSaveOptions(points, save, tally)).Execute();
}

RunOutcome Convert(MemoryFileSystem& files, RunInput input, const std::string& output,
                   PointFormat format) {
  RunOptions options;
  options.inputs = {std::move(input)};
  options.outputPath = output;
  options.outputFormat = format;
  options.untitled = UntitledRule::kSkip;
  UnattendedHost host(/*replace=*/true);
  FixedClock clock({"2024/05/01", "12:00:00"});
  return ConversionRun(host, files, clock, options).Execute();
}

class EditSaveTest : public ::testing::TestWithParam<PointFormat> {};

TEST_P(EditSaveTest, SavedBytesAreThoseOfConvertingTheEditedFile) {
  const PointFormat format = GetParam();
  const std::string extension(InfoOf(format).extension);
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  files.AddFile("/m/edited.csv", kSixEdited);
  PointEditor editor(*map, UntitledRule::kSkip);
  EditAsTheFileWasEdited(editor);

  UnattendedHost host;
  FixedClock clock({"2024/05/01", "12:00:00"});
  const RunOutcome saved =
      SaveEditedPoints(host, files, clock, editor.points(), {"/m/saved" + extension, format});
  const RunOutcome converted =
      Convert(files, {"/m/edited.csv", PointFormat::kCsv}, "/m/converted" + extension, format);
  ASSERT_EQ(saved.result, RunResult::kFinished);
  ASSERT_EQ(converted.result, RunResult::kFinished);
  EXPECT_EQ(saved.records, converted.records);
  EXPECT_EQ(saved.skipped.total(), converted.skipped.total());
  EXPECT_EQ(files.Contents("/m/saved" + extension), files.Contents("/m/converted" + extension));
  // NVI holds no west longitude: what the map counts as points is what
  // the file gets.
  if (format == PointFormat::kNvi) {
    EXPECT_EQ(saved.records, 5);
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, EditSaveTest,
                         ::testing::Values(PointFormat::kNvi, PointFormat::kPot, PointFormat::kGpx,
                                           PointFormat::kKml, PointFormat::kCsv,
                                           PointFormat::kGeoJson),
                         [](const auto& info) { return std::string(InfoOf(info.param).name); });

TEST(EditSaveTest, TheUnitsTitlesKeepTheirBytes) {
  // A POT title with a character of IBM's extension (FA 40), which UTF-8
  // gives back under NEC's code: saved as read, not as shown.
  const std::string pot =
      "ORD=POI/tex=\x83\x5E\x83\x8F\x81\x5B\xFA\x40/kei=139'44'43'5/ido=35'39'30'9\r\n"
      "ORD=POI/tex=Gone/kei=135'0'0'0/ido=35'0'0'0\r\n"
      "ORD=POI/tex=Moved/kei=135'0'0'0/ido=35'0'0'0\r\n";
  const std::string edited =
      "ORD=POI/tex=\x83\x5E\x83\x8F\x81\x5B\xFA\x40/kei=139'44'43'5/ido=35'39'30'9\r\n"
      "ORD=POI/tex=Moved/kei=136'30'0'0/ido=34'15'0'0\r\n";
  MemoryFileSystem files;
  auto map = MapOf(files, "in.pot", pot);
  files.AddFile("/m/edited.pot", edited);
  PointEditor editor(*map, UntitledRule::kSkip);
  editor.selection().Set(1, true);
  editor.DeleteChosen();
  editor.MoveTo(2, {136.5, 34.25});
  UnattendedHost host;
  FixedClock clock({"2024/05/01", "12:00:00"});
  ASSERT_EQ(SaveEditedPoints(host, files, clock, editor.points(), {"/m/saved.nvi"}).result,
            RunResult::kFinished);
  Convert(files, {"/m/edited.pot", PointFormat::kPot}, "/m/converted.nvi", PointFormat::kNvi);
  const std::string saved = files.Contents("/m/saved.nvi").value_or("");
  EXPECT_NE(saved.find("\xFA\x40"), std::string::npos);
  EXPECT_EQ(saved, files.Contents("/m/converted.nvi").value_or("-"));
}

class EditSaveTextsTest : public ::testing::TestWithParam<PointFormat> {};

// A point's further texts (its description, address, link) go with it into
// the saved file, edited or not, as a conversion of the edited file keeps
// them; a skipped point mended keeps its own.
TEST_P(EditSaveTextsTest, ThePointsTextsAreSavedWithThem) {
  const PointFormat format = GetParam();
  const std::string extension(InfoOf(format).extension);
  const std::string gpx =
      "<gpx><wpt lat=\"35.1\" lon=\"139.1\"><name>A</name><desc>first</desc></wpt>"
      "<wpt lat=\"35.2\" lon=\"139.2\"><name>Gone</name></wpt>"
      "<wpt lat=\"35.3\" lon=\"139.3\"><desc>untitled</desc>"
      "<link href=\"https://example.org/c\"/></wpt>"
      "<wpt lat=\"35.4\" lon=\"139.4\"><name>D</name><cmt>fourth</cmt></wpt></gpx>";
  const std::string edited =
      "<gpx><wpt lat=\"35.1\" lon=\"139.1\"><name>A2</name><desc>first</desc></wpt>"
      "<wpt lat=\"35.3\" lon=\"139.3\"><name>C</name><desc>untitled</desc>"
      "<link href=\"https://example.org/c\"/></wpt>"
      "<wpt lat=\"35.45\" lon=\"139.45\"><name>D</name><cmt>fourth</cmt></wpt></gpx>";
  MemoryFileSystem files;
  auto map = MapOf(files, "in.gpx", gpx);
  files.AddFile("/m/edited.gpx", edited);
  PointEditor editor(*map, UntitledRule::kSkip);
  editor.Rename(0, "A2");
  editor.selection().Clear();
  editor.selection().Set(1, true);
  editor.DeleteChosen();
  editor.MoveTo(2, {139.45, 35.45});
  editor.Rename(3, "C");  // the untitled one, mended
  UnattendedHost host;
  FixedClock clock({"2024/05/01", "12:00:00"});
  ASSERT_EQ(SaveEditedPoints(host, files, clock, editor.points(), {"/m/saved" + extension, format})
                .result,
            RunResult::kFinished);
  Convert(files, {"/m/edited.gpx", PointFormat::kGpx}, "/m/converted" + extension, format);
  const std::string saved = files.Contents("/m/saved" + extension).value_or("");
  EXPECT_NE(saved.find("first"), std::string::npos) << saved;
  EXPECT_NE(saved.find("fourth"), std::string::npos) << saved;
  EXPECT_NE(saved.find("example.org/c"), std::string::npos) << saved;
  EXPECT_EQ(saved, files.Contents("/m/converted" + extension).value_or("-"));
}

INSTANTIATE_TEST_SUITE_P(Formats, EditSaveTextsTest,
                         ::testing::Values(PointFormat::kGpx, PointFormat::kKml, PointFormat::kCsv,
                                           PointFormat::kGeoJson),
                         [](const auto& info) { return std::string(InfoOf(info.param).name); });

struct DatumCase {
  const char* name;
  PointFormat format;
  Datum fileDatum;  ///< the datum the window reads POT and CSV in
  Datum nviDatum;   ///< the datum the window writes NVI in
  Datum written;    ///< the datum the saved file is to hold
};

void PrintTo(const DatumCase& c, std::ostream* out) { *out << c.name; }

class EditSaveDatumTest : public ::testing::TestWithParam<DatumCase> {};

// The map holds its points in WGS 84: a save moves them once, into the
// datum of the file written, never as if they were still in the input's.
TEST_P(EditSaveDatumTest, PointsAreMovedOnceIntoTheDatumOfTheFile) {
  const DatumCase& c = GetParam();
  const std::string extension(InfoOf(c.format).extension);
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  files.AddFile("/m/edited.csv", kSixEdited);
  PointEditor editor(*map, UntitledRule::kSkip);
  EditAsTheFileWasEdited(editor);
  EditSave save{"/m/saved" + extension, c.format};
  save.fileDatum = c.fileDatum;
  save.nviDatum = c.nviDatum;
  const RunOptions options = EditSaveOptions(editor.points(), save);
  EXPECT_EQ(options.inputDatum, Datum::kWgs84);

  UnattendedHost host;
  FixedClock clock({"2024/05/01", "12:00:00"});
  ASSERT_EQ(SaveEditedPoints(host, files, clock, editor.points(), save).result,
            RunResult::kFinished);
  RunOptions convert;
  convert.inputs = {{"/m/edited.csv", PointFormat::kCsv}};
  convert.outputPath = "/m/converted" + extension;
  convert.outputFormat = c.format;
  convert.untitled = UntitledRule::kSkip;
  convert.outputDatum = c.written;
  ASSERT_EQ(ConversionRun(host, files, clock, convert).Execute().result, RunResult::kFinished);
  EXPECT_EQ(files.Contents("/m/saved" + extension), files.Contents("/m/converted" + extension));
}

constexpr Datum kTokyo = Datum::kTokyo;
constexpr Datum kWgs84 = Datum::kWgs84;

INSTANTIATE_TEST_SUITE_P(
    Settings, EditSaveDatumTest,
    ::testing::Values(DatumCase{"NviAsConvertWritesIt", PointFormat::kNvi, kWgs84, kTokyo, kTokyo},
                      DatumCase{"NviNotInTheReadDatum", PointFormat::kNvi, kTokyo, kWgs84, kWgs84},
                      DatumCase{"PotAsTheWindowReadsIt", PointFormat::kPot, kTokyo, kWgs84, kTokyo},
                      DatumCase{"PotNotInNvisDatum", PointFormat::kPot, kWgs84, kTokyo, kWgs84},
                      DatumCase{"CsvAsTheWindowReadsIt", PointFormat::kCsv, kTokyo, kTokyo, kTokyo},
                      // GPX is WGS 84 whatever the settings say.
                      DatumCase{"GpxAlwaysWgs84", PointFormat::kGpx, kTokyo, kTokyo, kWgs84}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReplaceCase {
  const char* name;
  const char* path;  ///< saved into
  bool existing;     ///< a file is there already
  bool replace;      ///< the answer to the question
  RunResult result;
  bool inputKept;  ///< the file read is as it was
};

class EditSaveReplaceTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(EditSaveReplaceTest, AnExistingFileIsReplacedOnlyWhenTheAnswerIsYes) {
  const ReplaceCase& c = GetParam();
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  if (c.existing) files.AddFile(c.path, "old");
  PointEditor editor(*map, UntitledRule::kSkip);
  editor.selection().Set(0, true);
  editor.DeleteChosen();
  UnattendedHost host(c.replace);
  FixedClock clock({});
  const RunOutcome outcome = SaveEditedPoints(host, files, clock, editor.points(), {c.path});
  EXPECT_EQ(outcome.result, c.result);
  EXPECT_EQ(files.Contents("/m/six.csv") == std::string(kSixEntries), c.inputKept);
}

INSTANTIATE_TEST_SUITE_P(Answers, EditSaveReplaceTest,
                         ::testing::Values(ReplaceCase{"NewFile", "/m/new.gpx", false, false,
                                                       RunResult::kFinished, true},
                                           ReplaceCase{"ExistingDeclined", "/m/old.gpx", true,
                                                       false, RunResult::kDeclinedOverwrite, true},
                                           ReplaceCase{"ExistingReplaced", "/m/old.gpx", true, true,
                                                       RunResult::kFinished, true},
                                           ReplaceCase{"InputDeclined", "/m/six.csv", false, false,
                                                       RunResult::kDeclinedOverwrite, true},
                                           // Named and confirmed, the file read takes the edits.
                                           ReplaceCase{"InputReplaced", "/m/six.csv", false, true,
                                                       RunResult::kFinished, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
