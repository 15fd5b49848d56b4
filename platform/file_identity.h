#pragma once
// Whether two paths name one file: now, or once the file is written. Output,
// log and input are compared by what they will be, so that one never
// overwrites another through a link, a "./" or a file not yet created.
#include <string>
#include <system_error>

namespace velorin {

/// `path` with every symbolic link along the final component followed to its
/// target (a link to a link too). The path itself when it is no link or does
/// not exist; ec set (and the path returned) when the links loop.
std::string FollowLinks(const std::string& path, std::error_code& ec);

/// True when `a` and `b` name the same file: both exist and are one file
/// (a hard link, "./a.pot" and "a.pot"), or, links followed, they lie in the
/// same folder (by identity) under the same name, existing or not. Names
/// compare as the file system does: exactly on Linux.
bool NameSameFile(const std::string& a, const std::string& b);

}  // namespace velorin
