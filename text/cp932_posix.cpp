#include "text/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace velorin {

namespace {

// glibc's name for Microsoft's table. "SHIFT_JIS" is a different mapping
// (81 60 would become U+301C, 5C a yen sign).
constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf8 = "UTF-8";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  /// Back to the initial state after a conversion stopped half way.
  void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

  enum class Stop { kDone, kInvalid, kIncomplete, kOther };

  /// Converts as much of `in` as possible, appending to `out`; advances `in`.
  Stop Convert(std::string_view& in, std::string& out) {
    char buffer[4096];
    for (;;) {
      char* input = const_cast<char*>(in.data());
      std::size_t inputLeft = in.size();
      char* output = buffer;
      std::size_t outputLeft = sizeof buffer;
      const std::size_t result =
          iconv(cd_, in.empty() ? nullptr : &input, &inputLeft, &output, &outputLeft);
      const int error = errno;
      out.append(buffer, static_cast<std::size_t>(output - buffer));
      if (!in.empty()) in.remove_prefix(in.size() - inputLeft);
      if (result != static_cast<std::size_t>(-1)) {
        if (in.empty()) return Stop::kDone;
        continue;
      }
      switch (error) {
        case E2BIG:
          continue;
        case EILSEQ:
          return Stop::kInvalid;
        case EINVAL:
          return Stop::kIncomplete;
        default:
          return Stop::kOther;
      }
    }
  }

 private:
  iconv_t cd_;
};

}  // namespace

struct Cp932Decoder::State {
  Converter converter{kUtf8, kCp932};
};

Cp932Decoder::Cp932Decoder() : state_(std::make_unique<State>()) {}
Cp932Decoder::~Cp932Decoder() = default;

void Cp932Decoder::Decode(std::string_view cp932, std::string& utf8) {
  utf8.clear();
  Converter& converter = state_->converter;
  if (!converter.valid()) {
    // No CP932 tables installed: keep what is plainly ASCII readable.
    for (const char c : cp932) {
      if (static_cast<unsigned char>(c) < 0x80) {
        utf8 += c;
      } else {
        utf8 += kReplacement;
      }
    }
    return;
  }
  utf8.reserve(cp932.size() + cp932.size() / 2);
  while (!cp932.empty()) {
    if (converter.Convert(cp932, utf8) == Converter::Stop::kDone) break;
    // An invalid or cut-off sequence: mark it and go on after its first byte.
    utf8 += kReplacement;
    if (!cp932.empty()) cp932.remove_prefix(1);
    converter.Reset();
  }
}

std::string Cp932ToUtf8(std::string_view cp932) {
  std::string utf8;
  Cp932Decoder().Decode(cp932, utf8);
  return utf8;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  Converter converter(kCp932, kUtf8);
  if (!converter.valid()) return std::nullopt;
  std::string cp932;
  cp932.reserve(utf8.size());
  if (converter.Convert(utf8, cp932) != Converter::Stop::kDone) return std::nullopt;
  return cp932;
}

}  // namespace velorin
