#include "text/cp932_encoder.h"
#include "text/iconv_converter.h"

namespace velorin {

struct Cp932Converter::State {
  IconvConverter converter{"CP932", "UTF-8"};
};

Cp932Converter::Cp932Converter() : state_(std::make_unique<State>()) {}
Cp932Converter::~Cp932Converter() = default;

std::size_t Cp932Converter::Convert(std::string_view in, std::string& out) {
  IconvConverter& converter = state_->converter;
  if (!converter.valid()) return 0;
  std::string_view rest = in;
  converter.Convert(rest, out);
  converter.Reset();
  return in.size() - rest.size();
}

}  // namespace velorin
