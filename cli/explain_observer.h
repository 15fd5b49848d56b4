#pragma once
// --explain: one "LINE: why" line on standard error for every point that
// gave no record, every title the run changed, every duplicate dropped,
// every point a filter left out;
// "FILE:LINE: why" when several inputs are read.
#include <ostream>
#include <string>
#include <string_view>

#include "convert/run_observer.h"

namespace velorin {

class ProgressLine;

class ExplainObserver : public RunObserver {
 public:
  /// `progress` (may be null) is cleared before each line.
  ExplainObserver(std::ostream& err, ProgressLine* progress) : err_(err), progress_(progress) {}

  void OnSkipped(const ReadEntry& entry, SkipKind kind, std::string_view reason) override;
  void OnTitleChanged(const Point& point, TitleChange change) override;
  void OnInputStarted(std::string_view path) override;
  void OnInputWithoutPoints(std::string_view path) override;
  void OnInputNote(std::string_view path, std::string_view note) override;
  void OnDuplicate(const Point& point, std::string_view reason) override;
  void OnLeftOut(const Point& point, std::string_view reason) override;
  void OnFieldsFitted(const Point& point, std::string_view note) override;

 private:
  /// "LINE: what", or "FILE:LINE: what" when several inputs are read.
  void Say(std::int64_t line, const std::string& what);

  std::ostream& err_;
  ProgressLine* progress_;
  std::string file_;  ///< "FILE:" of the input being read, when there are several
};

}  // namespace velorin
