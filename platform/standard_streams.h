#pragma once
// Reading files and standard input so that Ctrl-C can end a wait for input
// that may never come (a quiet pipe or terminal), and writing standard
// output. One sibling file per system.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/byte_stream.h"

namespace velorin {

/// Opens `path` for reading, or standard input when `path` is empty. Every
/// byte read is added to `count`; `size` is set for a regular file. A folder
/// is refused with is_a_directory. A read cut short by an interrupt
/// (platform/interrupt.h) fails with operation_canceled.
std::unique_ptr<ByteSource> OpenInterruptibleSource(const std::string& path, std::uint64_t& count,
                                                    std::optional<std::uint64_t>& size,
                                                    std::error_code& ec);

/// Standard output, written byte for byte; Close() only reports, the stream
/// stays open.
std::unique_ptr<ByteSink> StandardOutputBytes();

/// True when standard output is a Windows console, which shows text only as
/// the characters it is given; never on Linux, where a terminal takes bytes.
bool StandardOutputIsConsole();

/// Writes UTF-8 `text` to that console as the characters it stands for;
/// false, with `error` set, when that failed.
bool WriteConsoleCharacters(std::string_view text, std::error_code& error);

/// The standard streams carry bytes as they are: no CR LF translation, which
/// Windows' C runtime does unless told otherwise. Nothing to do on Linux.
void UseBinaryStandardStreams();

}  // namespace velorin
