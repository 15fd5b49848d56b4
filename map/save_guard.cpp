#include "map/save_guard.h"

#include <algorithm>

namespace velorin {

SaveDecision SaveGuard::Decide(FileSystem& files, const std::string& path) const {
  const std::optional<FileStamp> now = files.StampOf(path);
  // Gone: nothing of it to lose or to replace.
  if (!now) return {};
  const auto written = std::find_if(written_.begin(), written_.end(), [&](const Written& file) {
    return files.NameSameFile(path, file.path);
  });
  if (written != written_.end()) {
    // Velorin's own, unless another program wrote it since.
    if (written->stamp && *now == *written->stamp) return {};
    return {SaveVerdict::kAskChanged, true};
  }
  if (!files.NameSameFile(path, map_.path)) return {};
  if (!map_.Whole()) return {SaveVerdict::kRefuseNotWhole};
  return {SaveVerdict::kAskLosses, !map_.stamp || *now != *map_.stamp};
}

void SaveGuard::Saved(FileSystem& files, const std::string& path) {
  std::erase_if(written_, [&](const Written& file) { return files.NameSameFile(path, file.path); });
  written_.push_back({path, files.StampOf(path)});
}

}  // namespace velorin
