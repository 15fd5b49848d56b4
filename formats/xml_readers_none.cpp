#include "formats/xml_readers.h"

namespace velorin {

PointReaderFactory GpxReaderFactory() { return nullptr; }
PointReaderFactory KmlReaderFactory() { return nullptr; }
PointReaderFactory KmzReaderFactory() { return nullptr; }

}  // namespace velorin
