#include "text/code_point_set.h"

#include <algorithm>

namespace velorin {

namespace {

/// Adds the part of `range` inside `from` to `to` moved by `to - from`.
void AddShifted(std::vector<CodePointRange>& out, const CodePointRange& range, char32_t from,
                char32_t fromLast, char32_t to) {
  const char32_t first = std::max(range.first, from);
  const char32_t last = std::min(range.last, fromLast);
  if (first > last) return;
  out.push_back({first - from + to, last - from + to});
}

}  // namespace

void CodePointSet::FoldAsciiCase() {
  std::vector<CodePointRange> added;
  for (const CodePointRange& range : ranges_) {
    AddShifted(added, range, U'A', U'Z', U'a');
    AddShifted(added, range, U'a', U'z', U'A');
  }
  ranges_.insert(ranges_.end(), added.begin(), added.end());
  Normalize();
}

void CodePointSet::Invert() {
  Normalize();
  std::vector<CodePointRange> inverted;
  char32_t next = 0;  // the first unit not yet placed
  for (const CodePointRange& range : ranges_) {
    if (range.first > next) inverted.push_back({next, range.first - 1});
    next = range.last + 1;
  }
  if (next <= kMalformedUnit) inverted.push_back({next, kMalformedUnit});
  ranges_ = std::move(inverted);
}

void CodePointSet::Normalize() {
  std::sort(ranges_.begin(), ranges_.end(),
            [](const CodePointRange& a, const CodePointRange& b) { return a.first < b.first; });
  std::size_t kept = 0;
  for (const CodePointRange& range : ranges_) {
    if (kept > 0 && range.first <= ranges_[kept - 1].last + 1) {
      ranges_[kept - 1].last = std::max(ranges_[kept - 1].last, range.last);
    } else {
      ranges_[kept++] = range;
    }
  }
  ranges_.resize(kept);
}

bool CodePointSet::ContainsAmongMany(char32_t c) const {
  // The first range that ends at or after c.
  const auto found = std::lower_bound(
      ranges_.begin(), ranges_.end(), c,
      [](const CodePointRange& range, char32_t value) { return range.last < value; });
  return found != ranges_.end() && found->first <= c;
}

CodePointSet DigitCharacters() {
  CodePointSet set;
  set.Add(U'0', U'9');
  return set;
}

CodePointSet WordCharacters() {
  CodePointSet set;
  set.Add(U'0', U'9');
  set.Add(U'A', U'Z');
  set.Add(U'_', U'_');
  set.Add(U'a', U'z');
  return set;
}

CodePointSet SpaceCharacters() {
  CodePointSet set;
  set.Add(U'\t', U'\r');  // tab, line feed, vertical tab, form feed, carriage return
  set.Add(U' ', U' ');
  set.Add(0xA0, 0xA0);
  set.Add(0x1680, 0x1680);
  set.Add(0x2000, 0x200A);
  set.Add(0x2028, 0x2029);
  set.Add(0x202F, 0x202F);
  set.Add(0x205F, 0x205F);
  set.Add(0x3000, 0x3000);
  set.Add(0xFEFF, 0xFEFF);
  return set;
}

}  // namespace velorin
