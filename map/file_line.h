#pragma once
// One line of a text file, for showing where a skipped point stands.
#include <cstdint>
#include <string>

namespace velorin {

/// Line `number` (from 1) of the file at `path`, cut after `maxBytes` bytes;
/// empty when the file or the line is not there.
std::string ReadFileLine(const std::string& path, std::int64_t number, std::size_t maxBytes);

}  // namespace velorin
