#include <deque>
#include <osmium/io/detail/pbf_decoder.hpp>
#include <protozero/pbf_message.hpp>
#include <vector>

#include "formats/osm_blocks.h"

namespace velorin {

namespace {

/// Reads exactly `count` bytes; false at the end or on a failure.
bool ReadExactly(ByteSource& source, char* into, std::size_t count, bool& atEnd) {
  std::size_t got = 0;
  while (got < count) {
    const std::ptrdiff_t n = source.Read(into + got, count - got);
    if (n <= 0) {
      atEnd = n == 0 && got == 0;
      return false;
    }
    got += static_cast<std::size_t>(n);
  }
  return true;
}

struct BlobHeader {
  std::string type;
  std::size_t size = 0;
};

BlobHeader DecodeBlobHeader(const std::string& bytes) {
  BlobHeader header;
  protozero::pbf_message<osmium::io::detail::FileFormat::BlobHeader> message{bytes};
  while (message.next()) {
    switch (message.tag_and_type()) {
      case protozero::tag_and_type(osmium::io::detail::FileFormat::BlobHeader::required_string_type,
                                   protozero::pbf_wire_type::length_delimited):
        header.type = message.get_string();
        break;
      case protozero::tag_and_type(
          osmium::io::detail::FileFormat::BlobHeader::required_int32_datasize,
          protozero::pbf_wire_type::varint): {
        const std::int32_t size = message.get_int32();
        header.size = size > 0 ? static_cast<std::size_t>(size) : 0;
        break;
      }
      default:
        message.skip();
    }
  }
  return header;
}

class PbfFile final : public OsmBlocks {
 public:
  PbfFile(ByteSource& source, osmium::osm_entity_bits::type kinds)
      : source_(source), kinds_(kinds) {}

  bool Next(osmium::memory::Buffer& block) override {
    if (failure()) return false;
    if (!parts_.empty()) {
      block = std::move(parts_.front());
      parts_.pop_front();
      return true;
    }
    try {
      return NextBlob(block);
    } catch (const std::exception& error) {
      Fail(0, std::string("not a PBF file that can be read: ") + error.what());
      return false;
    }
  }

 private:
  bool NextBlob(osmium::memory::Buffer& block) {
    for (;;) {
      BlobHeader header;
      if (!ReadHeader(header)) return false;
      blob_.resize(header.size);
      bool atEnd = false;
      if (!ReadExactly(source_, blob_.data(), blob_.size(), atEnd)) return Broken("a block");
      if (header.type == "OSMHeader") {
        // Refuses the features this reader lacks (a history file's).
        osmium::io::detail::decode_header(blob_);
        continue;
      }
      if (header.type != "OSMData") continue;
      const protozero::data_view data = osmium::io::detail::decode_blob(blob_, unpacked_);
      osmium::io::detail::PBFPrimitiveBlockDecoder decode{data, kinds_, osmium::io::read_meta::no};
      block = decode();
      // A decoded block that outgrew its buffer holds the objects before in
      // buffers nested in it, the earliest deepest: they come first.
      while (block.has_nested_buffers()) parts_.push_back(std::move(*block.get_last_nested()));
      if (parts_.empty()) return true;
      parts_.push_back(std::move(block));
      block = std::move(parts_.front());
      parts_.pop_front();
      return true;
    }
  }

  bool ReadHeader(BlobHeader& header) {
    char size[4];
    bool atEnd = false;
    if (!ReadExactly(source_, size, 4, atEnd))
      return atEnd && !source_.error() ? false : Broken("a block");
    const auto* b = reinterpret_cast<const unsigned char*>(size);
    const std::uint32_t length = (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) |
                                 (std::uint32_t{b[2]} << 8) | b[3];
    if (length == 0 || length > osmium::io::detail::max_blob_header_size) {
      Fail(0, "not a PBF file that can be read: a block header of " + std::to_string(length) +
                  " bytes");
      return false;
    }
    std::string bytes(length, '\0');
    if (!ReadExactly(source_, bytes.data(), bytes.size(), atEnd)) return Broken("a block header");
    header = DecodeBlobHeader(bytes);
    if (header.size == 0 || header.size > osmium::io::detail::max_uncompressed_blob_size) {
      Fail(0,
           "not a PBF file that can be read: a block of " + std::to_string(header.size) + " bytes");
      return false;
    }
    return true;
  }

  bool Broken(std::string_view what) {
    if (source_.error()) {
      Fail(0, ReadErrorText(source_.error()));
    } else {
      Fail(0, "the PBF file ends within " + std::string(what));
    }
    return false;
  }

  ByteSource& source_;
  osmium::osm_entity_bits::type kinds_;
  std::string blob_;
  std::string unpacked_;
  std::deque<osmium::memory::Buffer> parts_;  ///< of a block, still to come
};

}  // namespace

std::unique_ptr<OsmBlocks> PbfBlocks(ByteSource& source, osmium::osm_entity_bits::type kinds) {
  return std::make_unique<PbfFile>(source, kinds);
}

bool StartsOsmPbf(std::string_view head) {
  // A block header is short: its length's first two bytes are zero, and it
  // begins with the type's field (1, length-delimited) naming OSMHeader.
  return head.size() >= 15 && head[0] == '\0' && head[1] == '\0' && head[4] == '\x0A' &&
         head[5] == '\x09' && head.substr(6, 9) == "OSMHeader";
}

}  // namespace velorin
