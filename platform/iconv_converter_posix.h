#pragma once
// POSIX only: iconv opened once for one pair of encodings, so that one
// converter serves many texts (opening one costs far more than converting a
// title). Windows converts with its own code page calls (code_page_win32.h).
#include <string>
#include <string_view>

namespace velorin {

class IconvConverter {
 public:
  /// `to` and `from` are iconv's names of the encodings ("CP932", "UTF-8").
  IconvConverter(const char* to, const char* from);
  ~IconvConverter();
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  /// False when the system has no such conversion (its tables are missing).
  bool valid() const;
  /// Back to the initial state after a conversion stopped half way.
  void Reset();

  enum class Stop { kDone, kInvalid, kIncomplete, kOther };

  /// Converts as much of `in` as possible, appending to `out`; advances `in`
  /// past what it took. kDone when all of it was converted; else why it
  /// stopped: a sequence it cannot convert, or one cut off at the end.
  Stop Convert(std::string_view& in, std::string& out);

 private:
  void* cd_;  ///< the iconv_t
};

}  // namespace velorin
