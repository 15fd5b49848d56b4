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

std::string TileUserAgent(const std::string& version, const std::string& contact) {
  std::string agent = "Velorin/" + version;
  std::string kept;
  for (const char c : contact) {
    if (c >= ' ' && c <= '~' && c != '(' && c != ')' && c != '\\') kept += c;
  }
  const std::size_t first = kept.find_first_not_of(' ');
  if (first == std::string::npos) return agent;
  kept = kept.substr(first, kept.find_last_not_of(' ') - first + 1);
  return agent + " (" + kept + ")";
}

TileServer ChooseTileServer(const std::string& settingsUrl, const std::string& settingsAttribution,
                            const char* variable) {
  const bool fromVariable = variable != nullptr && *variable != '\0';
  std::string url = fromVariable ? std::string(variable) : settingsUrl;
  if (url.empty()) url = kOpenStreetMapTiles;
  if (url == kNoTiles || !HasAllPlaceholders(url)) return TileServer{};
  // A one-off server from the variable is not the one the settings credit.
  std::string attribution = fromVariable ? std::string() : settingsAttribution;
  if (attribution.empty()) attribution = KnownAttribution(url);
  return TileServer{url, attribution, {}};
}

}  // namespace velorin
