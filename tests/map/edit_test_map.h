#pragma once
// Editable maps of small files held in memory, for the tests of the map's
// editing.
#include <memory>
#include <string>

#include "map/editable_map.h"
#include "platform/memory_file_system.h"

namespace velorin::testutil {

/// Six CSV entries: two points, a west longitude and an untitled one (both
/// skipped for NVI), one that cannot be read, and a third point.
inline constexpr const char* kSixEntries =
    "name,lat,lon\n"
    "Tokyo Tower,35.658581,139.745433\n"
    "Osaka Castle,34.6873,135.5259\n"
    "Big Ben,51.500729,-0.124625\n"
    ",34.70,135.50\n"
    "Nowhere,north,139\n"
    "Kyoto,35.0116,135.7681\n";

/// The map of `text`, written to /m/`name` in `files`, read as the window
/// reads it (for NVI, untitled points skipped unless `untitled` keeps them).
inline std::unique_ptr<EditableMap> MapOf(MemoryFileSystem& files, const std::string& name,
                                          const std::string& text,
                                          UntitledRule untitled = UntitledRule::kSkip) {
  files.AddFolder("/m");
  files.AddFile("/m/" + name, text);
  MapReadOptions options;
  options.output = PointFormat::kNvi;
  options.untitled = untitled;
  return ReadEditableMap(files, "/m/" + name, options);
}

}  // namespace velorin::testutil
