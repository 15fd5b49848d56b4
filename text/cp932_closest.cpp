#include "text/cp932_closest.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace velorin {

namespace {

// Flags of an entry.
constexpr std::uint8_t kChanges = 1;
constexpr std::uint8_t kCombining = 2;

struct ClosestEntry {
  char32_t codePoint;
  std::uint16_t offset;  // into kClosestBytes
  std::uint8_t size;
  std::uint8_t flags;
};

struct CompositionEntry {
  char32_t base;
  char32_t mark;
  std::uint16_t baseOffset;
  std::uint8_t baseSize;
  std::uint16_t offset;
  std::uint8_t size;
};

#include "text/cp932_closest_table.inc"

std::string_view Bytes(std::uint16_t offset, std::uint8_t size) {
  return std::string_view(kClosestBytes + offset, size);
}

}  // namespace

std::optional<Cp932Closest> FindCp932Closest(char32_t codePoint) {
  const auto* end = std::end(kClosestEntries);
  const auto* found =
      std::lower_bound(std::begin(kClosestEntries), end, codePoint,
                       [](const ClosestEntry& e, char32_t cp) { return e.codePoint < cp; });
  if (found == end || found->codePoint != codePoint) return std::nullopt;
  return Cp932Closest{Bytes(found->offset, found->size), (found->flags & kChanges) != 0,
                      (found->flags & kCombining) != 0};
}

std::optional<Cp932Composition> FindCp932Composition(char32_t base, char32_t mark) {
  const auto* end = std::end(kCompositions);
  const auto key = [](char32_t b, char32_t m) { return (std::uint64_t{b} << 32) | m; };
  const auto* found = std::lower_bound(
      std::begin(kCompositions), end, key(base, mark),
      [&](const CompositionEntry& e, std::uint64_t k) { return key(e.base, e.mark) < k; });
  if (found == end || found->base != base || found->mark != mark) return std::nullopt;
  return Cp932Composition{Bytes(found->baseOffset, found->baseSize),
                          Bytes(found->offset, found->size)};
}

}  // namespace velorin
