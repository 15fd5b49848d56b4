#pragma once
// One fuzz target per point format: the input's bytes through the format's
// reader, every point through the title rule into every writer. What must
// hold: the reader ends, its points are ones NVI can hold, their titles as
// the rule gives them never break a line of a file whose white space is
// layout and hold nothing a text must not, and line numbers never go back
// (within each file of a KMZ).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "convert/title_rule.h"
#include "formats/format_table.h"
#include "formats/point_check.h"
#include "fuzz/fuzz_check.h"
#include "platform/buffered_writer.h"
#include "platform/clock.h"
#include "text/sjis_scan.h"

namespace velorin::fuzzing {

/// The bytes of one input, handed out in chunks of a size the input picks.
class BytesSource : public ByteSource {
 public:
  BytesSource(const std::uint8_t* data, std::size_t size, std::size_t chunk)
      : data_(data), size_(size), chunk_(chunk == 0 ? 1 : chunk) {}
  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    const std::size_t count = std::min({capacity, chunk_, size_ - position_});
    for (std::size_t i = 0; i < count; ++i) buffer[i] = static_cast<char>(data_[position_ + i]);
    position_ += count;
    return static_cast<std::ptrdiff_t>(count);
  }
  std::error_code error() const override { return {}; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t chunk_;
  std::size_t position_ = 0;
};

/// Swallows what a writer writes.
class NullSink : public ByteSink {
 public:
  bool Write(const char*, std::size_t size) override {
    written += size;
    return true;
  }
  bool Close() override { return true; }
  std::error_code error() const override { return {}; }
  std::size_t written = 0;
};

/// What the title rule promises of every title it gives.
inline void CheckRuledTitle(std::string_view title, const TitleTarget& target,
                            const TitleSource& source) {
  // White space that is layout never breaks a line of the output.
  if (source.spaceIsLayout) FUZZ_CHECK(title.find_first_of("\r\n") == std::string_view::npos);
  // No lead byte alone at the end, to take a closing brace as its second.
  if (target.encoding == TitleEncoding::kCp932) FUZZ_CHECK(!EndsInLoneLeadByte(title));
  if (target.encoding != TitleEncoding::kUtf8) return;
  // UTF-8 that any XML or JSON reader takes: no control character but TAB,
  // CR and LF, no non-character U+FFFE or U+FFFF, no byte that is no UTF-8.
  std::string cleaned;
  FUZZ_CHECK(!ReplaceUtf8Controls(title, cleaned));
}

inline void FuzzPointReader(PointFormat format, const std::uint8_t* data, std::size_t size) {
  // The first byte picks how the input arrives (in one piece or in chunks)
  // and the reader's buffer, for the readers that take its size.
  const std::size_t chunk = size > 0 ? (data[0] % 8 == 0 ? 1 << 16 : data[0] % 61 + 1) : 1;
  constexpr std::size_t kBufferSizes[] = {1 << 16, 4096, 61, 1};
  BytesSource source(data, size, chunk);
  ReaderOptions options;
  options.bufferSize = size > 0 ? kBufferSizes[data[0] / 64] : kBufferSizes[0];
  // An OSM extract's named objects and amenities, their nodes kept past a
  // few kilobytes in the temporary file.
  std::string unused;
  options.osm.tags = *ParseOsmTags("name=*,amenity=*", unused);
  options.osmNodeMemory = 4096;
  const std::unique_ptr<PointReader> reader = InfoOf(format).makeReader(source, options);
  FUZZ_CHECK(reader != nullptr);

  FixedClock clock({"2010/04/01", "14:30:00"});
  NullSink sink;
  BufferedWriter out(sink, 4096);
  std::vector<std::unique_ptr<PointWriter>> writers;
  std::vector<std::unique_ptr<TitleRule>> rules;
  for (const FormatInfo& info : PointFormats()) {
    if (info.makeWriter == nullptr) continue;
    writers.push_back(info.makeWriter(out, clock, {}));
    rules.push_back(std::make_unique<TitleRule>(
        TitleTarget{writers.back()->titleEncoding(), info.titlesAreUnitBytes}));
  }
  const FormatInfo& read = InfoOf(format);
  const TitleSource titles{!read.titlesAreUnitBytes, read.titlesAreUnitBytes};
  for (auto& writer : writers) writer->Begin();

  ReadEntry entry;
  std::int64_t lastLine = 0;
  std::size_t entries = 0;
  while (reader->Next(entry)) {
    FUZZ_CHECK(++entries <= size + 1);  // every entry takes at least one byte
    // A KMZ's linked files count their lines anew.
    FUZZ_CHECK(entry.point.line >= lastLine || format == PointFormat::kKmz);
    lastLine = entry.point.line;
    if (!entry.isPoint) {
      FUZZ_CHECK(!entry.reason.empty());
      continue;
    }
    const Point& point = entry.point;
    if (CheckPoint(point, false, UntitledRule::kKeep)) continue;  // skipped by the run
    FUZZ_CHECK(NviPositionOf(point.position).size() == 17);
    if (const auto* degrees = std::get_if<Degrees>(&point.position)) {
      FUZZ_CHECK(degrees->longitude >= 0.0 && degrees->longitude <= 180.0);
      FUZZ_CHECK(degrees->latitude >= 0.0 && degrees->latitude <= 180.0);
    }
    for (std::size_t i = 0; i < writers.size(); ++i) {
      TitleChange change = TitleChange::kNone;
      std::string_view title = rules[i]->Apply(point, titles, change);
      CheckRuledTitle(title, rules[i]->target(), titles);
      writers[i]->Write(point, title.empty() ? std::string_view("no title") : title);
    }
  }
  for (auto& writer : writers) writer->End();
  FUZZ_CHECK(out.Close());
}

}  // namespace velorin::fuzzing
