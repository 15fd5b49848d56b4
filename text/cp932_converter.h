#pragma once
// The system's own CP932 table, from UTF-8 and strictly: no best fit, no
// stand-in character. iconv on Linux, WideCharToMultiByte on Windows; both
// give the same bytes for every character they take, and refuse the same.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace velorin {

class Cp932Converter {
 public:
  Cp932Converter();
  ~Cp932Converter();
  Cp932Converter(const Cp932Converter&) = delete;
  Cp932Converter& operator=(const Cp932Converter&) = delete;

  /// Converts the start of `in` (valid UTF-8) onto `out` as far as the
  /// table holds its characters; returns the bytes of `in` it took. It stops
  /// short of the end only at a character that the table lacks (at every
  /// character when the system has no CP932 table).
  std::size_t Convert(std::string_view in, std::string& out);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace velorin
