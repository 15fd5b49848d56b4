#pragma once
// Inside the OSM reader only: an OpenStreetMap file as blocks of objects in
// libosmium's buffers, read from a byte source as a stream. A PBF file's
// blocks are framed here and decoded by libosmium; an XML file is parsed by
// Velorin's XML parser and built into the same buffers, so that both
// systems read .osm alike.
#include <memory>
#include <optional>
#include <osmium/memory/buffer.hpp>
#include <osmium/osm/entity_bits.hpp>
#include <string>

#include "formats/osm_pbf_head.h"
#include "formats/point_reader.h"
#include "platform/byte_stream.h"

namespace velorin {

class OsmBlocks {
 public:
  virtual ~OsmBlocks() = default;
  /// The next block of objects of the kinds asked for; false at the end of
  /// the file and on a failure (see failure()).
  virtual bool Next(osmium::memory::Buffer& block) = 0;
  const std::optional<ReadFailure>& failure() const { return failure_; }

 protected:
  void Fail(std::int64_t line, std::string message) {
    if (!failure_) failure_ = ReadFailure{line, std::move(message)};
  }

 private:
  std::optional<ReadFailure> failure_;
};

/// The blocks of a PBF file, of the kinds in `kinds`.
std::unique_ptr<OsmBlocks> PbfBlocks(ByteSource& source, osmium::osm_entity_bits::type kinds);

/// The objects of an OSM XML file, of the kinds in `kinds`; a failure
/// saying so in a build without an XML parser.
std::unique_ptr<OsmBlocks> XmlOsmBlocks(ByteSource& source, osmium::osm_entity_bits::type kinds);

}  // namespace velorin
