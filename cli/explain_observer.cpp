#include "cli/explain_observer.h"

#include "cli/printable_text.h"
#include "cli/progress.h"
#include "cli/stdio_file_system.h"
#include "formats/poi_record.h"
#include "text/cp932_decoder.h"

namespace velorin {

namespace {

/// The --explain words for a title changed on its way into the output.
std::string_view WhatBecameOfTitle(TitleChange change) {
  switch (change) {
    case TitleChange::kUnshowable:
      return "title CP932 cannot show at all: ";
    case TitleChange::kRecoded:
      return "title's CP932 codes written as their usual form: ";
    case TitleChange::kBrokenBytes:
      return "title's bytes that are no whole CP932 character replaced: ";
    case TitleChange::kTidied:
      return "title's blanks, TABs or line breaks made single blanks: ";
    case TitleChange::kControl:
      return "title's control characters replaced: ";
    case TitleChange::kClosest:
    case TitleChange::kNone:
      break;
  }
  return "title changed to fit CP932: ";
}

std::string TitleText(const Point& point) {
  if (point.title.empty()) return std::string(kNoTitleText);
  return PrintableText(point.titleEncoding == TitleEncoding::kCp932 ? Cp932ToUtf8(point.title)
                                                                    : point.title);
}

std::string FileName(std::string_view path) {
  return path == StdioFileSystem::kStandardInput ? std::string("-") : PrintableText(path);
}

}  // namespace

void ExplainObserver::OnSkipped(const ReadEntry& entry, SkipKind, std::string_view reason) {
  // A point of no line (a photo, an OpenStreetMap object) that was read but
  // not kept is named by its title, as a line would name it.
  const bool named = entry.point.line == 0 && entry.isPoint && !entry.point.title.empty();
  Say(entry.point.line, PrintableText(reason) + (named ? ": " + TitleText(entry.point) : ""));
}

void ExplainObserver::OnTitleChanged(const Point& point, TitleChange change) {
  Say(point.line, std::string(WhatBecameOfTitle(change)) + TitleText(point));
}

void ExplainObserver::OnInputStarted(std::string_view path) { file_ = FileName(path) + ":"; }

void ExplainObserver::OnInputWithoutPoints(std::string_view path) {
  if (progress_ != nullptr) progress_->Clear();
  err_ << (FileName(path) + ": no point found\n");
}

void ExplainObserver::OnInputNote(std::string_view path, std::string_view note) {
  if (progress_ != nullptr) progress_->Clear();
  err_ << (FileName(path) + ": " + PrintableText(note) + "\n");
}

void ExplainObserver::OnDuplicate(const Point& point, std::string_view reason) {
  Say(point.line, PrintableText(reason) + ": " + TitleText(point));
}

void ExplainObserver::OnLeftOut(const Point& point, std::string_view reason) {
  Say(point.line, PrintableText(reason) + ": " + TitleText(point));
}

void ExplainObserver::OnFieldsFitted(const Point& point, std::string_view note) {
  Say(point.line,
      "NVI fields made to fit the block: " + PrintableText(note) + ": " + TitleText(point));
}

void ExplainObserver::Say(std::int64_t line, const std::string& what) {
  if (what.empty()) return;
  if (progress_ != nullptr) progress_->Clear();
  // An entry of no line (a photo, an OpenStreetMap object) names itself.
  err_ << (file_ + (line > 0 ? std::to_string(line) + ": " : std::string()) + what + "\n");
}

}  // namespace velorin
