#pragma once
// The list of the map's items beside the map: the points that would become
// records, then the skipped entries grouped by why, each group under a
// heading with its count; within a group by title or by order in the file;
// while a text is being found, only the items whose titles hold it. An
// edit moves the items it touched and no others: a pass over a group, not
// a new sort.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "map/edited_points.h"
#include "map/point_selection.h"

namespace velorin {

enum class ListOrder { kFile, kTitle };

/// The groups of the list, in the list's order. kSkipped is a heading
/// alone: the count of the three groups below it.
enum class ListGroup : std::uint8_t { kPoints, kSkipped, kUntitled, kOutOfRange, kUnreadable };

/// A row of the list: a group's heading, or an item of it.
struct ListRow {
  bool heading = false;
  ListGroup group = ListGroup::kPoints;
  std::uint32_t item = 0;  ///< for an item's row
};

/// Whether `title` holds `text`, ASCII letters in either case.
bool TitleHolds(std::string_view title, std::string_view text);

/// The most characters a find looks for: a title that holds so many holds
/// the rest too in all but the rarest case, and every keystroke stays quick
/// whatever was pasted.
inline constexpr std::size_t kFindCharacters = 200;

/// `typed` cut to kFindCharacters characters (UTF-8), on a character's edge.
std::string_view FindText(std::string_view typed);

class PointList {
 public:
  /// Every item of `points` (which must outlive the list), in file order.
  explicit PointList(const EditedPoints& points);

  ListOrder order() const { return order_; }
  void SetOrder(ListOrder order);
  /// Lists only the items whose titles hold `text` (TitleHolds), cut to
  /// FindText; all when it is empty. A text that holds the one before (a
  /// character typed) looks only among the items listed already.
  void SetFilter(std::string_view text);
  const std::string& filter() const { return filter_; }
  /// Whether the item is listed while the filter is set.
  bool Matches(std::uint32_t item) const { return filter_.empty() || matches_[item] != 0; }

  /// The items of a group as listed (filtered), in order.
  std::span<const std::uint32_t> Group(ListGroup group) const;
  /// How many items a group lists; kSkipped counts the three below it.
  std::size_t Count(ListGroup group) const;
  /// How many items a group holds, filtered out or not.
  std::size_t Total(ListGroup group) const;

  std::size_t RowCount() const;
  ListRow Row(std::size_t row) const;
  /// The row of an item listed now; nothing for one not listed.
  std::optional<std::size_t> RowOf(std::uint32_t item) const;
  /// The rows of the groups' headings, in order (a handful).
  std::vector<std::size_t> HeadingRows() const;
  /// The rows of the items of `chosen` listed now, in order: found one by
  /// one when they are few, by one pass over the list when many.
  std::vector<std::size_t> RowsOf(const PointSelection& chosen) const;

  /// Moves the items a step changed to the groups and places they have now.
  void Update(const SettledStep& step);

 private:
  static constexpr std::size_t kGroups = 4;  ///< points and the three kinds of skip
  static constexpr std::uint8_t kUnlisted = 0xFF;

  static std::uint8_t GroupOf(ItemStatus status);
  static ListGroup Group(std::size_t index);
  bool Before(std::uint32_t a, std::uint32_t b) const;
  void Sort(std::vector<std::uint32_t>& items) const;
  /// The groups' first rows: their headings (a group without items has
  /// none), then the skipped heading's.
  struct Layout {
    std::array<std::optional<std::size_t>, kGroups> heading;
    std::optional<std::size_t> skipped;
    std::size_t rows = 0;
  };
  Layout MakeLayout() const;
  const std::vector<std::uint32_t>& Listed(std::size_t group) const {
    return filter_.empty() ? all_[group] : shown_[group];
  }
  void Refilter();
  /// Marks the matches of the filter among every item, or among those
  /// that matched the filter before (which the new one holds).
  void MatchAll();
  void MatchAmongMatches();
  /// Takes the items `moved` (sorted) out of their groups, then places
  /// them in the groups their statuses give them.
  void TakeOut(const std::vector<std::uint32_t>& moved);
  void PlaceIn(const std::vector<std::uint32_t>& moved);

  const EditedPoints& points_;
  ListOrder order_ = ListOrder::kFile;
  std::string filter_;
  std::array<std::vector<std::uint32_t>, kGroups> all_;
  std::array<std::vector<std::uint32_t>, kGroups> shown_;
  std::vector<std::uint8_t> groupOf_;  ///< per item: its group, or kUnlisted
  std::vector<std::uint8_t> matches_;  ///< per item, while the filter is set
  Layout layout_;
};

}  // namespace velorin
