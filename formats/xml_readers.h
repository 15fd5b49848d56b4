#pragma once
// The readers of the XML formats: GPX and KML through expat, KMZ through
// libarchive as well. A build without those libraries (the Windows build:
// Debian has neither for MinGW-w64) has none of them, and the format table
// then lists GPX and KML as written only and KMZ as neither. CMake chooses
// the sibling file.
#include <memory>

#include "formats/point_reader.h"
#include "platform/byte_stream.h"

namespace velorin {

using PointReaderFactory = std::unique_ptr<PointReader> (*)(ByteSource& source,
                                                            const ReaderOptions& options);

/// nullptr when this build reads no such files.
PointReaderFactory GpxReaderFactory();
PointReaderFactory KmlReaderFactory();
PointReaderFactory KmzReaderFactory();

}  // namespace velorin
