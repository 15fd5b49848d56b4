#pragma once
// Points read from the placemarks of a KML 2.2 document (Document and Folder
// nesting as deep as it goes): each Placemark with a Point, and each Point
// of a MultiGeometry, its name the title, its coordinates
// longitude,latitude[,altitude]. When tracks are asked for, the positions
// of a placemark's LineStrings and gx:Tracks are track points too (each
// line a segment, thinned as they come), called after the placemark's name
// and their number in it; otherwise such placemarks count as tracks, not
// read. Placemarks of other shapes (polygons) are counted, not read, and so
// are NetworkLinks, unless the reader is told to keep them for following.
// Placemarks inside a gx:Tour, a gx:AnimatedUpdate or an Update (its Create
// or Change) are steps of an animation: counted, never read.
//
// A placemark's further texts go with each of its points: description,
// address, phoneNumber, atom:link's href, and ExtendedData items (Data or
// SimpleData) named as a point's texts are ("description", "comment",
// "email" ...). KML gives them before the geometry; one that comes after a
// point already handed out is not that point's.
#include <array>
#include <vector>

#include "formats/point_fields.h"
#include "formats/track_thinner.h"
#include "formats/xml_point_reader.h"

namespace velorin {

class KmlReader : public XmlPointReader {
 public:
  /// The most NetworkLinks of one document kept for following.
  static constexpr std::size_t kMaxLinks = 256;

  /// `keepsLinks`: the href of each NetworkLink is kept for links() (a KMZ
  /// reads the files of its archive they name); otherwise each counts as a
  /// link to another file.
  explicit KmlReader(ByteSource& source, const ReaderOptions& options = {}, bool keepsLinks = false)
      : XmlPointReader(source, "kml", "KML"),
        kinds_(options.points),
        thinner_(options.thinMetres),
        keepsLinks_(keepsLinks) {}
  const std::vector<std::string>& links() const { return links_; }

 private:
  /// A point of the placemark read before its name.
  struct Waiting {
    std::int64_t line = 0;
    std::optional<Degrees> position;
    bool hadCoordinates = false;
    std::int64_t number = 0;  ///< a track point's number in its placemark; 0 for a Point
  };

  void OnStart(const XmlName& name, int depth, const char** attributes) override;
  void OnEnd(const XmlName& name, int depth) override;
  bool IsOwnNamespace(std::string_view space) const override;
  bool IsAnimation(const XmlName& name) const;
  void StartPlacemark(int depth);
  /// The point that just ended: out now when the name is known, else kept.
  void EndPoint();
  /// Out now when the name is known, else kept (up to kMaxPointsWaiting).
  void Deliver(const Waiting& point);
  void EmitPoint(const Waiting& point);
  /// A LineString or gx:Track (a segment of the placemark's track) begins or ends.
  void StartSegment(int depth, bool gx);
  void EndSegment();
  /// A position of the segment, read or not, goes to the thinning.
  void SegmentPosition(std::optional<Degrees> position);
  /// The LineString's coordinates, tuple by tuple as they come.
  void OnText(std::string_view piece) override;
  void EndTuple();
  void OnGxStart(const XmlName& name, int depth);
  void OnGxEnd(const XmlName& name, int depth);
  void OnLinkStart(std::string_view local, int depth);
  void OnLinkEnd(std::string_view local, int depth);
  /// An element of the placemark that may hold one of its texts.
  void OnFieldStart(const XmlName& name, int depth, const char** attributes);
  /// True when the element ending was a text of the placemark.
  bool OnFieldEnd(int depth);
  /// The text collected for a field has ended: the field's, when it says
  /// anything. Apart from OnFieldEnd, which every element's end asks.
  [[gnu::noinline]] void EndField();
  void CollectField(PointField field, int depth);

  int animationDepth_ = 0;  ///< of the open tour or update; 0 outside one
  int placemarkDepth_ = 0;  ///< 0 outside a placemark
  std::int64_t placemarkLine_ = 0;
  /// The innermost open geometry container: the placemark itself or a
  /// MultiGeometry in it; its Points are read.
  int containerDepth_ = 0;
  int pointDepth_ = 0;  ///< 0 outside a Point being read
  bool hasDirectPoint_ = false;
  std::int64_t points_ = 0;  ///< Points of this placemark read so far
  Waiting point_;
  bool hasCoordinates_ = false;
  bool hasName_ = false;
  bool nameTooLong_ = false;
  bool coordinatesTooLong_ = false;
  std::string name_;
  std::string coordinates_;
  std::vector<Waiting> waiting_;
  PointKinds kinds_;
  TrackThinner thinner_;
  std::int64_t tracks_ = 0;        ///< placemarks with lines so far
  bool placemarkHasLine_ = false;  ///< this placemark's lines are track number tracks_
  std::int64_t linePoints_ = 0;    ///< of this placemark
  int segmentDepth_ = 0;           ///< of the open LineString or gx:Track; 0 outside one
  bool gxSegment_ = false;         ///< it is a gx:Track
  bool inTuples_ = false;          ///< the LineString's coordinates are streaming
  std::string tuple_;              ///< the tuple being read
  bool tupleTooLong_ = false;
  bool holding_ = false;  ///< held_ is the segment's last point, should it be
  Waiting held_;
  bool keepsLinks_ = false;
  int linkDepth_ = 0;           ///< of the open NetworkLink; 0 outside one
  bool inLinkElement_ = false;  ///< in its Link (or the older Url)
  bool hasHref_ = false;
  bool hrefTooLong_ = false;
  std::string href_;
  std::vector<std::string> links_;
  /// The placemark's texts so far, and the one being collected.
  std::array<std::string, kPointFieldCount> fields_;
  bool hasFields_ = false;
  PointFieldSet cut_;   ///< texts of fields_ cut at kMaxTextSize
  int fieldDepth_ = 0;  ///< of the element whose text is collected; 0 when none is
  PointField field_ = PointField::kDescription;
  int extendedDepth_ = 0;  ///< of the open ExtendedData; 0 outside one
  int dataDepth_ = 0;      ///< of the open Data named as a text; 0 outside one
  PointField dataField_ = PointField::kDescription;
};

/// Reads "longitude,latitude[,altitude]" (blanks around it and around each
/// number allowed); nothing for anything else, several tuples included.
std::optional<Degrees> ParseKmlCoordinates(std::string_view text);

/// Reads a gx:coord value, "longitude latitude [altitude]" (blanks apart);
/// nothing for anything else.
std::optional<Degrees> ParseGxCoord(std::string_view text);

}  // namespace velorin
