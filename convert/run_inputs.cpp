#include "convert/run_inputs.h"

#include <utility>

#include "formats/format_sniff.h"
#include "formats/read_ahead_point_reader.h"

namespace velorin {

RunInputs::RunInputs(FileSystem& files, RunOptions& options, RunFiles& open,
                     std::function<void()> beforeWait, std::function<bool()> keepWaiting)
    : files_(files),
      options_(options),
      open_(open),
      beforeWait_(std::move(beforeWait)),
      keepWaiting_(std::move(keepWaiting)) {}

bool RunInputs::ReadsFolder(const RunInput& input) {
  return InfoOf(input.format).makeFolderReader != nullptr && files_.IsFolder(input.path);
}

bool RunInputs::OpenFirst(std::error_code& error) {
  if (options_.inputs.front().makeReader || ReadsFolder(options_.inputs.front())) return true;
  open_.inputSource = files_.OpenForReading(options_.inputs.front().path, error);
  if (!open_.inputSource || error) return false;
  WrapInput();
  return true;
}

void RunInputs::WrapInput() { open_.input.emplace(*open_.inputSource, beforeWait_, keepWaiting_); }

void RunInputs::StartReading() {
  reader_ = MakeReader(0);
  if (!several()) return;
  auto chain =
      std::make_unique<ChainedPointReader>(std::move(reader_), options_.inputs.size(),
                                           [this](std::size_t index) { return OpenNext(index); });
  chain_ = chain.get();
  reader_ = std::move(chain);
}

std::unique_ptr<PointReader> RunInputs::MakeReader(std::size_t index) {
  ReaderOptions readerOptions;
  readerOptions.textEncoding = options_.inputEncoding;
  readerOptions.untitled = options_.untitled;
  readerOptions.bufferSize = options_.bufferSize;
  readerOptions.points = options_.points;
  readerOptions.thinMetres = options_.thinMetres;
  readerOptions.osm = options_.osm;
  RunInput& input = options_.inputs[index];
  readerOptions.path = input.path;
  // An input in memory has no bytes to look at: its reader gives the
  // entries; a folder's reader opens its files itself.
  const bool folder = ReadsFolder(input);
  ByteSource* source = input.makeReader || folder ? nullptr : &SourceFor(input);
  const FormatInfo& format = InfoOf(input.format);
  if (several() && options_.observer != nullptr) options_.observer->OnInputStarted(input.path);
  if (log_ != nullptr) log_->InputStarted(input.path, several(), format.readByTheLine);
  pointsOfInput_ = 0;
  if (input.makeReader) return input.makeReader();
  if (folder) return format.makeFolderReader(files_, input.path, readerOptions);
  std::unique_ptr<PointReader> reader = format.makeReader(*source, readerOptions);
  // Parsed on a thread of its own while this one writes, but only from a
  // file: a pipe's reader may wait, and waiting lets the host do its work.
  if (format.readsAhead && options_.readAhead && files_.IsNormalFile(input.path)) {
    reader = ReadAheadPointReader::Wrap(std::move(reader));
  }
  return reader;
}

ByteSource& RunInputs::SourceFor(RunInput& input) {
  if (input.basis != FormatBasis::kNothing) return *open_.input;
  // Left open: what the input's first bytes show, as for a file, but read
  // from the input itself, since a pipe cannot be read twice.
  PeekedSource& peeked = open_.peeked.emplace(*open_.input);
  const std::string_view head = peeked.Peek(
      kSniffedBytes, [](std::string_view bytes) { return SniffPointFormat(bytes).has_value(); });
  const std::optional<PointFormat> shown = SniffPointFormat(head);
  if (shown && InfoOf(*shown).makeReader != nullptr) {
    input.format = *shown;
    input.basis = FormatBasis::kContent;
  }
  return peeked;
}

std::unique_ptr<PointReader> RunInputs::OpenNext(std::size_t index) {
  // The chain has moved on to `index` already: the one before it ended.
  InputEnded(index - 1);
  heldBytes_ = heldBytes_ || (open_.input && open_.input->heldBytes());
  open_.CloseInput();
  if (options_.inputs[index].makeReader || ReadsFolder(options_.inputs[index])) {
    return MakeReader(index);
  }
  open_.inputSource = files_.OpenForReading(options_.inputs[index].path, openError_);
  if (!open_.inputSource || openError_) return nullptr;
  WrapInput();
  return MakeReader(index);
}

void RunInputs::InputEnded(std::size_t ended) {
  if (!several() || pointsOfInput_ > 0) return;
  const RunInput& input = options_.inputs[ended];
  withoutPoints_.push_back({input.path, input.format, input.basis});
  if (options_.observer != nullptr) options_.observer->OnInputWithoutPoints(input.path);
}

void RunInputs::Release(RunOutcome& outcome, bool readToTheEnd) {
  if (reader_) {
    if (readToTheEnd) InputEnded(index());
    outcome.inputEncoding = reader_->textEncoding().value_or(TextEncoding::kCp932);
    outcome.encodingWorthSaying = reader_->textBeyondAscii();
    outcome.inputLayout = reader_->layoutNote();
    outcome.ignored = reader_->ignored();
  }
  outcome.inputsWithoutPoints = withoutPoints_;
  if (open_.inputSource || index() > 0) {
    const RunInput& first = options_.inputs.front();
    outcome.firstInput = InputRead{first.path, first.format, first.basis};
  }
  // A reader reading ahead stops here, before its input is looked at.
  reader_.reset();
  chain_ = nullptr;
  outcome.inputHeldBytes = heldBytes_ || (open_.input && open_.input->heldBytes());
}

}  // namespace velorin
