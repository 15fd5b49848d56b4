// Coordinate texts: ParseCoordinateText agrees with a literal reading of its
// rules (the tests' slow model), and whatever it accepts is an angle of 0 to
// 180 degrees whose position code decodes back within half a unit, on the
// even bits as a longitude and on the odd bits as a latitude.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "geo/coordinate.h"
#include "tests/geo/literal_part_rule.h"

namespace {

using velorin::EncodeNviPosition;
using velorin::kRejectedAngle;
using velorin::kUnitsPerDegree;
using velorin::ParseCoordinateText;

/// The position text's code split into its even (longitude) and odd bits.
struct Units {
  std::uint32_t x = 0;
  std::uint32_t y = 0;
};

Units Decode(std::string_view position) {
  FUZZ_CHECK(position.size() == 17 && position[0] == '$');
  std::uint64_t code = 0;
  for (const char c : position.substr(1)) {
    FUZZ_CHECK((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'));
    code = code << 4 | static_cast<std::uint64_t>(c <= '9' ? c - '0' : c - 'A' + 10);
  }
  FUZZ_CHECK((code >> 62) == 0);
  Units units;
  for (int i = 0; i < 31; ++i) {
    units.x |= static_cast<std::uint32_t>((code >> (2 * i)) & 1) << i;
    units.y |= static_cast<std::uint32_t>((code >> (2 * i + 1)) & 1) << i;
  }
  return units;
}

/// Split at the apostrophes of the text with one appended, each part by the
/// literal numeral rule, the four summed in order. (Inputs stay far below
/// 32767 characters, so positions never run out.)
double LiteralCoordinate(std::string_view text) {
  const std::string extended = std::string(text) + "'";
  double angle = 0;
  std::size_t current = 0;
  for (const double divisor : {1.0, 60.0, 3600.0, 36000.0}) {
    const std::size_t apostrophe = extended.find('\'', current);
    if (apostrophe == std::string::npos) return kRejectedAngle;
    const std::optional<double> value =
        velorin::testing::LiteralPartRule(extended.substr(current, apostrophe - current));
    if (!value) return kRejectedAngle;
    angle += *value / divisor;
    current = apostrophe + 1;
  }
  if (!std::isfinite(angle) || angle > 180) return kRejectedAngle;
  return angle;
}

void CheckWithinHalfAUnit(std::uint32_t units, double degrees) {
  FUZZ_CHECK(std::fabs(static_cast<double>(units) - degrees * kUnitsPerDegree) <= 0.5 + 1e-6);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double angle = ParseCoordinateText(text);
  if (size < 30000) FUZZ_CHECK(angle == LiteralCoordinate(text));

  const std::size_t apostrophes =
      static_cast<std::size_t>(std::count(text.begin(), text.end(), '\''));
  if (apostrophes < 3) FUZZ_CHECK(angle == kRejectedAngle);

  // Whatever follows the fourth apostrophe is never read.
  if (apostrophes >= 4) {
    std::size_t fourth = 0;
    for (int seen = 0; seen < 4; ++fourth) seen += text[fourth] == '\'';
    FUZZ_CHECK(ParseCoordinateText(text.substr(0, fourth - 1)) == angle);
  }

  if (angle == kRejectedAngle) return 0;
  FUZZ_CHECK(std::isfinite(angle) && angle >= 0.0 && angle <= 180.0);

  const Units asLongitude = Decode(EncodeNviPosition(angle, 0.0).view());
  CheckWithinHalfAUnit(asLongitude.x, angle);
  FUZZ_CHECK(asLongitude.y == 0);
  const Units asLatitude = Decode(EncodeNviPosition(0.0, angle).view());
  CheckWithinHalfAUnit(asLatitude.y, angle);
  FUZZ_CHECK(asLatitude.x == 0 && asLatitude.y == asLongitude.x);
  return 0;
}
