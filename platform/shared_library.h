#pragma once
// A shared library opened when it is first needed, not when the program
// starts: for a dependency that only some runs use, whose loading would
// otherwise cost every run memory and start-up time.
#include <memory>
#include <string>

namespace velorin {

class SharedLibrary {
 public:
  /// Opens the library `name` (a file name the system's loader searches,
  /// such as "xmllite.dll"); nothing, with the loader's words in
  /// `error`, when it cannot be loaded.
  static std::unique_ptr<SharedLibrary> Open(const std::string& name, std::string& error);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  /// The address of `symbol`, or nullptr.
  void* Find(const char* symbol) const;

 private:
  explicit SharedLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

}  // namespace velorin
