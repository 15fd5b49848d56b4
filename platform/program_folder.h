#pragma once
// The folder of the running program, where its own files lie beside it (a
// build tree, an unpacked copy), and the separator of folders in this
// system's paths. One sibling file per system.
#include <string>

namespace velorin {

/// The separator of folders in this system's paths: '/' on Linux, '\' on
/// Windows.
char FolderSeparator();

/// `folder` ending with the separator; one that ends with it already (a
/// root such as "/" or "C:\") is left as it is.
std::string FolderWithSeparator(std::string folder);

/// The folder of the running executable, links followed, ending with the
/// separator; the working folder ("./" or ".\") when the system cannot say.
std::string ProgramFolder();

}  // namespace velorin
