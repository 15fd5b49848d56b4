#pragma once
// The window's run options as the settings file sets them.
#include <span>
#include <string>

#include "window/window_run.h"

namespace velorin {

/// Entry 1 is the untitled rule (exactly "0" keeps untitled points), entry 3
/// the log switch (exactly "1" is on), entry 5 the NVI fields filled
/// ("addr,comm", "all"; anything else fills none); a missing entry counts
/// as empty.
WindowRunOptions RunOptionsFromSettings(std::span<const std::string> settings);

}  // namespace velorin
