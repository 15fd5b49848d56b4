#pragma once
// When a save from the map may write unasked, must ask first, or must not
// write at all, for any toolkit:
// - the file read is saved over only when the map holds the whole file
//   (not cut short by the map's capacity or a read error), and only after
//   the window has said what of it will not be kept (LossLines);
// - a file Velorin read or wrote that another program changed since (its
//   identity, size or time of writing differ) is not replaced unasked;
// - a file saved from this map, as Velorin left it, is written again
//   unasked.
#include <optional>
#include <string>
#include <vector>

#include "map/editable_map.h"
#include "platform/file_system.h"

namespace velorin {

enum class SaveVerdict {
  kWrite,           ///< write; ask before replacing only as a save always does
  kAskLosses,       ///< the file read: say what will not be kept, and ask
  kAskChanged,      ///< another program changed the file since it was saved: ask
  kRefuseNotWhole,  ///< the file read, of which the map holds only a part
};

struct SaveDecision {
  SaveVerdict verdict = SaveVerdict::kWrite;
  /// The file changed on the disk after Velorin last read or wrote it.
  bool changedOnDisk = false;
};

class SaveGuard {
 public:
  /// Over `map` (its path and its stamp when read), which must outlive it.
  explicit SaveGuard(const EditableMap& map) : map_(map) {}

  /// What a save into `path` must do before it writes.
  SaveDecision Decide(FileSystem& files, const std::string& path) const;
  /// A save into `path` was written: the file as it is now is Velorin's.
  void Saved(FileSystem& files, const std::string& path);

 private:
  struct Written {
    std::string path;
    std::optional<FileStamp> stamp;
  };
  const EditableMap& map_;
  /// Every file saved from this map, as it was when written.
  std::vector<Written> written_;
};

}  // namespace velorin
