#include "map/point_list.h"

#include <algorithm>
#include <iterator>

namespace velorin {
namespace {

// Up to this many items a step moves are found and placed one by one;
// more are taken out in one pass and merged in.
constexpr std::size_t kFewItems = 64;
// Up to this many items chosen are found in the list one by one; more are
// found by a pass over it.
constexpr std::size_t kFewChosen = 2000;

char Folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

/// Compares two titles byte by byte, ASCII letters in either case alike.
int CompareFolded(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(Folded(a[i]));
    const auto y = static_cast<unsigned char>(Folded(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

/// Finds a text in titles, ASCII letters in either case: its first byte
/// looked for as memchr looks for a byte, the rest compared where it is.
/// One finder serves one pass over the titles, `from` never going back.
class FoldedFinder {
 public:
  explicit FoldedFinder(std::string_view text) : text_(text) {
    const char first = text.empty() ? '\0' : text.front();
    lower_.byte = Folded(first);
    upper_.byte = (lower_.byte >= 'a' && lower_.byte <= 'z')
                      ? static_cast<char>(lower_.byte - 'a' + 'A')
                      : '\0';
  }

  /// Where the text begins in `titles` at `from` or after; npos if nowhere.
  std::size_t Find(std::string_view titles, std::size_t from) {
    for (;;) {
      const std::size_t lower = Next(lower_, titles, from);
      const std::size_t upper = upper_.byte == '\0' ? lower : Next(upper_, titles, from);
      const std::size_t at = std::min(lower, upper);
      if (at == std::string_view::npos || at + text_.size() > titles.size()) break;
      if (RestMatches(titles, at)) return at;
      from = at + 1;
    }
    return std::string_view::npos;
  }

 private:
  /// Where one case of the first byte was last found, looked for from
  /// `from`: still the next one until it is passed. Looked for again at
  /// every candidate, the rarer case was scanned for up to its next
  /// place over and over, the whole rest of the titles when it has none.
  struct Cursor {
    char byte = '\0';
    std::size_t from = std::string_view::npos;
    std::size_t at = std::string_view::npos;
  };

  static std::size_t Next(Cursor& cursor, std::string_view titles, std::size_t from) {
    const bool stale = cursor.from == std::string_view::npos || from < cursor.from ||
                       (cursor.at != std::string_view::npos && cursor.at < from);
    if (stale) {
      cursor.at = titles.find(cursor.byte, from);
      cursor.from = from;
    }
    return cursor.at;
  }

  bool RestMatches(std::string_view titles, std::size_t at) const {
    for (std::size_t i = 1; i < text_.size(); ++i) {
      if (Folded(titles[at + i]) != Folded(text_[i])) return false;
    }
    return true;
  }

  std::string_view text_;
  Cursor lower_;
  Cursor upper_;
};

}  // namespace

bool TitleHolds(std::string_view title, std::string_view text) {
  if (text.empty()) return true;
  return std::search(title.begin(), title.end(), text.begin(), text.end(),
                     [](char a, char b) { return Folded(a) == Folded(b); }) != title.end();
}

PointList::PointList(const EditedPoints& points) : points_(points) {
  groupOf_.assign(points.size(), kUnlisted);
  // Items are numbered in file order within the points and within the
  // skipped entries: as read, every group is in order already.
  for (std::uint32_t item = 0; item < points.size(); ++item) {
    const std::uint8_t group = GroupOf(points.Status(item));
    groupOf_[item] = group;
    if (group != kUnlisted) all_[group].push_back(item);
  }
  layout_ = MakeLayout();
}

std::uint8_t PointList::GroupOf(ItemStatus status) {
  switch (status) {
    case ItemStatus::kGone:
      return kUnlisted;
    case ItemStatus::kPoint:
      return 0;
    case ItemStatus::kUntitled:
      return 1;
    case ItemStatus::kOutOfRange:
      return 2;
    case ItemStatus::kUnreadable:
      return 3;
  }
  return kUnlisted;
}

ListGroup PointList::Group(std::size_t index) {
  constexpr std::array<ListGroup, kGroups> kGroupOfIndex = {
      ListGroup::kPoints, ListGroup::kUntitled, ListGroup::kOutOfRange, ListGroup::kUnreadable};
  return kGroupOfIndex[index];
}

bool PointList::Before(std::uint32_t a, std::uint32_t b) const {
  if (order_ == ListOrder::kTitle) {
    const int compared = CompareFolded(points_.Title(a), points_.Title(b));
    if (compared != 0) return compared < 0;
  }
  return points_.Order(a) < points_.Order(b);
}

void PointList::Sort(std::vector<std::uint32_t>& items) const {
  std::sort(items.begin(), items.end(),
            [this](std::uint32_t a, std::uint32_t b) { return Before(a, b); });
}

void PointList::SetOrder(ListOrder order) {
  if (order == order_) return;
  order_ = order;
  for (std::vector<std::uint32_t>& group : all_) Sort(group);
  Refilter();
}

std::string_view FindText(std::string_view typed) {
  std::size_t characters = 0;
  for (std::size_t at = 0; at < typed.size(); ++at) {
    // A character begins at every byte but a UTF-8 continuation byte.
    if ((static_cast<unsigned char>(typed[at]) & 0xC0) == 0x80) continue;
    if (characters++ == kFindCharacters) return typed.substr(0, at);
  }
  return typed;
}

void PointList::SetFilter(std::string_view text) {
  text = FindText(text);
  const bool narrower = !filter_.empty() && TitleHolds(text, filter_);
  filter_ = std::string(text);
  if (filter_.empty()) {
    matches_.clear();
  } else if (narrower && matches_.size() == points_.size()) {
    MatchAmongMatches();
  } else {
    MatchAll();
  }
  Refilter();
}

void PointList::MatchAll() {
  matches_.assign(points_.size(), 0);
  // The points' titles as read lie one after another: one pass finds the
  // text in all of them.
  const MapPoints& read = points_.map().read.points;
  const std::span<const MapPoint> shown = read.points();
  const std::string_view titles = read.Titles();
  FoldedFinder finder(filter_);
  std::uint32_t point = 0;
  for (std::size_t at = finder.Find(titles, 0); at != std::string_view::npos;) {
    while (point < shown.size() && shown[point].titleOffset + shown[point].titleSize <= at) ++point;
    if (point == shown.size()) break;
    const MapPoint& found = shown[point];
    if (at >= found.titleOffset && at + filter_.size() <= found.titleOffset + found.titleSize) {
      matches_[point] = 1;
      at = finder.Find(titles, found.titleOffset + found.titleSize);
    } else {
      at = finder.Find(titles, at + 1);
    }
  }
  for (std::uint32_t item = 0; item < points_.size(); ++item) {
    if (groupOf_[item] == kUnlisted) {
      matches_[item] = 0;
    } else if (item >= shown.size() || points_.edits().State(item).title != 0) {
      // Titles of their own: an edit's, a skipped entry's.
      matches_[item] = TitleHolds(points_.Title(item), filter_);
    }
  }
}

void PointList::MatchAmongMatches() {
  // Only what matched the shorter text can match the longer one.
  for (const std::vector<std::uint32_t>& shown : shown_) {
    for (const std::uint32_t item : shown) {
      matches_[item] = TitleHolds(points_.Title(item), filter_);
    }
  }
}

void PointList::Refilter() {
  for (std::size_t group = 0; group < kGroups; ++group) {
    shown_[group].clear();
    if (filter_.empty()) continue;
    std::copy_if(all_[group].begin(), all_[group].end(), std::back_inserter(shown_[group]),
                 [this](std::uint32_t item) { return matches_[item] != 0; });
  }
  layout_ = MakeLayout();
}

std::span<const std::uint32_t> PointList::Group(ListGroup group) const {
  switch (group) {
    case ListGroup::kPoints:
      return Listed(0);
    case ListGroup::kUntitled:
      return Listed(1);
    case ListGroup::kOutOfRange:
      return Listed(2);
    case ListGroup::kUnreadable:
      return Listed(3);
    case ListGroup::kSkipped:
      break;
  }
  return {};
}

std::size_t PointList::Count(ListGroup group) const {
  if (group == ListGroup::kSkipped) return Listed(1).size() + Listed(2).size() + Listed(3).size();
  return Group(group).size();
}

std::size_t PointList::Total(ListGroup group) const {
  switch (group) {
    case ListGroup::kPoints:
      return all_[0].size();
    case ListGroup::kSkipped:
      return all_[1].size() + all_[2].size() + all_[3].size();
    case ListGroup::kUntitled:
      return all_[1].size();
    case ListGroup::kOutOfRange:
      return all_[2].size();
    case ListGroup::kUnreadable:
      return all_[3].size();
  }
  return 0;
}

PointList::Layout PointList::MakeLayout() const {
  Layout layout;
  // The points' heading stands even over none: it says how many there are.
  layout.heading[0] = 0;
  layout.rows = 1 + Listed(0).size();
  if (Count(ListGroup::kSkipped) > 0) layout.skipped = layout.rows++;
  for (std::size_t group = 1; group < kGroups; ++group) {
    if (Listed(group).empty()) continue;
    layout.heading[group] = layout.rows;
    layout.rows += 1 + Listed(group).size();
  }
  return layout;
}

std::size_t PointList::RowCount() const { return layout_.rows; }

ListRow PointList::Row(std::size_t row) const {
  if (layout_.skipped && row == *layout_.skipped) return {true, ListGroup::kSkipped, 0};
  for (std::size_t group = kGroups; group-- > 0;) {
    const std::optional<std::size_t> heading = layout_.heading[group];
    if (!heading || row < *heading) continue;
    if (row == *heading) return {true, Group(group), 0};
    return {false, Group(group), Listed(group)[row - *heading - 1]};
  }
  return {true, ListGroup::kPoints, 0};
}

std::optional<std::size_t> PointList::RowOf(std::uint32_t item) const {
  if (item >= groupOf_.size() || groupOf_[item] == kUnlisted || !Matches(item)) {
    return std::nullopt;
  }
  const std::size_t group = groupOf_[item];
  const std::vector<std::uint32_t>& listed = Listed(group);
  const auto at =
      std::lower_bound(listed.begin(), listed.end(), item,
                       [this](std::uint32_t a, std::uint32_t b) { return Before(a, b); });
  if (at == listed.end() || *at != item || !layout_.heading[group]) return std::nullopt;
  return *layout_.heading[group] + 1 + static_cast<std::size_t>(at - listed.begin());
}

std::vector<std::size_t> PointList::HeadingRows() const {
  std::vector<std::size_t> rows;
  for (std::size_t group = 0; group < kGroups; ++group) {
    if (layout_.heading[group]) rows.push_back(*layout_.heading[group]);
  }
  if (layout_.skipped) rows.push_back(*layout_.skipped);
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::vector<std::size_t> PointList::RowsOf(const PointSelection& chosen) const {
  std::vector<std::size_t> rows;
  if (chosen.count() <= kFewChosen) {
    chosen.ForEach([&](std::uint32_t item) {
      if (const auto row = RowOf(item)) rows.push_back(*row);
    });
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  for (std::size_t group = 0; group < kGroups; ++group) {
    if (!layout_.heading[group]) continue;
    const std::vector<std::uint32_t>& listed = Listed(group);
    for (std::size_t at = 0; at < listed.size(); ++at) {
      if (chosen.Has(listed[at])) rows.push_back(*layout_.heading[group] + 1 + at);
    }
  }
  return rows;
}

void PointList::Update(const SettledStep& step) {
  // The items to take out of their groups and place anew: those whose
  // group changed, and those renamed (their place by title, their match).
  const bool retitled = step.step.kind == EditKind::kRename || step.step.kind == EditKind::kAdd;
  std::vector<std::uint32_t> moved;
  groupOf_.resize(points_.size(), kUnlisted);
  if (!filter_.empty()) matches_.resize(points_.size(), 0);
  for (const ItemChange& change : step.step.changes) {
    const std::uint8_t now = GroupOf(points_.Status(change.item));
    if (now == groupOf_[change.item] && !retitled) continue;
    moved.push_back(change.item);
  }
  if (moved.empty()) return;
  std::sort(moved.begin(), moved.end());
  moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
  TakeOut(moved);
  PlaceIn(moved);
  layout_ = MakeLayout();
}

void PointList::TakeOut(const std::vector<std::uint32_t>& moved) {
  auto takeFrom = [&](std::vector<std::uint32_t>& listed) {
    if (moved.size() <= kFewItems) {
      for (const std::uint32_t item : moved) {
        const auto at = std::find(listed.begin(), listed.end(), item);
        if (at != listed.end()) listed.erase(at);
      }
      return;
    }
    std::erase_if(listed, [&](std::uint32_t item) {
      return std::binary_search(moved.begin(), moved.end(), item);
    });
  };
  std::array<bool, kGroups> touched{};
  for (const std::uint32_t item : moved) {
    if (groupOf_[item] != kUnlisted) touched[groupOf_[item]] = true;
  }
  for (std::size_t group = 0; group < kGroups; ++group) {
    if (!touched[group]) continue;
    takeFrom(all_[group]);
    if (!filter_.empty()) takeFrom(shown_[group]);
  }
}

void PointList::PlaceIn(const std::vector<std::uint32_t>& moved) {
  std::array<std::vector<std::uint32_t>, kGroups> placed;
  for (const std::uint32_t item : moved) {
    const std::uint8_t group = GroupOf(points_.Status(item));
    groupOf_[item] = group;
    if (group == kUnlisted) continue;
    placed[group].push_back(item);
    if (!filter_.empty()) matches_[item] = TitleHolds(points_.Title(item), filter_);
  }
  auto before = [this](std::uint32_t a, std::uint32_t b) { return Before(a, b); };
  auto placeInto = [&](std::vector<std::uint32_t>& listed,
                       const std::vector<std::uint32_t>& added) {
    if (added.size() <= kFewItems) {
      for (const std::uint32_t item : added) {
        listed.insert(std::lower_bound(listed.begin(), listed.end(), item, before), item);
      }
      return;
    }
    const auto middle = static_cast<std::ptrdiff_t>(listed.size());
    listed.insert(listed.end(), added.begin(), added.end());
    std::inplace_merge(listed.begin(), listed.begin() + middle, listed.end(), before);
  };
  for (std::size_t group = 0; group < kGroups; ++group) {
    if (placed[group].empty()) continue;
    Sort(placed[group]);
    placeInto(all_[group], placed[group]);
    if (filter_.empty()) continue;
    std::vector<std::uint32_t> shown;
    std::copy_if(placed[group].begin(), placed[group].end(), std::back_inserter(shown),
                 [this](std::uint32_t item) { return matches_[item] != 0; });
    placeInto(shown_[group], shown);
  }
}

}  // namespace velorin
