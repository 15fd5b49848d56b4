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

std::string PlainMenuWord(std::string_view word) {
  std::string plain(word);
  // "保存(&S)" loses its key in brackets, "&Save" its mark.
  const std::size_t bracket = plain.find("(&");
  if (bracket != std::string::npos && plain.find(')', bracket) == bracket + 3)
    plain.erase(bracket, 4);
  std::erase(plain, '&');
  if (plain.ends_with("...")) plain.resize(plain.size() - 3);
  const std::size_t first = plain.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return plain.substr(first, plain.find_last_not_of(' ') - first + 1);
}

}  // namespace velorin
