#include "map/map_messages.h"

#include "text/cp932_decoder.h"

namespace velorin {

MapMessages::MapMessages(const std::vector<std::string>& table, bool japanese)
    : japanese_(japanese) {
  texts_.reserve(table.size());
  Cp932Decoder decoder;
  for (const std::string& text : table) decoder.Decode(text, texts_.emplace_back());
}

const std::string& MapMessages::Text(int number) const {
  static const std::string kNone;
  if (number < 0 || static_cast<std::size_t>(number) >= texts_.size()) return kNone;
  return texts_[static_cast<std::size_t>(number)];
}

}  // namespace velorin
