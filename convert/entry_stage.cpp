#include "convert/entry_stage.h"

#include <cmath>
#include <utility>

#include "formats/poi_record.h"
#include "formats/point_check.h"

namespace velorin {

namespace {

/// "3", "2.5": metres to one decimal, without a needless ".0".
std::string MetresText(double metres) {
  const auto tenths = static_cast<std::int64_t>(std::llround(metres * 10));
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
  return text + " m";
}

TitleTarget TargetOf(const PointWriter& writer, PointFormat output) {
  return {writer.titleEncoding(), InfoOf(output).titlesAreUnitBytes};
}

/// The fields an output keeps: its format's, or for NVI those asked for.
PointFieldSet KeptFields(const RunOptions& options) {
  if (options.outputFormat == PointFormat::kNvi) return PointFieldsKeptIn(options.nviFields);
  return InfoOf(options.outputFormat).fields;
}

}  // namespace

EntryStage::EntryStage(const RunOptions& options, RunHost& host, PointWriter& writer,
                       const BufferedWriter* output, RunLog* log, RunOutcome& outcome,
                       std::int32_t& recordCount, DatumStage& datum)
    : options_(options),
      host_(host),
      writer_(writer),
      output_(output),
      log_(log),
      outcome_(outcome),
      records_(recordCount),
      datum_(datum),
      rule_(TargetOf(writer, options.outputFormat)),
      ranges_{PositionRange::kNvi, InfoOf(options.outputFormat).positions},
      keptFields_(KeptFields(options)),
      nviFields_(options.outputFormat == PointFormat::kNvi ? options.nviFields : NviFieldSet()) {
  if (options.dedupeMetres) duplicates_.emplace(*options.dedupeMetres);
  if (!options.filters.empty()) {
    selector_.emplace(options.filters, rule_.target().encoding,
                      [&host] { return host.EventStep(); });
    for (const PointFilter& filter : options.filters) {
      outcome.leftOut.push_back({filter.kind, filter.name, 0});
    }
  }
  if (options.sort) sorted_.emplace(*options.sort, rule_.target().encoding);
  outcome.fields.nviAsked = !nviFields_.Empty();
  outcome.textsInUtf8 = rule_.target().encoding == TitleEncoding::kUtf8;
}

void EntryStage::StartInput(std::size_t index) {
  input_ = index;
  const FormatInfo& format = InfoOf(options_.inputs[index].format);
  source_ = {!format.titlesAreUnitBytes, format.titlesAreUnitBytes};
  ranges_.input = format.positions;
  datum_.StartInput(index);
}

EntryStage::Taken EntryStage::Take(ReadEntry& entry) {
  Taken taken = Taken::kPassedOver;
  if (entry.isPoint) {
    taken = TakePoint(entry);
    if (Stops(taken)) return taken;
  } else if (entry.skip != SkipKind::kNotPointLine) {
    Skip(entry, entry.skip, entry.reason);
    taken = Taken::kSkipped;
  } else {
    ++outcome_.linesWithoutPoints;
  }
  if (log_ != nullptr) {
    log_->Entry(entry, taken == Taken::kWritten, countText_.text());
    if (!log_->ok()) return Taken::kLogFailed;
  }
  return taken;
}

EntryStage::Taken EntryStage::TakePoint(ReadEntry& entry) {
  Point& point = entry.point;
  TitleChange change = TitleChange::kNone;
  std::string_view title = rule_.Apply(point, source_, change);
  if (selector_) {
    const PointSelector::Verdict verdict = LeaveOut(point, title);
    if (verdict == PointSelector::Verdict::kStopped) return Taken::kCancelled;
    if (verdict == PointSelector::Verdict::kLeftOut) return Taken::kSkipped;
  }
  const bool moves = datum_.Moves();
  if (const auto problem = moves ? MoveAndCheck(point, title.empty())
                                 : CheckPoint(point, title.empty(), options_.untitled, ranges_)) {
    Skip(entry, problem->first, problem->second);
    return Taken::kSkipped;
  }
  if (title.empty()) title = kNoTitleText;
  if (duplicates_ && DropDuplicate(point, title)) return Taken::kSkipped;
  if (sorted_) {
    sorted_->Hold(point, title);
  } else {
    WritePoint(point, title);
    if (output_ != nullptr && !output_->ok()) return Taken::kWriteFailed;
  }
  ++records_;
  countText_.Increment();
  host_.OnRecordWritten(records_);
  if (change != TitleChange::kNone) CountTitleChange(point, change);
  if (moves) datum_.CountWritten();
  return Taken::kWritten;
}

bool EntryStage::WriteHeld() {
  if (!sorted_) return true;
  return sorted_->WriteTo(
      [this](const Point& point, std::string_view title) { WritePoint(point, title); }, output_);
}

std::optional<std::pair<SkipKind, std::string>> EntryStage::MoveAndCheck(Point& point,
                                                                         bool untitled) {
  // What the input's own format does not hold (a CSV longitude of -200) is
  // skipped as read: a move could take it round the globe into range.
  if (auto problem =
          CheckPoint(point, untitled, options_.untitled, {ranges_.input, ranges_.input})) {
    return problem;
  }
  PointPosition read = point.position;
  if (!datum_.Move(point)) return std::pair{SkipKind::kOutOfRange, datum_.Unmovable(point)};
  auto problem = CheckPoint(point, false, options_.untitled, ranges_);
  if (!problem || problem->first != SkipKind::kOutOfRange) return problem;
  // Outside the output's range as read already (west of Greenwich for
  // NVI): said as read, since the move is not what put it there.
  std::swap(point.position, read);
  auto asRead = CheckPoint(point, false, options_.untitled, {ranges_.output, ranges_.output});
  std::swap(point.position, read);
  if (asRead) return asRead;
  problem->second += datum_.MovedWords();
  return problem;
}

void EntryStage::WriteWithTexts(const Point& point, std::string_view title) {
  FieldCounts& counts = outcome_.fields;
  for (const PointField field : kPointFields) {
    if (IsWhiteSpaceOnly(point.fields.Get(field))) continue;
    if (!keptFields_.Has(field)) {
      ++counts.notKept[IndexOf(field)];
    } else if (point.fields.WasCut(field)) {
      ++counts.cut[IndexOf(field)];
    }
  }
  TextChanges changes;
  FieldTexts texts = rule_.ApplyToFields(point, source_, keptFields_, changes);
  counts.replaced += changes.texts;
  counts.replacedKinds |= changes.kinds;
  if (!nviFields_.Empty()) {
    const NviFieldFit fit = FillNviFields(texts, nviFields_, nviValues_);
    texts = NviFieldTextsOf(nviValues_);
    if (fit.changed()) {
      ++counts.fitted;
      if (options_.observer != nullptr) options_.observer->OnFieldsFitted(point, NviFitNote(fit));
    }
  }
  if (texts.Empty()) {
    writer_.Write(point, title);
  } else {
    writer_.WriteWithFields(point, title, texts);
  }
}

void EntryStage::Skip(const ReadEntry& entry, SkipKind kind, std::string_view reason) {
  outcome_.skipped.Count(kind);
  if (options_.observer != nullptr) options_.observer->OnSkipped(entry, kind, reason);
  if (log_ != nullptr) log_->Skipped(entry.point.line, reason);
}

bool EntryStage::DropDuplicate(const Point& point, std::string_view title) {
  // Titles compare as the output writes them: "～" from a CP932 file and
  // "〜" from a UTF-8 one are one character in an NVI file.
  const Degrees degrees = DegreesOf(point.position);
  const auto input = static_cast<std::uint32_t>(input_);
  const auto found =
      duplicates_->FindOrKeep(title, degrees.longitude, degrees.latitude, {input, point.line});
  if (!found) return false;
  ++outcome_.duplicatesDropped;
  std::string reason = "duplicate of the point of line " + std::to_string(found->origin.line);
  if (found->origin.input != input) reason += " of " + options_.inputs[found->origin.input].path;
  reason += found->metres > 0 ? " (same title, " + MetresText(found->metres) + " away)"
                              : " (same title and position)";
  if (options_.observer != nullptr) options_.observer->OnDuplicate(point, reason);
  if (log_ != nullptr) log_->Skipped(point.line, reason);
  return true;
}

PointSelector::Verdict EntryStage::LeaveOut(const Point& point, std::string_view title) {
  std::size_t filter = 0;
  const PointSelector::Verdict verdict = selector_->Judge(point, title, filter);
  if (verdict != PointSelector::Verdict::kLeftOut) return verdict;
  ++outcome_.leftOut[filter].points;
  if (options_.observer == nullptr && log_ == nullptr) return verdict;
  const std::string reason = selector_->Reason(filter, point);
  if (options_.observer != nullptr) options_.observer->OnLeftOut(point, reason);
  if (log_ != nullptr) log_->Skipped(point.line, reason);
  return verdict;
}

void EntryStage::CountTitleChange(const Point& point, TitleChange change) {
  TitleCounts& titles = outcome_.titles;
  switch (change) {
    case TitleChange::kNone:
      return;
    case TitleChange::kClosest:
      ++titles.replaced;
      break;
    case TitleChange::kUnshowable:
      ++titles.unshowable;
      break;
    case TitleChange::kRecoded:
      ++titles.recoded;
      break;
    case TitleChange::kBrokenBytes:
      ++titles.brokenBytes;
      break;
    case TitleChange::kTidied:
      ++titles.tidied;
      break;
    case TitleChange::kControl:
      ++titles.controls;
      break;
  }
  if (options_.observer != nullptr) options_.observer->OnTitleChanged(point, change);
}

}  // namespace velorin
