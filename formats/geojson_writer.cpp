#include "formats/geojson_writer.h"

#include "formats/decimal_text.h"
#include "formats/markup_escape.h"

namespace velorin {

void GeoJsonWriter::Begin() { out_.Append("{\"type\": \"FeatureCollection\", \"features\": [\n"); }

void GeoJsonWriter::Write(const Point& point, std::string_view title) {
  WriteFeature(point, title, nullptr);
}

void GeoJsonWriter::WriteWithFields(const Point& point, std::string_view title,
                                    const FieldTexts& fields) {
  WriteFeature(point, title, &fields);
}

void GeoJsonWriter::WriteFeature(const Point& point, std::string_view title,
                                 const FieldTexts* fields) {
  const DecimalPosition decimal = FormatPosition(point.position);
  out_.Append(first_ ? "" : ",\n");
  first_ = false;
  out_.Append("{\"type\": \"Feature\", \"properties\": {\"name\": ");
  AppendJsonString(out_, title);
  if (fields != nullptr) {
    for (const PointField field : kPointFields) {
      const std::string_view text = (*fields)[field];
      if (text.empty()) continue;
      out_.Append(", \"");
      out_.Append(WordsOf(field).column);
      out_.Append("\": ");
      AppendJsonString(out_, text);
    }
  }
  out_.Append("}, \"geometry\": {\"type\": \"Point\", \"coordinates\": [");
  out_.Append(decimal.longitude.view());
  out_.Append(", ");
  out_.Append(decimal.latitude.view());
  out_.Append("]}}");
}

void GeoJsonWriter::End() { out_.Append(first_ ? "]}\n" : "\n]}\n"); }

}  // namespace velorin
