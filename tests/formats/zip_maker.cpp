#include "formats/zip_maker.h"

#include <zlib.h>

#include <stdexcept>

namespace velorin::testing {

namespace {

std::string Deflated(const std::string& bytes) {
  z_stream z{};
  if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  std::string packed(deflateBound(&z, static_cast<uLong>(bytes.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = static_cast<uInt>(bytes.size());
  z.next_out = reinterpret_cast<Bytef*>(packed.data());
  z.avail_out = static_cast<uInt>(packed.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  packed.resize(z.total_out);
  deflateEnd(&z);
  return packed;
}

std::uint32_t UnixMode(ZipMember::Kind kind) {
  switch (kind) {
    case ZipMember::Kind::kLink:
      return 0120777;
    case ZipMember::Kind::kFolder:
      return 0040755;
    case ZipMember::Kind::kFile:
      break;
  }
  return 0100644;
}

void Append16(std::string& bytes, std::uint16_t value) {
  bytes += static_cast<char>(value & 0xFF);
  bytes += static_cast<char>(value >> 8);
}

void Append32(std::string& bytes, std::uint32_t value) {
  Append16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
  Append16(bytes, static_cast<std::uint16_t>(value >> 16));
}

/// The fields local and central headers share, from "version needed" on.
void AppendCommon(std::string& bytes, const ZipMember& member, std::uint32_t crc,
                  std::size_t packedSize) {
  Append16(bytes, 20);
  Append16(bytes, member.flags);
  Append16(bytes, member.deflate ? 8 : 0);
  Append16(bytes, 0);     // time
  Append16(bytes, 0x21);  // 1980-01-01
  Append32(bytes, crc);
  Append32(bytes, static_cast<std::uint32_t>(packedSize));
  Append32(bytes, static_cast<std::uint32_t>(member.bytes.size()));
  Append16(bytes, static_cast<std::uint16_t>(member.name.size()));
  Append16(bytes, 0);  // extra field
}

}  // namespace

void Put16(std::string& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
  Put16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
  Put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

ZipLayout MakeZipLayout(const std::vector<ZipMember>& members) {
  ZipLayout layout;
  std::string central;
  for (const ZipMember& member : members) {
    const std::string packed = member.deflate ? Deflated(member.bytes) : member.bytes;
    const auto crc =
        static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(member.bytes.data()),
                                         static_cast<uInt>(member.bytes.size())));
    const std::size_t local = layout.bytes.size();
    layout.localHeaders.push_back(local);
    layout.bytes += "PK\x03\x04";
    AppendCommon(layout.bytes, member, crc, packed.size());
    layout.bytes += member.name + packed;

    layout.centralHeaders.push_back(central.size());
    central += "PK\x01\x02";
    Append16(central, 3 << 8 | 20);  // made on Unix
    AppendCommon(central, member, crc, packed.size());
    Append16(central, 0);  // comment
    Append16(central, 0);  // disk
    Append16(central, 0);  // internal attributes
    Append32(central, UnixMode(member.kind) << 16);
    Append32(central, static_cast<std::uint32_t>(local));
    central += member.name;
  }
  const std::size_t directoryStart = layout.bytes.size();
  for (std::size_t& at : layout.centralHeaders) at += directoryStart;
  layout.bytes += central;
  layout.endRecord = layout.bytes.size();
  layout.bytes += "PK\x05\x06";
  Append32(layout.bytes, 0);  // disks
  Append16(layout.bytes, static_cast<std::uint16_t>(members.size()));
  Append16(layout.bytes, static_cast<std::uint16_t>(members.size()));
  Append32(layout.bytes, static_cast<std::uint32_t>(central.size()));
  Append32(layout.bytes, static_cast<std::uint32_t>(directoryStart));
  Append16(layout.bytes, 0);  // comment
  return layout;
}

}  // namespace velorin::testing
