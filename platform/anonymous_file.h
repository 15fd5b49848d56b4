#pragma once
// An anonymous temporary file: open for reading and writing, no name anyone
// else can open, and deleted once closed. For bytes that wait to be read
// again (a copy of an archive, points kept out of memory), never for an
// output.
#include <cstdio>
#include <filesystem>

namespace velorin {

/// std::tmpfile's, or one made in the system's temporary folder when that
/// fails (on Windows tmpfile makes its file in the root of the drive, where
/// a user may not write). Null when neither can be made.
std::FILE* OpenAnonymousFile();

/// An anonymous file made in `folder` under a fresh name; null when none
/// can be made there.
std::FILE* OpenAnonymousFileIn(const std::filesystem::path& folder);

/// Each system's step (anonymous_file_posix.cpp, anonymous_file_win32.cpp):
/// creates the new file `path`, open for reading and writing, that is
/// deleted once closed. Null, with errno, when it cannot.
std::FILE* CreateDeletedOnClose(const std::filesystem::path& path);

}  // namespace velorin
