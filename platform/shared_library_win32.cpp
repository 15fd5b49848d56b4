#include <windows.h>

#include "platform/shared_library.h"
#include "platform/system_error_win32.h"
#include "platform/wide_text_win32.h"

namespace velorin {

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& name, std::string& error) {
  // The system's folders only, never the working folder (a planted DLL).
  const HMODULE handle =
      LoadLibraryExW(Widen(name).c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  if (handle == nullptr) {
    error = "cannot load " + name + ": " + LastWin32Error().message();
    return nullptr;
  }
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void* SharedLibrary::Find(const char* symbol) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), symbol));
}

}  // namespace velorin
