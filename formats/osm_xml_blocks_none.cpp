#include "formats/osm_blocks.h"

namespace velorin {

namespace {

class NoXml final : public OsmBlocks {
 public:
  NoXml() { Fail(0, "OSM XML is not read by this build (it reads .osm.pbf)"); }
  bool Next(osmium::memory::Buffer&) override { return false; }
};

}  // namespace

std::unique_ptr<OsmBlocks> XmlOsmBlocks(ByteSource&, osmium::osm_entity_bits::type) {
  return std::make_unique<NoXml>();
}

}  // namespace velorin
