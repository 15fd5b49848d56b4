#include "formats/photo_reader.h"

#include <gtest/gtest.h>

#include "formats/exif_maker.h"
#include "formats/read_all.h"
#include "platform/memory_file_system.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

using testing::ExifJpeg;
using testing::ExifSpec;
using testing::ExifTiff;

struct PhotoCase {
  const char* name;
  std::string path;
  std::string bytes;
  std::string entry;  ///< as testing::Describe gives it
  std::string description = {};
};

void PrintTo(const PhotoCase& c, std::ostream* out) { *out << c.name; }

ExifSpec At(double latitude, double longitude) {
  ExifSpec spec;
  spec.latitude = latitude;
  spec.longitude = longitude;
  return spec;
}

ExifSpec Described() {
  ExifSpec spec = At(35.6586, 139.7454);
  spec.title = "  Tokyo Tower ";
  spec.taken = "2024:05:03 10:22:01";
  spec.make = "Canon";
  spec.model = "Canon EOS R6";
  return spec;
}

ExifSpec Without(ExifSpec spec, bool references, bool zero) {
  spec.writeReferences = !references;
  spec.zeroDenominator = zero;
  return spec;
}

ExifSpec BigEndian(ExifSpec spec) {
  spec.bigEndian = true;
  spec.make = "NIKON";
  spec.model = "COOLPIX";
  return spec;
}

class PhotoReaderTest : public ::testing::TestWithParam<PhotoCase> {};

