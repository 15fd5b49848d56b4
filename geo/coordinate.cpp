#include "geo/coordinate.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "geo/canonical_numeral.h"

namespace velorin {
namespace {

constexpr int kPartCount = 4;

// Character positions are 16-bit signed integers.
constexpr std::size_t kMaxPosition = 32767;

constexpr double kMaxAngle = 180.0;

// The most significant digits of a numeral that the numeral rule accepts.
constexpr std::size_t kMaxWholeDigits = 15;

// Divisors of degrees, minutes, seconds and tenths of a second.
constexpr double kPartDivisors[kPartCount] = {1.0, 60.0, 3600.0, 36000.0};

// The parts of nearly every coordinate are whole numbers below 100. Their
// quotients are divided out once, by the compiler: a division rounds the
// same way wherever it is done, so a looked-up quotient is the very double
// that dividing at run time would give, without the division's latency.
constexpr std::uint32_t kTabledWholes = 100;
struct PartQuotients {
  double of[kPartCount][kTabledWholes];
};
constexpr PartQuotients MakePartQuotients() {
  PartQuotients quotients{};
  for (int part = 0; part < kPartCount; ++part) {
    for (std::uint32_t whole = 0; whole < kTabledWholes; ++whole) {
      quotients.of[part][whole] = static_cast<double>(whole) / kPartDivisors[part];
    }
  }
  return quotients;
}
constexpr PartQuotients kPartQuotients = MakePartQuotients();

// The two hexadecimal digits of every byte of a position code, by the two
// nibbles it is made of: bit i of the longitude's nibble goes to bit 2i,
// bit i of the latitude's to bit 2i + 1. A code's digits are looked up a
// byte at a time, eight lookups that do not wait for one another.
struct DigitPairs {
  std::array<char, 2> of[256];  ///< index: longitude nibble | latitude nibble << 4
};
constexpr DigitPairs MakeDigitPairs() {
  constexpr char kHex[] = "0123456789ABCDEF";
  DigitPairs pairs{};
  for (unsigned x = 0; x < 16; ++x) {
    for (unsigned y = 0; y < 16; ++y) {
      unsigned byte = 0;
      for (unsigned bit = 0; bit < 4; ++bit) {
        byte |= ((x >> bit) & 1u) << (2 * bit) | ((y >> bit) & 1u) << (2 * bit + 1);
      }
      pairs.of[x | y << 4] = {kHex[byte >> 4], kHex[byte & 15u]};
    }
  }
  return pairs;
}
constexpr DigitPairs kDigitPairs = MakeDigitPairs();

// The angle in code units as the low 31 bits of its 32-bit two's complement;
// nothing when the unit count does not fit 32 bits (or is not a number).
std::optional<std::uint32_t> AngleUnits(double angle) {
  const double units = angle * kUnitsPerDegree + 0.5;
  // floor(units) lies in the 32-bit range exactly when units does; inside
  // it, truncation and one step down for a negative fraction is floor.
  if (!(units >= -2147483648.0 && units < 2147483648.0)) return std::nullopt;
  auto floored = static_cast<std::int64_t>(units);
  if (static_cast<double>(floored) > units) --floored;
  return static_cast<std::uint32_t>(floored) & 0x7FFFFFFFu;
}

// A part read as far as its digits go.
struct WholeNumeral {
  std::size_t end;      ///< offset of the first byte that is not a digit, or the size
  std::uint64_t value;  ///< the digits' value, when complete
  bool complete;        ///< the part ends there and is a whole number the numeral rule accepts
};

// Reads the digits from `begin` on. A part made only of digits, at most 15
// of them, is its own canonical rendering (leading zeros are allowed) and
// its value is exact in a double. A longer run of digits may still be a
// numeral (zeros in front of it); it is left to the full rule.
WholeNumeral ReadWholeNumeral(std::string_view text, std::size_t begin) {
  const char* const start = text.data() + begin;
  const char* const end = text.data() + text.size();
  const char* at = start;
  std::uint64_t value = 0;
  for (; at != end; ++at) {
    const unsigned digit = static_cast<unsigned char>(*at) - unsigned{'0'};
    if (digit > 9) break;
    value = value * 10 + digit;  // wraps harmlessly when long
  }
  const auto length = static_cast<std::size_t>(at - start);
  const bool complete = length <= kMaxWholeDigits && (at == end || *at == '\'');
  return {begin + length, value, complete};
}

// Reads part number kPart of a coordinate text from `current` up to the next
// apostrophe, adds its share (value / divisor) to `angle` and moves
// `current` past the apostrophe; false when the text is to be rejected.
// One function per part, so that each part's divisor and table are fixed
// where it is read.
template <int kPart>
bool AddPart(std::string_view text, std::size_t& current, double& angle) {
  const std::size_t size = text.size();
  if (current > size) return false;  // the appended apostrophe is used up

  // Most parts are whole numbers: their digits are read in the same pass
  // that finds the apostrophe. Any other part takes the full numeral rule.
  const WholeNumeral whole = ReadWholeNumeral(text, current);
  std::size_t apostrophe = whole.end;
  double value = static_cast<double>(whole.value);
  if (!whole.complete) {
    apostrophe = text.find('\'', whole.end);
    if (apostrophe == std::string_view::npos) apostrophe = size;
    const std::optional<double> numeral =
        ParseCanonicalNumeral(text.substr(current, apostrophe - current));
    if (!numeral) return false;
    value = *numeral;
  }
  // The apostrophe's position and the position after it must both fit.
  if (apostrophe + 2 > kMaxPosition) return false;

  angle += whole.complete && whole.value < kTabledWholes ? kPartQuotients.of[kPart][whole.value]
                                                         : value / kPartDivisors[kPart];
  current = apostrophe + 1;
  return true;
}

}  // namespace

double ParseCoordinateText(std::string_view text) {
  // Positions are counted in bytes here although the text is CP932: every
  // byte before an accepted fourth apostrophe belongs to an accepted part and
  // is therefore ASCII, so byte and character positions agree wherever the
  // result depends on them. An apostrophe (0x27) is never a trail byte.
  //
  // The text is read as if one apostrophe were appended to it; that
  // apostrophe sits at byte offset text.size(). Accumulates
  // ((D + M / 60) + S / 3600) + T / 36000 in this order.
  double angle = 0.0;
  std::size_t current = 0;  // 0-based offset of the current position
  if (!AddPart<0>(text, current, angle) || !AddPart<1>(text, current, angle) ||
      !AddPart<2>(text, current, angle) || !AddPart<3>(text, current, angle)) {
    return kRejectedAngle;
  }
  if (!std::isfinite(angle) || angle > kMaxAngle) return kRejectedAngle;
  return angle;
}

namespace {

// The two digits of code byte k (from the least significant): nibble k of
// each angle.
std::uint16_t DigitPair(std::uint32_t x, std::uint32_t y, unsigned k) {
  const unsigned index = ((x >> (4 * k)) & 15u) | ((y >> (4 * k)) & 15u) << 4;
  std::uint16_t pair;
  std::memcpy(&pair, kDigitPairs.of[index].data(), 2);
  return pair;
}

}  // namespace

// The code's digits, most significant first, are the pairs of bytes 7 down
// to 0; the first sixteen characters are stored at once, and the last with
// the count.
PositionText FormatPositionCode(std::uint32_t x, std::uint32_t y) {
  x &= 0x7FFFFFFFu;
  y &= 0x7FFFFFFFu;
  PositionText text;
  char* const bytes = text.bytes_.data();
#if defined(__SSE2__)
  __m128i pairs = _mm_cvtsi32_si128(DigitPair(x, y, 7));
  pairs = _mm_insert_epi16(pairs, DigitPair(x, y, 6), 1);
  pairs = _mm_insert_epi16(pairs, DigitPair(x, y, 5), 2);
  pairs = _mm_insert_epi16(pairs, DigitPair(x, y, 4), 3);
  pairs = _mm_insert_epi16(pairs, DigitPair(x, y, 3), 4);
  pairs = _mm_insert_epi16(pairs, DigitPair(x, y, 2), 5);
  pairs = _mm_insert_epi16(pairs, DigitPair(x, y, 1), 6);
  pairs = _mm_insert_epi16(pairs, DigitPair(x, y, 0), 7);
  const __m128i first = _mm_or_si128(_mm_slli_si128(pairs, 1), _mm_cvtsi32_si128('$'));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), first);
  const auto last = static_cast<std::uint16_t>(
      static_cast<unsigned>(_mm_extract_epi16(pairs, 7)) >> 8 | PositionText::kLength << 8);
  std::memcpy(bytes + 16, &last, 2);
#else
  bytes[0] = '$';
  for (unsigned k = 0; k < 8; ++k) {
    const std::uint16_t pair = DigitPair(x, y, k);
    std::memcpy(bytes + 15 - 2 * k, &pair, 2);
  }
  bytes[PositionText::kLength] = static_cast<char>(PositionText::kLength);
#endif
  return text;
}

PositionText EncodeNviPosition(double longitude, double latitude) {
  if (longitude > kMaxAngle || latitude > kMaxAngle) return {};
  const std::optional<std::uint32_t> x = AngleUnits(longitude);
  const std::optional<std::uint32_t> y = AngleUnits(latitude);
  if (!x || !y) return {};
  return FormatPositionCode(*x, *y);
}

}  // namespace velorin
