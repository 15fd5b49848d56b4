#include "map/tile_settings.h"

#include <cstdlib>
#include <optional>

#include "map/map_window_settings.h"

namespace velorin {
namespace {

constexpr std::string_view kTilesSection = "tiles";

std::string Unquoted(std::string_view value) {
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') {
    // A comment may follow an unquoted value.
    const std::size_t comment = value.find(';');
    value = value.substr(0, comment);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    return std::string(value);
  }
  std::string text;
  value = value.substr(1, value.size() - 2);
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      text += value[i];
      continue;
    }
    switch (const char next = value[++i]) {
      case 'n':
        text += '\n';
        break;
      case 'r':
        text += '\r';
        break;
      case 't':
        text += '\t';
        break;
      default:
        text += next;
    }
  }
  return text;
}

}  // namespace

std::string TileSettingIn(std::string_view settings, std::string_view key) {
  const std::optional<std::string> value = SectionEntryIn(settings, kTilesSection, key);
  return value ? Unquoted(*value) : std::string();
}

TileServer TileServerOfSettings(std::string_view settings, const char* variable) {
  TileServer server = ChooseTileServer(TileSettingIn(settings, "url"),
                                       TileSettingIn(settings, "attribution"), variable);
  if (server.Enabled()) server.contact = TileSettingIn(settings, "contact");
  return server;
}

TileServer TileServerFromSettings(FileSystem& files, const std::string& path) {
  const std::string settings = ReadMapSettings(files, path).value_or(std::string());
  return TileServerOfSettings(settings, std::getenv(kTileUrlVariable));
}

}  // namespace velorin
