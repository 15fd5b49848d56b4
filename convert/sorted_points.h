#pragma once
// The points of a run sorted before any is written (--sort): each point
// that is to become a record is held as it comes, then all are written in
// order at the end; points of equal keys keep the input's order. Per point
// it holds 64 bytes (the position and its code, the line, where its title
// lies, the distance from the centre) and the title's bytes; a title sort
// for a CP932 output holds the title's UTF-8 form too, as its key. Both are
// kept in blocks of 1 MiB, so that holding more never copies what is held.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "convert/point_selection.h"
#include "formats/point_writer.h"
#include "platform/buffered_writer.h"

namespace velorin {

class SortedPoints {
 public:
  /// `titles`: the encoding of the titles held (the writer's).
  SortedPoints(const PointSort& sort, TitleEncoding titles);

  /// Holds `point` to be written under `title` (never empty).
  void Hold(const Point& point, std::string_view title);

  /// Writes the points held, in order, through `write` (each point with its
  /// texts), and lets them go. False as soon as `output` (null: none to look
  /// at) has failed.
  using Write = std::function<void(const Point&, std::string_view title)>;
  bool WriteTo(const Write& write, const BufferedWriter* output);

  std::size_t size() const { return count_; }

 private:
  enum class Kind : std::uint8_t {
    kDegrees,          ///< decimal degrees alone
    kDegreesWithCode,  ///< decimal degrees and their NVI code
    kCode,             ///< the angle integers of an NVI code alone
  };
  struct Held {
    double longitude;
    double latitude;
    double distance;  ///< metres from the centre of a distance sort
    std::int64_t line;
    std::uint64_t code;    ///< the NVI code's 64 bits, or the angle integers x, y
    std::uint32_t block;   ///< the block of texts_ that holds the title
    std::uint32_t offset;  ///< where the title begins in its block
    std::uint32_t titleSize;
    std::uint32_t keySize;  ///< a UTF-8 key after the title; 0: the title is the key
    Kind kind;
  };
  /// The texts of the points that carry any (descriptions, addresses ...),
  /// by the index of their point: most points carry none.
  std::unordered_map<std::uint32_t, PointFields> fields_;
  static constexpr std::size_t kPointsPerBlock = (1u << 20) / sizeof(Held);
  static constexpr std::size_t kTextBlock = 1u << 20;

  Held& At(std::size_t index) const;
  /// Room for `size` bytes of text: the last block, or a new one.
  std::string& TextRoom(std::size_t size);
  std::string_view TitleOf(const Held& held) const;
  std::string_view KeyOf(const Held& held) const;
  /// The indexes of the points held in the order of the sort.
  std::vector<std::uint32_t> Order() const;
  static Point PointOf(const Held& held);

  PointSort sort_;
  TitleEncoding encoding_;
  TitleDecoder decoder_;
  std::vector<std::unique_ptr<Held[]>> points_;
  std::size_t count_ = 0;
  std::vector<std::string> texts_;
};

}  // namespace velorin
