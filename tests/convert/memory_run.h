#pragma once
// A conversion run over files in memory, with an observer that keeps what it
// was told, and the titles of what it wrote.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/conversion_run.h"
#include "platform/clock.h"
#include "platform/memory_file_system.h"

namespace velorin::testing {

class HeardEntries : public RunObserver {
 public:
  void OnSkipped(const ReadEntry&, SkipKind, std::string_view reason) override {
    skipped.emplace_back(reason);
  }
  void OnInputWithoutPoints(std::string_view path) override { withoutPoints.emplace_back(path); }

  std::vector<std::string> skipped;  ///< the reasons, in order
  std::vector<std::string> withoutPoints;
};

struct MemoryRun {
  /// Runs `options` (output /out/out.nvi unless set), its observer `heard`
  /// unless set.
  RunOutcome Run(RunOptions options, RunHost& host) {
    if (options.outputPath.empty()) options.outputPath = "/out/out.nvi";
    if (options.observer == nullptr) options.observer = &heard;
    ConversionRun run(host, files, clock, std::move(options));
    return run.Execute();
  }
  RunOutcome Run(RunOptions options) {
    UnattendedHost host(true);
    return Run(std::move(options), host);
  }
  /// The TTL lines' titles of an NVI output, in order (CP932 bytes).
  std::vector<std::string> NviTitles(const std::string& path = "/out/out.nvi") const {
    std::vector<std::string> titles;
    const std::string nvi = files.Contents(path).value_or("");
    for (std::size_t at = nvi.find("TTL= {"); at != std::string::npos;
         at = nvi.find("TTL= {", at + 1)) {
      titles.push_back(nvi.substr(at + 6, nvi.find('}', at) - at - 6));
    }
    return titles;
  }

  MemoryFileSystem files;
  FixedClock clock{{"2010/04/01", "14:30:00"}};
  HeardEntries heard;
};

inline const std::string kTwoWaypointsGpx =
    "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
    "<wpt lat=\"35.1\" lon=\"139.1\"><name>G1</name></wpt>\n"
    "<wpt lat=\"35.2\" lon=\"139.2\"><name>G2</name></wpt>\n</gpx>\n";

/// The XML readers are left out of some builds.
inline bool ReadsFormat(PointFormat format) { return InfoOf(format).makeReader != nullptr; }

}  // namespace velorin::testing
