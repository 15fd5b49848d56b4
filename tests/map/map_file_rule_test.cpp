// When File > Map may open the input: an ordinary file that can be read and
// whose format its extension or its first bytes tell, as the run would see
// it through the same file system.
#include "map/map_file_rule.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/memory_file_system.h"

namespace velorin {
namespace {

TEST(MapFileRule, ReadableFilesOfAKnownFormatOnly) {
  MemoryFileSystem files;
  files.AddFile("/d/trip.gpx", "<gpx/>");
  files.AddFile("/d/empty.pot", "");
  files.AddFile("/d/points", "<?xml version=\"1.0\"?><gpx></gpx>");
  files.AddFile("/d/notes", "nothing a format names");
  files.AddFile("/d/locked.kml", "<kml/>");
  files.FaultsOf("/d/locked.kml").open = std::errc::permission_denied;
  files.AddFolder("/d/folder.gpx");
  files.AddFolder("/d/trip-photos");
  files.AddLink("/d/link.gpx", "/d/trip.gpx");
  const struct {
    const char* path;
    bool mappable;
  } cases[] = {
      {"/d/trip.gpx", true},     // by its extension
      {"/d/empty.pot", true},    // an empty file of a known kind shows an empty map
      {"/d/points", true},       // by its first bytes
      {"/d/link.gpx", true},     // links followed
      {"/d/notes", false},       // neither tells a format
      {"/d/locked.kml", false},  // cannot be read
      {"/d/folder.gpx", false},  // no ordinary file, and GPX reads none
      {"/d/trip-photos", true},  // a folder is read as its photos
      {"/d/missing.gpx", false}, {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsReadablePointFile(files, c.path), c.mappable) << c.path;
}

}  // namespace
}  // namespace velorin
