#include <dlfcn.h>

#include "platform/shared_library.h"

namespace velorin {

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& name, std::string& error) {
  void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* words = ::dlerror();
    error = words != nullptr ? words : "cannot load " + name;
    return nullptr;
  }
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() { ::dlclose(handle_); }

void* SharedLibrary::Find(const char* symbol) const { return ::dlsym(handle_, symbol); }

}  // namespace velorin
