#include "window/window_formats.h"

#include <string_view>

#include "window/window_run.h"

namespace velorin {

PointFormat WindowOutputFormat() { return WindowRunOptions{}.run.outputFormat; }

std::vector<PointFormat> WindowInputFormats(PointFormat output) {
  std::vector<PointFormat> formats;
  for (const FormatInfo& info : PointFormats()) {
    if (info.makeReader != nullptr && info.format != output) formats.push_back(info.format);
  }
  return formats;
}

std::string WindowInputFormatNames() {
  std::vector<std::string_view> names;
  for (const PointFormat format : WindowInputFormats()) names.push_back(DisplayName(format));
  return ListedNames(names);
}

}  // namespace velorin
