#include "formats/gpx_reader.h"
#include "formats/kml_reader.h"
#include "formats/kmz_reader.h"
#include "formats/xml_readers.h"

namespace velorin {

namespace {

template <typename Reader>
std::unique_ptr<PointReader> MakeReader(ByteSource& source, const ReaderOptions& options) {
  return std::make_unique<Reader>(source, options);
}

}  // namespace

PointReaderFactory GpxReaderFactory() { return &MakeReader<GpxReader>; }
PointReaderFactory KmlReaderFactory() { return &MakeReader<KmlReader>; }
PointReaderFactory KmzReaderFactory() { return &MakeReader<KmzReader>; }

}  // namespace velorin
