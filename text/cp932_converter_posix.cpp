#include <iconv.h>

#include <cerrno>

#include "text/cp932_converter.h"

namespace velorin {

namespace {

/// Room that any one character needs in CP932 beyond its UTF-8 length (none
/// in glibc's table: every character it writes is as short as its UTF-8).
constexpr std::size_t kSlack = 8;

}  // namespace

struct Cp932Converter::State {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  bool open() const { return cd != reinterpret_cast<iconv_t>(-1); }
  ~State() {
    if (open()) iconv_close(cd);
  }
};

Cp932Converter::Cp932Converter() : state_(std::make_unique<State>()) {}
Cp932Converter::~Cp932Converter() = default;

std::size_t Cp932Converter::Convert(std::string_view in, std::string& out) {
  if (!state_->open()) return 0;
  std::size_t taken = 0;
  for (;;) {
    const std::size_t base = out.size();
    const std::size_t room = in.size() - taken + kSlack;
    out.resize(base + room);
    char* input = const_cast<char*>(in.data() + taken);
    std::size_t inputLeft = in.size() - taken;
    char* output = out.data() + base;
    std::size_t outputLeft = room;
    const std::size_t result = iconv(state_->cd, &input, &inputLeft, &output, &outputLeft);
    const int error = errno;
    out.resize(base + room - outputLeft);
    const std::size_t before = taken;
    taken = in.size() - inputLeft;
    if (result != static_cast<std::size_t>(-1) || error != E2BIG || taken == before) break;
  }
  iconv(state_->cd, nullptr, nullptr, nullptr, nullptr);
  return taken;
}

}  // namespace velorin
