#include "map/typed_position.h"

#include "formats/decimal_text.h"
#include "geo/coordinate.h"
#include "geo/position_code.h"

namespace velorin {
namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<double> ParseTypedAngle(std::string_view text, double most) {
  text = Trimmed(text);
  if (text.find('\'') == std::string_view::npos) {
    const std::optional<double> degrees = ParseDecimalDegrees(text);
    if (!degrees || *degrees < -most || *degrees > most) return std::nullopt;
    return degrees;
  }
  // D'M'S'T reads unsigned, as a POT line does; the sign stands before it.
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const double degrees = ParseCoordinateText(text);
  if (degrees < 0.0 || degrees > most) return std::nullopt;
  return negative ? -degrees : degrees;
}

std::optional<LonLat> ParseTypedPosition(std::string_view longitude, std::string_view latitude) {
  longitude = Trimmed(longitude);
  latitude = Trimmed(latitude);
  const std::string_view code = latitude.empty() ? longitude : longitude.empty() ? latitude : "";
  if (!code.empty() && code.front() == '$') {
    const std::optional<DecodedPosition> decoded = DecodePositionText(code);
    if (!decoded || !IsWithinNviRange(*decoded)) return std::nullopt;
    const LonLat position{decoded->x / kUnitsPerDegree, decoded->y / kUnitsPerDegree};
    if (position.latitude > 90.0) return std::nullopt;
    return position;
  }
  const std::optional<double> x = ParseTypedAngle(longitude, 180.0);
  const std::optional<double> y = ParseTypedAngle(latitude, 90.0);
  if (!x || !y) return std::nullopt;
  return LonLat{*x, *y};
}

}  // namespace velorin
