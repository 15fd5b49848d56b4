#pragma once
// Points read from a GeoJSON file (RFC 7946): the Point and MultiPoint
// geometries of a FeatureCollection's features, of a single Feature, of a
// bare geometry, and of GeometryCollections among them; each position of a
// MultiPoint is a point. The title is the feature's properties.name, else
// properties.title or Title, else properties.location.name (as saved
// places exported from a map account hold it). When asked, the positions of
// LineStrings are route points and those of MultiLineStrings track points
// (each line a segment, thinned), as GDAL writes a GPX file's routes and
// tracks; named after the feature and their number in the line. Other
// geometries are counted, not read. UTF-8 only (a byte-order mark is
// skipped); a "crs" member must name WGS 84 longitude/latitude.
//
// Read as a stream: RapidJSON's SAX parser over a fixed buffer, one element
// of "features" at a time, nothing of the document kept but the feature
// being read (see geojson_handler.h). Where one element gives many points
// (a long line), the handler pauses the parser and the reader walks on
// through the arrays and objects still open itself, a value at a time, so
// that the points go out as they come. Hostile input is refused: nesting
// deeper than GeoJsonHandler::kMaxDepth, a string or number longer than
// JsonSourceStream::kMaxTokenSize, invalid UTF-8, numbers beyond a double,
// NaN and Infinity (no JSON).
#include <memory>
#include <vector>

#include "formats/geojson_handler.h"
#include "formats/json_source_stream.h"
#include "formats/point_reader.h"
#include "platform/byte_stream.h"

namespace velorin {

class GeoJsonReader : public PointReader {
 public:
  /// `kinds` and `thinMetres`: see ReaderOptions.
  explicit GeoJsonReader(ByteSource& source, std::size_t bufferSize = 1 << 16,
                         PointKinds kinds = {}, double thinMetres = kDefaultThinMetres);
  ~GeoJsonReader() override;
  GeoJsonReader(const GeoJsonReader&) = delete;
  GeoJsonReader& operator=(const GeoJsonReader&) = delete;

  bool Next(ReadEntry& entry) override;
  IgnoredItems ignored() const override { return handler_.ignored(); }
  std::int64_t ignoredTotal() const override { return handler_.ignored().Total(); }

 private:
  /// Where the reader is in the file.
  enum class State {
    kStart,
    kWalking,  ///< within the containers it walks itself
    kTrailing,
    kDone,
  };
  struct Parser;

  /// Reads on to the next member or element; false at the end or a failure.
  bool Step();
  // The steps of Step(), one for each state; `next` is the character ahead.
  /// Whether the file begins with a JSON object in UTF-8; if so, opens it.
  bool StepStart(char next);
  /// The next member or element of the innermost container the reader
  /// walks, or its end: a comma or the container's first, then its value.
  bool StepWalk(char next);
  /// Whether only white space follows the top-level object; false (the end) either way.
  bool StepTrailing(char next);
  /// The value of the member or element: "features" opened to walk its
  /// elements, anything else parsed whole (unless the handler pauses).
  bool WalkValue();
  /// Takes the innermost container's closing bracket.
  bool Close(bool array);
  bool ParseValue();
  bool ParseKey();
  /// Takes `c` after white space; false (a failure) when something else comes.
  bool Expect(char c, int errorCode);
  bool Stop(int errorCode);
  bool StopAtHandler();

  JsonSourceStream stream_;
  GeoJsonHandler handler_;
  std::unique_ptr<Parser> parser_;
  State state_ = State::kStart;
  /// For each container the reader walks, outermost first: none of its
  /// members or elements has come yet.
  std::vector<char> first_;
  std::size_t taken_ = 0;
};

}  // namespace velorin
