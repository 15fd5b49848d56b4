#pragma once
// A point's further texts as a reader meets them, one after another in the
// file's order, put together so that none is lost:
// - the first text of a kind is its field's;
// - a second description, and a second link (a link holds one address),
//   go to the comment, after what it holds;
// - a second comment, telephone number or e-mail address joins the first;
// - an address and its parts (street, city, state, postal code, country)
//   join in the order they come, separated by ", ";
// - a text the same as one kept already, and white space alone, add
//   nothing.
// Texts join with " / ". A text the reader cut at its bound marks its field
// as cut.
#include <array>
#include <string>
#include <string_view>

#include "formats/point_fields.h"

namespace velorin {

class GatheredTexts {
 public:
  /// A text of `field`'s kind; `addressPart`: a part of an address.
  void Offer(PointField field, std::string_view text, bool addressPart = false, bool cut = false);
  /// Whether any text was offered since the last Clear or MoveInto.
  bool Any() const { return any_; }
  /// Hands the texts to `fields` (their buffers change hands) and begins
  /// the next point's.
  void MoveInto(PointFields& fields, TitleEncoding encoding);
  /// The same, the texts copied: the gathered ones stay for other points.
  void CopyInto(PointFields& fields, TitleEncoding encoding);
  void Clear();

 private:
  /// Puts the second descriptions and links into the comment.
  void Settle();

  std::array<std::string, kPointFieldCount> texts_;
  std::string toComment_;
  PointFieldSet cut_;
  bool any_ = false;
};

}  // namespace velorin
