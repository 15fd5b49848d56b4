#pragma once
// The options of velorin-cli that choose points (--near, --within, --match,
// --exclude, --sort) read from their texts into the engine's filters and
// sort, each refused in words that name the option and its shape.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/point_selection.h"

namespace velorin {

/// One option of the selection as the command line gave it.
struct SelectionArgument {
  std::string option;  ///< "--near", "--within", "--match" or "--exclude"
  std::string value;
};

struct ParsedSelection {
  std::vector<PointFilter> filters;  ///< in the order given
  std::optional<PointSort> sort;
  /// Why a value was refused, in words, without the program's name; empty
  /// when all were taken.
  std::string error;
};

/// The filters of `arguments`, each named by its option (and its value when
/// the option was given more than once), and the sort `sort` names
/// ("title", "distance": from the first --near's centre; empty: none).
ParsedSelection ParsePointSelection(const std::vector<SelectionArgument>& arguments,
                                    std::string_view sort);

}  // namespace velorin
