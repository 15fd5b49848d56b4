#pragma once
// Reading files and standard input so that Ctrl-C can end a wait for input
// that may never come (a quiet pipe or terminal), and writing standard
// output. One sibling file per system.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "platform/byte_stream.h"

namespace velorin {

/// Opens `path` for reading, or standard input when `path` is empty. Every
/// byte read is added to `count`; `size` is set for a regular file. A folder
/// is refused with is_a_directory. A read cut short by an interrupt fails
/// with operation_canceled.
std::unique_ptr<ByteSource> OpenInterruptibleSource(const std::string& path, std::uint64_t& count,
                                                    std::optional<std::uint64_t>& size,
                                                    std::error_code& ec);

/// Standard output, written byte for byte; Close() only reports, the stream
/// stays open.
std::unique_ptr<ByteSink> StandardOutputSink();

}  // namespace velorin
