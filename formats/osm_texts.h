#pragma once
// A kept OpenStreetMap object's title and texts, from OSM's own keys: the
// title from "name" (or "name:LANG" first), the address from "addr:*" in
// the order a Japanese or a Western address is written, the telephone, the
// link and the e-mail address from their keys or "contact:*", the
// description, and the opening hours as the comment.
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "formats/point_fields.h"

namespace velorin {

using OsmTag = std::pair<std::string_view, std::string_view>;

/// The title; empty when the object has no name.
std::string OsmTitle(std::span<const OsmTag> tags, std::string_view language);

/// Whether an address at this position without "addr:country" is written
/// the Japanese way (the position lies in Japan's part of the globe).
bool InJapan(double longitude, double latitude);

/// The address: "addr:full" as it is, else the parts joined, Japanese
/// ("〒100-0001 東京都千代田区千代田1-1") where "addr:country" is JP or,
/// without it, `japanese`; Western ("1 Main Street, 12345 Springfield,
/// US") elsewhere. Empty without any part.
std::string OsmAddress(std::span<const OsmTag> tags, bool japanese);

/// Every text of the object into `fields`.
void SetOsmFields(std::span<const OsmTag> tags, double longitude, double latitude,
                  PointFields& fields);

}  // namespace velorin
