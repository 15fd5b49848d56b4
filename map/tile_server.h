#pragma once
// Which raster tile server the map draws from: a URL template with {z}, {x}
// and {y}, the attribution the server asks for, or no server at all; and
// how the requests name Velorin and the user. The map's settings file
// chooses; VELORIN_TILE_URL overrides the server for one run.
#include <string>

namespace velorin {

inline constexpr char kOpenStreetMapTiles[] = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
inline constexpr char kOpenStreetMapAttribution[] = "© OpenStreetMap contributors";
inline constexpr char kGsiStandardTiles[] =
    "https://cyberjapandata.gsi.go.jp/xyz/std/{z}/{x}/{y}.png";
inline constexpr char kGsiAttribution[] = "地理院タイル";
/// The word that switches tiles off, in the settings and in the variable.
inline constexpr char kNoTiles[] = "none";
inline constexpr char kTileUrlVariable[] = "VELORIN_TILE_URL";

struct TileServer {
  std::string urlTemplate;  ///< empty: no tiles, the offline land alone
  std::string attribution;  ///< UTF-8, drawn on the map while tiles are used
  /// How the server's operators may reach the user (an e-mail address, a
  /// web page), from the settings; empty when none is given.
  std::string contact;

  bool Enabled() const { return !urlTemplate.empty(); }
};

/// Who asks for tiles, as tile usage policies want to be told: "Velorin/"
/// and `version`, then the user's contact in brackets when there is one. The
/// contact keeps only printable ASCII (no bracket, no line end), and so
/// cannot break the header.
std::string TileUserAgent(const std::string& version, const std::string& contact);

/// The server from the settings' URL and attribution (each empty when not
/// set) and the variable's value (null when unset). The variable wins over
/// the settings; an empty URL means OpenStreetMap, "none" no tiles, and a
/// template without all of {z}, {x} and {y} no tiles either. The settings'
/// attribution goes with the settings' URL; otherwise GSI's tiles get GSI's
/// credit and any other server OpenStreetMap's, whose data most of them draw.
TileServer ChooseTileServer(const std::string& settingsUrl, const std::string& settingsAttribution,
                            const char* variable);

}  // namespace velorin
