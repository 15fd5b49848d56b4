#include "platform/iconv_converter_posix.h"

#include <iconv.h>

#include <cerrno>

namespace velorin {

namespace {

iconv_t Descriptor(void* cd) { return static_cast<iconv_t>(cd); }

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

}  // namespace

IconvConverter::IconvConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}

IconvConverter::~IconvConverter() {
  if (valid()) iconv_close(Descriptor(cd_));
}

bool IconvConverter::valid() const { return Descriptor(cd_) != kNoConverter; }

void IconvConverter::Reset() { iconv(Descriptor(cd_), nullptr, nullptr, nullptr, nullptr); }

IconvConverter::Stop IconvConverter::Convert(std::string_view& in, std::string& out) {
  char buffer[4096];
  for (;;) {
    char* input = const_cast<char*>(in.data());
    std::size_t inputLeft = in.size();
    char* output = buffer;
    std::size_t outputLeft = sizeof buffer;
    const std::size_t result =
        iconv(Descriptor(cd_), in.empty() ? nullptr : &input, &inputLeft, &output, &outputLeft);
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

}  // namespace velorin
