#pragma once
// What the tests need to know about the system they run on, and the few
// things each system does its own way: the time zone, a device that is always
// full, symbolic links.
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velorin::testutil {

/// Windows compares file names without regard to case; Linux exactly.
#ifdef _WIN32
inline constexpr bool kNamesIgnoreCase = true;
#else
inline constexpr bool kNamesIgnoreCase = false;
#endif

/// A library that every system of its kind has, and a function in it.
#ifdef _WIN32
inline constexpr const char* kSystemLibrary = "kernel32.dll";
inline constexpr const char* kSystemLibraryFunction = "GetTickCount";
#else
inline constexpr const char* kSystemLibrary = "libc.so.6";
inline constexpr const char* kSystemLibraryFunction = "strlen";
#endif

/// True when the tests of the Windows build run under Wine on Linux.
inline bool RunningUnderWine() {
#ifdef _WIN32
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

/// A device on which every write fails for want of space: /dev/full on
/// Linux, also under Wine (through its prefix for Unix paths); none on
/// Windows itself.
inline std::optional<std::string> FullDevicePath() {
#ifdef _WIN32
  if (RunningUnderWine()) return std::string("\\\\?\\unix\\dev\\full");
  return std::nullopt;
#else
  std::error_code ec;
  if (!std::filesystem::exists("/dev/full", ec)) return std::nullopt;
  return std::string("/dev/full");
#endif
}

/// Makes `link` a symbolic link to `target`. False where the system cannot:
/// Windows without the privilege, and Wine, which reports success and makes
/// nothing.
inline bool MakeSymbolicLink(const std::filesystem::path& target,
                             const std::filesystem::path& link) {
  std::error_code ec;
  std::filesystem::create_symlink(target, link, ec);
  return !ec && std::filesystem::is_symlink(link, ec);
}

/// Sets the TZ variable (or removes it for nullptr) and has the C library
/// read it again.
inline void SetTimeZoneVariable(const char* zone) {
#ifdef _WIN32
  _putenv_s("TZ", zone != nullptr ? zone : "");
  _tzset();
#else
  if (zone != nullptr) {
    setenv("TZ", zone, 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
#endif
}

}  // namespace velorin::testutil
