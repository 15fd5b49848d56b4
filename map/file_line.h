#pragma once
// One line of a point file, for showing where a skipped point stands: read
// through the file system the file was read through, in the encoding its
// reading chose, and handed on as UTF-8.
#include <cstdint>
#include <string>

#include "map/map_read.h"
#include "platform/file_system.h"
#include "text/text_encoding.h"

namespace velorin {

/// Line `number` (from 1) of the file at `path` of `files`, turned from
/// `encoding` into UTF-8 and cut after at most `maxBytes` bytes on a
/// character's edge; empty when the file or the line is not there.
std::string ReadFileLine(FileSystem& files, const std::string& path, std::int64_t number,
                         TextEncoding encoding, std::size_t maxBytes);

/// The encoding of the lines of the file `read` read: the one its reading
/// chose for a format whose encoding is chosen (POT, CSV), UTF-8 for the
/// others (XML and JSON texts).
TextEncoding LineEncodingOf(const MapReadResult& read);

}  // namespace velorin
