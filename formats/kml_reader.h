#pragma once
// Points read from the placemarks of a KML 2.2 document (Document and Folder
// nesting as deep as it goes): each Placemark with a Point, and each Point
// of a MultiGeometry, its name the title, its coordinates
// longitude,latitude[,altitude]. Placemarks of other shapes (lines,
// polygons) are counted, not read, and so are NetworkLinks, unless the
// reader is told to keep them for following.
#include <vector>

#include "formats/xml_point_reader.h"

namespace velorin {

class KmlReader : public XmlPointReader {
 public:
  /// The most points of one placemark kept waiting for a name that comes
  /// after them; those past it are skipped.
  static constexpr std::size_t kMaxPointsBeforeName = 4096;

  /// The most NetworkLinks of one document kept for following.
  static constexpr std::size_t kMaxLinks = 256;

  /// `keepsLinks`: the href of each NetworkLink is kept for links() (a KMZ
  /// reads the files of its archive they name); otherwise each counts as a
  /// link to another file.
  explicit KmlReader(ByteSource& source, bool keepsLinks = false)
      : XmlPointReader(source, "kml", "KML"), keepsLinks_(keepsLinks) {}
  const std::vector<std::string>& links() const { return links_; }

 private:
  /// A point of the placemark read before its name.
  struct Waiting {
    std::int64_t line = 0;
    std::optional<Degrees> position;
    bool hadCoordinates = false;
  };

  void OnStart(const XmlName& name, int depth, const char** attributes) override;
  void OnEnd(const XmlName& name, int depth) override;
  bool IsOwnNamespace(std::string_view space) const override;
  /// The point that just ended: out now when the name is known, else kept.
  void EndPoint();
  void EmitPoint(const Waiting& point);
  void OnLinkStart(std::string_view local, int depth);
  void OnLinkEnd(std::string_view local, int depth);

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
  bool nameTidied_ = false;  ///< white space inside the name was tidied
  bool nameTooLong_ = false;
  bool coordinatesTooLong_ = false;
  std::string name_;
  std::string coordinates_;
  std::vector<Waiting> waiting_;
  bool keepsLinks_ = false;
  int linkDepth_ = 0;           ///< of the open NetworkLink; 0 outside one
  bool inLinkElement_ = false;  ///< in its Link (or the older Url)
  bool hasHref_ = false;
  bool hrefTooLong_ = false;
  std::string href_;
  std::vector<std::string> links_;
};

/// Reads "longitude,latitude[,altitude]" (blanks around it and around each
/// number allowed); nothing for anything else, several tuples included.
std::optional<Degrees> ParseKmlCoordinates(std::string_view text);

}  // namespace velorin
