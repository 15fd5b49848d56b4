#include "map/tile_server.h"

namespace velorin {
namespace {

bool HasAllPlaceholders(const std::string& url) {
  for (const char* placeholder : {"{z}", "{x}", "{y}"}) {
    if (url.find(placeholder) == std::string::npos) return false;
  }
  return true;
}

// The attribution a server asks for, told by its host. Most other z/x/y
// servers draw OpenStreetMap's data, which asks for its credit.
std::string KnownAttribution(const std::string& url) {
  if (url.find("cyberjapandata.gsi.go.jp/") != std::string::npos) return kGsiAttribution;
  return kOpenStreetMapAttribution;
}

}  // namespace

TileServer ChooseTileServer(const std::string& settingsUrl, const std::string& settingsAttribution,
                            const char* variable) {
  const bool fromVariable = variable != nullptr && *variable != '\0';
  std::string url = fromVariable ? std::string(variable) : settingsUrl;
  if (url.empty()) url = kOpenStreetMapTiles;
  if (url == kNoTiles || !HasAllPlaceholders(url)) return TileServer{};
  // A one-off server from the variable is not the one the settings credit.
  std::string attribution = fromVariable ? std::string() : settingsAttribution;
  if (attribution.empty()) attribution = KnownAttribution(url);
  return TileServer{url, attribution};
}

}  // namespace velorin
