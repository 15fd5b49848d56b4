#include "formats/kmz_reader.h"

namespace velorin {

bool KmzReader::Next(ReadEntry& entry) {
  if (kml_.Next(entry)) return true;
  if (const auto& failure = kml_.failure()) {
    std::string message = failure->message;
    // Lines count within the archive's KML file: name it.
    if (failure->line > 0 && !kml_source_.memberName().empty()) {
      message = kml_source_.memberName() + ": " + message;
    }
    Fail(failure->line, std::move(message));
  }
  return false;
}

}  // namespace velorin
