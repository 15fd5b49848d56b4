#pragma once
// Whether two paths name one file: now, or once the file is written. Output,
// log and input are compared by what they will be, so that one never
// overwrites another through a link, a "./" or a file not yet created.
#include <optional>
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
/// compare as the file system does: exactly on Linux, without regard to case
/// on Windows (where two texts that differ only in case always clash).
bool NameSameFile(const std::string& a, const std::string& b);

/// True when the files `a` and `b` name lie in one folder (by identity),
/// each where its own path puts it: links along the final components are
/// not followed.
bool LieInOneFolder(const std::string& a, const std::string& b);

/// A text that is the same for two paths exactly when they name one existing
/// file (its device and index there, links followed); nothing when `path`
/// names no file. For telling many paths apart at once, where comparing
/// every pair with NameSameFile would take too long.
std::optional<std::string> FileIdentityKey(const std::string& path);

/// The standard streams, compared with files by what they are connected to.
enum class StandardStream { kInput, kOutput };

/// True when `stream` is connected to the regular file that `path` names
/// ("convert - x.nvi < x.nvi"). A pipe or terminal is never such a file.
bool StreamIsFile(StandardStream stream, const std::string& path);

/// True when standard input and standard output are one regular file.
bool StreamsAreOneFile();

}  // namespace velorin
