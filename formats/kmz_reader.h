#pragma once
// Points read from the KML documents inside a KMZ archive: the first .kml
// file, then the files of the same archive its NetworkLinks name (GDAL
// writes each layer so), and theirs in turn, up to kMaxLinkDepth links deep
// and kMaxLinkedFiles files. A link to anything else (a network address, an
// absolute path, a path out of the archive) is counted, never followed.
// A linked file counts its lines anew, and its skipped points name it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/kml_reader.h"
#include "formats/kmz_source.h"

namespace velorin {

class KmzReader : public PointReader {
 public:
  static constexpr int kMaxLinkDepth = 4;
  static constexpr std::size_t kMaxLinkedFiles = 64;

  explicit KmzReader(ByteSource& archive, const ReaderOptions& options = {})
      : archive_(archive), options_(options) {
    pending_.push_back({});
  }
  bool Next(ReadEntry& entry) override;
  IgnoredItems ignored() const override;
  std::int64_t ignoredTotal() const override;

 private:
  struct Document {
    std::string name;  ///< empty: the first .kml file
    int depth = 0;     ///< links from the first file
  };
  /// Opens the next document waiting; false when none is left or on a
  /// failure.
  bool OpenNext();
  /// Counts what the document read held and queues the files it links.
  void EndDocument();

  KmzArchive archive_;
  ReaderOptions options_;  ///< for each document's reader
  std::unique_ptr<KmzSource> source_;
  std::unique_ptr<KmlReader> kml_;
  int depth_ = 0;                  ///< of the document being read
  std::vector<Document> pending_;  ///< the next one at the back
  std::vector<std::string> read_;  ///< the members read so far
  IgnoredItems ignored_;           ///< of the documents read to their end
};

/// The archive member that `href`, a link in the member `from`, names;
/// nothing for a link out of the archive (a scheme such as http: or C:, an
/// absolute path, more ".." than folders).
std::optional<std::string> LinkedMember(std::string_view from, std::string_view href);

}  // namespace velorin
