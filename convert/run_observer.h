#pragma once
// What a run tells of single entries, for a person who wants to know
// (--explain, the log, the map's list of skipped points).
#include <cstdint>
#include <string_view>

#include "formats/point_reader.h"

namespace velorin {

class RunObserver {
 public:
  virtual ~RunObserver() = default;
  /// An entry gave no record. `entry.point.line` counts physical input
  /// lines from 1 (0 when unknown); its position is valid when
  /// `entry.isPoint` (a point the output cannot hold, an untitled one).
  /// `reason` is UTF-8.
  virtual void OnSkipped(const ReadEntry& entry, SkipKind kind, std::string_view reason) = 0;
  /// A record was written with its title changed on the way (see
  /// TitleChange).
  virtual void OnTitleChanged(const Point& /*point*/, TitleChange /*change*/) {}
  /// A run of several inputs begins to read `path`; the lines told from
  /// here on are its lines.
  virtual void OnInputStarted(std::string_view /*path*/) {}
  /// What the reader of `path` says of how it reads it, once it has begun
  /// ("no column of the header names a title ..."); UTF-8.
  virtual void OnInputNote(std::string_view /*path*/, std::string_view /*note*/) {}
  /// An input of several ended without a single point (none written,
  /// none skipped).
  virtual void OnInputWithoutPoints(std::string_view /*path*/) {}
  /// A point was dropped as a duplicate; `reason` names the point kept.
  virtual void OnDuplicate(const Point& /*point*/, std::string_view /*reason*/) {}
  /// A point was left out by a filter; `reason` names the filter ("outside
  /// --near (52.3 km from its centre)").
  virtual void OnLeftOut(const Point& /*point*/, std::string_view /*reason*/) {}
  /// A record was written with its NVI fields made to fit the block;
  /// `note` says how ("ADDR: 1 brace, semicolon or line break replaced").
  virtual void OnFieldsFitted(const Point& /*point*/, std::string_view /*note*/) {}
};

}  // namespace velorin