// Each photo is read from a file, which seeks past what it skips, and from
// a pipe, read on in pieces of 7 bytes.
TEST_P(PhotoReaderTest, ReadsThePositionOfItsExif) {
  MemoryFileSystem files;
  files.AddFile(GetParam().path, GetParam().bytes);
  std::error_code error;
  std::unique_ptr<ByteSource> file = files.OpenForReading(GetParam().path, error);
  testing::MemorySource pipe(GetParam().bytes, 7);
  for (ByteSource* source : {file.get(), static_cast<ByteSource*>(&pipe)}) {
    PhotoReader reader(*source, GetParam().path);
    ReadEntry entry;
    ASSERT_TRUE(reader.Next(entry));
    EXPECT_EQ(testing::Describe(entry), GetParam().entry);
    EXPECT_EQ(entry.point.fields.Get(PointField::kDescription), GetParam().description);
    EXPECT_FALSE(reader.Next(entry));
    EXPECT_FALSE(reader.failure());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Photos, PhotoReaderTest,
    ::testing::Values(
        PhotoCase{"TitledAndDescribed", "/p/IMG_0001.jpg", ExifJpeg(ExifTiff(Described())),
                  "0 Tokyo Tower 139.7454 35.6586", "2024-05-03 10:22:01, Canon EOS R6"},
        PhotoCase{"UntitledTakesTheFileName", "/p/Hakone.onsen.JPG",
                  ExifJpeg(ExifTiff(At(35.2329, 139.1057))), "0 Hakone.onsen 139.1057 35.2329"},
        PhotoCase{"SouthAndWest", "/p/cape.jpeg", ExifJpeg(ExifTiff(At(-34.357, -18.474))),
                  "0 cape -18.474 -34.357"},
        PhotoCase{"AtTheRangeLimits", "/p/pole.jpg", ExifJpeg(ExifTiff(At(-90.0, 180.0))),
                  "0 pole 180 -90"},
        PhotoCase{"BigEndianTiff", "/p/scan.tif", ExifTiff(BigEndian(At(51.5, -0.125))),
                  "0 scan -0.125 51.5", "NIKON COOLPIX"},
        PhotoCase{"NoGpsEntries", "/p/IMG_0042.jpg", ExifJpeg(ExifTiff(ExifSpec{})),
                  "0 skip: IMG_0042.jpg: no position in its EXIF"},
        PhotoCase{"ZeroZeroIsNoPosition", "/p/nofix.jpg", ExifJpeg(ExifTiff(At(0.0, 0.0))),
                  "0 skip: nofix.jpg: no position in its EXIF"},
        PhotoCase{"MissingReferences", "/p/noref.jpg",
                  ExifJpeg(ExifTiff(Without(At(35.0, 139.0), true, false))),
                  "0 skip: noref.jpg: no position in its EXIF"},
        PhotoCase{"ZeroDenominator", "/p/zero.jpg",
                  ExifJpeg(ExifTiff(Without(At(35.0, 139.0), false, true))),
                  "0 skip: zero.jpg: no position in its EXIF"},
        PhotoCase{"NoExifSegment", "/p/plain.jpg", ExifJpeg(""), "0 skip: plain.jpg: no EXIF"},
        PhotoCase{"NotAnImage", "/p/notes.jpg", "Shopping list\n",
                  "0 skip: notes.jpg: no JPEG or TIFF image"},
        PhotoCase{"EmptyFile", "/p/empty.jpg", "", "0 skip: empty.jpg: no JPEG or TIFF image"},
        PhotoCase{"CutInItsSegments", "/p/cut.jpg", ExifJpeg(ExifTiff(Described())).substr(0, 40),
                  "0 skip: cut.jpg: no EXIF"},
        PhotoCase{"ExifWithoutTiff", "/p/bad.jpg", ExifJpeg("XX*\0junkjunk"),
                  "0 skip: bad.jpg: its EXIF is no TIFF structure"}),
    [](const auto& info) { return std::string(info.param.name); });

// A directory whose offset points back at itself, or past the data, gives
// no position and reads nothing beyond the photo.
TEST(PhotoReader, DamagedOffsetsGiveNoPosition) {
  std::string tiff = ExifTiff(At(35.0, 139.0));
  // IFD0's GPS pointer (its last entry's value) aimed far past the end.
  tiff.replace(8 + 2 + 12 * 0 + 8, 4, std::string("\xFF\xFF\xFF\x7F", 4));
  testing::MemorySource source(ExifJpeg(tiff));
  PhotoReader reader(source, "a.jpg");
  EXPECT_EQ(testing::ReadAll(reader),
            std::vector<std::string>{"0 skip: a.jpg: no position in its EXIF"});
}

// A folder: its photos in name order, each named when it has no position;
// other files and folders counted, never opened.
TEST(PhotoReader, ReadsAFolderInNameOrder) {
  MemoryFileSystem files;
  files.AddFile("/trip/IMG_0002.jpg", ExifJpeg(ExifTiff(At(35.2, 139.2))));
  files.AddFile("/trip/IMG_0001.JPG", ExifJpeg(ExifTiff(At(35.1, 139.1))));
  files.AddFile("/trip/IMG_0003.jpg", ExifJpeg(""));
  files.AddFile("/trip/notes.txt", "hello");
  files.AddFile("/trip/raw/IMG_0004.jpg", ExifJpeg(ExifTiff(At(35.4, 139.4))));
  files.FaultsOf("/trip/notes.txt").open = std::errc::permission_denied;
  PhotoReader reader(files, "/trip/");
  EXPECT_EQ(testing::ReadAll(reader), (std::vector<std::string>{
                                          "0 IMG_0001 139.1 35.1",
                                          "0 IMG_0002 139.2 35.2",
                                          "0 skip: IMG_0003.jpg: no EXIF",
                                      }));
  EXPECT_EQ(reader.ignored()[IgnoredKind::kOtherFile], 2);
}

TEST(PhotoReader, APhotoThatCannotBeOpenedIsNamed) {
  MemoryFileSystem files;
  files.AddFile("/trip/a.jpg", ExifJpeg(ExifTiff(At(35.1, 139.1))));
  files.FaultsOf("/trip/a.jpg").open = std::errc::permission_denied;
  PhotoReader reader(files, "/trip");
  const std::vector<std::string> entries = testing::ReadAll(reader);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries[0].starts_with("0 skip: a.jpg: cannot be opened: ")) << entries[0];
}

TEST(PhotoReader, AFolderThatIsNoneFails) {
  MemoryFileSystem files;
  PhotoReader reader(files, "/nowhere");
  EXPECT_EQ(testing::ReadAll(reader),
            std::vector<std::string>{"0 failed: the folder cannot be read"});
}

// The image data after the segments is never read: a read of it fails.
TEST(PhotoReader, NeverReadsTheImageData) {
  const std::string jpeg = ExifJpeg(ExifTiff(Described()), 1 << 20);
  testing::MemorySource source(jpeg);
  source.FailAfter(jpeg.size() - (1 << 20));
  PhotoReader reader(source, "big.jpg");
  EXPECT_EQ(testing::ReadAll(reader), std::vector<std::string>{"0 Tokyo Tower 139.7454 35.6586"});
}

}  // namespace
}  // namespace velorin
