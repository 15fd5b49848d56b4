#pragma once
// The readers of the XML formats: GPX and KML through an XML parser (expat,
// or XmlLite on Windows), KMZ through the zip reader on zlib as well. A build without them
// (VELORIN_XML_READERS off) has none of these readers, and the format table
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
