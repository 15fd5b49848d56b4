// A whole conversion run over an in-memory POT file, with a host that
// answers and cancels as the input says and an in-memory file system. The run's output is checked
// against a plain model of the run: the same lines, the same accepted records, every accepted title
// in its block byte for byte, whole twelve-line blocks only, the record limit
// and a cancel at the lines where they happen, the log line by line; and a
// failed or refused run leaves the output file as it was.
//
// Input: the POT file, followed by eight bytes that set the run (read from
// the end): flags, record limit, cancel point, read chunk, fault, fault place
// (two bytes), and how many times the file is repeated (to pass the 64 KiB
// that the encoding is chosen from, counted from the first byte beyond ASCII).
// The repeated file is bounded (kMostRepeated): the harness keeps it, the
// model's output and log and the file system's copies, so that its own
// memory stays far below the limit a run is fuzzed under (-rss_limit_mb=512)
// and only the run's own memory can reach it.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/conversion_run.h"
#include "formats/poi_record.h"
#include "fuzz/fuzz_check.h"
#include "platform/memory_file_system.h"
#include "text/cp932_encoder.h"
#include "text/sjis_scan.h"
#include "text/text_encoding.h"
#include "text/utf8.h"

namespace {

using namespace velorin;

/// The one failure a run meets, planted in the in-memory file system.
enum class Fault { kNone, kReadError, kOutputFull, kLogFull, kCommitFails, kNoOutputFolder };

constexpr std::string_view kInputPath = "/data/in.pot";
constexpr std::string_view kOutputPath = "/data/out.nvi";
constexpr std::string_view kApplicationFolder = "/app/";
constexpr std::string_view kOldOutput = "an older NVI file\n";

/// The most bytes the file repeated grows to: four times what the encoding
/// is chosen from, so that every place of that window is within reach.
constexpr std::size_t kMostRepeated = 4 * kEncodingSniffBytes;

struct Plan {
  std::string untitled;  // settings entry 1
  bool logging = false;
  std::optional<TextEncoding> encoding;  // absent: chosen from the first bytes
  bool outputExists = false;
  bool declineStart = false;
  bool declineOverwrite = false;
  bool outputIsInput = false;
  bool logIsOutput = false;
  bool logIsInput = false;
  std::int32_t recordLimit = kRecordLimit;
  int cancelAt = 0;  // the ProcessEvents call that cancels; 0: none
  std::size_t readChunk = 4096;
  Fault fault = Fault::kNone;
  std::size_t faultAfter = 0;
  std::string input;
};

Plan ReadPlan(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  Plan plan;
  const auto flags = provider.ConsumeIntegral<std::uint8_t>();
  plan.untitled = (flags & 1) ? "0" : "1";
  plan.logging = (flags & 2) != 0;
  switch ((flags >> 2) % 3) {
    case 1:
      plan.encoding = TextEncoding::kCp932;
      break;
    case 2:
      plan.encoding = TextEncoding::kUtf8;
      break;
  }
  plan.outputExists = (flags & 16) != 0;
  plan.declineStart = (flags & 0xE0) == 0x20;
  plan.declineOverwrite = (flags & 0xE0) == 0x40;
  plan.outputIsInput = (flags & 0xE0) == 0x60;
  plan.logIsOutput = (flags & 0xE0) == 0x80;
  plan.logIsInput = (flags & 0xE0) == 0xA0;
  const auto limit = provider.ConsumeIntegral<std::uint8_t>();
  if (limit != 0) plan.recordLimit = limit % 8 + 1;
  plan.cancelAt = provider.ConsumeIntegral<std::uint8_t>();
  const auto chunk = provider.ConsumeIntegral<std::uint8_t>();
  plan.readChunk = chunk == 0 ? 4096 : chunk;
  plan.fault = static_cast<Fault>(provider.ConsumeIntegral<std::uint8_t>() % 6);
  plan.faultAfter = provider.ConsumeIntegral<std::uint16_t>();
  const int repeat = std::max(1, static_cast<int>(provider.ConsumeIntegral<std::uint8_t>()));
  const std::string file = provider.ConsumeRemainingBytesAsString();
  plan.input = file;
  for (int i = 1; i < repeat && plan.input.size() + file.size() <= kMostRepeated; ++i) {
    plan.input += file;
  }
  return plan;
}

/// Answers the two questions as the plan says and cancels at its event step.
class Host : public RunHost {
 public:
  explicit Host(const Plan& plan) : plan_(plan) {}

  bool MayStart() override { return !plan_.declineStart; }
  bool MayReplace(std::string_view) override { return !plan_.declineOverwrite; }
  bool EventStep() override { return ++eventSteps_ != plan_.cancelAt; }

 private:
  const Plan& plan_;
  int eventSteps_ = 0;
};

// --- the model ---------------------------------------------------------

/// Lines end at CR LF, CR or LF; the end after a terminator starts none.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    const std::size_t terminator = text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    text.remove_prefix(end + terminator);
  }
  return lines;
}

std::string Block(const PoiRecord& record) {
  std::string block = "NPOIs100@NRA/R1;\n 2010/04/01_14:30:00_JST;\n 255;\n ";
  block += record.position.view();
  block += ";\n TTL= {";
  // The title's bytes, but a lead byte alone at its end, which would take
  // the closing brace as its second byte.
  std::string title(record.title);
  if (EndsInLoneLeadByte(title)) title.back() = '?';
  block += title;
  block +=
      "};\n CHAR = SJIS;\n ADDR = {};\n HPGL = {};\n MAIL = {};\n LNKF = {};\n COMM = {};\n"
      "eoNPOIs@NRA\n";
  return block;
}

struct Expected {
  std::string output;
  std::string log;
  std::int32_t records = 0;
  bool cancelled = false;
  std::int64_t firstLineNotConverted = 0;
  TextEncoding encoding = TextEncoding::kCp932;
};

/// The bytes of the input a read can give before a planted read error (all
/// of them without one), and whether its end is a clean one.
struct Readable {
  std::size_t bytes;
  bool cleanEnd;
};

Readable ReadableOf(const Plan& plan) {
  // Reads fail once faultAfter bytes were read, even at the end.
  if (plan.fault == Fault::kReadError && plan.faultAfter <= plan.input.size()) {
    return {plan.faultAfter, false};
  }
  return {plan.input.size(), true};
}

/// The encoding of a file whose encoding is not told and that has no
/// byte-order mark, as its reader chooses it at `seen`, its first line with
/// a byte beyond ASCII: CP932 up to there, then as the rest of that line from
/// that byte, a line end and the bytes after it show, kEncodingSniffBytes in
/// all (fewer when a read error comes first).
TextEncoding ChosenAtLine(std::string_view text, std::string_view seen, const Readable& readable) {
  std::string judged(seen.substr(utf8::AsciiPrefixLength(seen)));
  judged += '\n';
  // The line's end: its terminator, CR LF taken whole.
  std::size_t after = static_cast<std::size_t>(seen.data() - text.data()) + seen.size();
  if (after < text.size()) after += text.compare(after, 2, "\r\n") == 0 ? 2 : 1;
  const std::size_t readableAfter = readable.bytes > after ? readable.bytes - after : 0;
  bool whole = false;
  if (judged.size() < kEncodingSniffBytes) {
    const std::size_t wanted = kEncodingSniffBytes - judged.size();
    judged += text.substr(after, std::min(wanted, readableAfter));
    whole = readable.cleanEnd && readableAfter < wanted;
  }
  return DetectTextEncoding(judged, whole).encoding;
}

/// What a run that nothing goes wrong for writes, line by line.
Expected Model(const Plan& plan) {
  Expected expected;
  std::string_view text = plan.input;
  Readable readable = ReadableOf(plan);
  // A byte-order mark is looked for in the first bytes a read gives.
  const bool marked =
      text.substr(0, std::min(readable.bytes, kUtf8ByteOrderMark.size())) == kUtf8ByteOrderMark;
  TextEncoding encoding = plan.encoding.value_or(TextEncoding::kCp932);
  if (!plan.encoding && marked) encoding = TextEncoding::kUtf8;
  if (marked && encoding == TextEncoding::kUtf8) {
    text.remove_prefix(kUtf8ByteOrderMark.size());
    readable.bytes -= kUtf8ByteOrderMark.size();
  }
  const std::vector<std::string_view> lines = Lines(text);
  // Chosen late: at the first line beyond ASCII, once the run reads it.
  const bool late = !plan.encoding && !marked;
  std::size_t firstBeyondAscii = lines.size();
  for (std::size_t i = 0; late && i < lines.size() && firstBeyondAscii == lines.size(); ++i) {
    if (!utf8::IsAscii(lines[i])) firstBeyondAscii = i;
  }
  const TextEncoding chosenLate = late && firstBeyondAscii < lines.size()
                                      ? ChosenAtLine(text, lines[firstBeyondAscii], readable)
                                      : TextEncoding::kCp932;
  Cp932Encoder encoder;
  std::string converted;
  int processEvents = 0;
  std::size_t read = 0;  // the lines the run reads
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (expected.records >= plan.recordLimit) {
      expected.firstLineNotConverted = static_cast<std::int64_t>(i) + 1;
      read = i + 1;  // looked at, to say where the rest begins
      break;
    }
    if (++processEvents == plan.cancelAt) {
      expected.cancelled = true;
      break;
    }
    read = i + 1;
    if (late && i == firstBeyondAscii) encoding = chosenLate;
    std::string_view line = lines[i];
    PotLineOutcome parsed;
    parsed.reason = SkipReason::kNotPointLine;
    converted.clear();
    if (encoding == TextEncoding::kUtf8) {
      if (encoder.Append(line, converted))
        parsed = ParsePotLine(converted, UntitledRuleOfSetting(plan.untitled));
    } else {
      parsed = ParsePotLine(line, UntitledRuleOfSetting(plan.untitled));
    }
    if (parsed.accepted()) {
      expected.output += Block(parsed.record);
      ++expected.records;
    }
    expected.log += "Line# " + std::to_string(expected.records) + "\t";
    if (parsed.accepted()) {
      const PoiRecord& r = parsed.record;
      expected.log += std::string(r.title) + "\t" + std::string(r.longitudeText) + "\t" +
                      std::string(r.latitudeText) + "\t" + r.position.str();
    } else {
      expected.log += "was Skipped";
    }
    expected.log += "\r\n";
  }
  if (late && firstBeyondAscii < read) encoding = chosenLate;
  expected.encoding = encoding;
  // A run that reads nothing (an empty file, a cancel before the first read)
  // has looked at no byte: the encoding is the one told, if any.
  if (plan.input.empty() || plan.cancelAt == 1) {
    expected.encoding = plan.encoding.value_or(TextEncoding::kCp932);
  }
  // The limit reached on the last line: a read error met while looking for
  // the next one leaves the rest unread, from the line after.
  if (expected.records >= plan.recordLimit && expected.firstLineNotConverted == 0 &&
      !expected.cancelled && plan.fault == Fault::kReadError &&
      plan.faultAfter <= plan.input.size()) {
    expected.firstLineNotConverted = static_cast<std::int64_t>(lines.size()) + 1;
  }
  return expected;
}

/// The stage that the planted fault fails the run in.
RunStage FailedStage(const Plan& plan) {
  switch (plan.fault) {
    case Fault::kReadError:
      return RunStage::kReadLine;
    case Fault::kOutputFull:
    case Fault::kCommitFails:
      return RunStage::kWriteRecord;
    case Fault::kLogFull:
      return RunStage::kWriteLog;
    case Fault::kNoOutputFolder:
      return RunStage::kOpenOutput;
    case Fault::kNone:
      break;
  }
  return RunStage::kNone;
}

/// The plan's fault, on the file that meets it.
void PlantFault(const Plan& plan, MemoryFileSystem& files, const std::string& log) {
  const std::string input(kInputPath), output(kOutputPath);
  switch (plan.fault) {
    case Fault::kReadError:
      files.FaultsOf(input).readFailsAfter = plan.faultAfter;
      break;
    case Fault::kOutputFull:
      files.FaultsOf(output).writeFailsAfter = plan.faultAfter;
      break;
    case Fault::kLogFull:
      // Only a log of its own fills: one named like the input or the output
      // is refused before anything is written.
      if (log != input && log != output) files.FaultsOf(log).writeFailsAfter = plan.faultAfter;
      break;
    case Fault::kCommitFails:
      files.FaultsOf(output).commitFails = true;
      break;
    case Fault::kNoOutputFolder:
      files.FaultsOf(output).open = std::errc::no_such_file_or_directory;
      break;
    case Fault::kNone:
      break;
  }
}

std::size_t Count(std::string_view text, char c) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Plan plan = ReadPlan(data, size);
  MemoryFileSystem files;
  const std::string input(kInputPath), output(kOutputPath);
  const std::string log = plan.logIsOutput  ? std::string(kOutputPath)
                          : plan.logIsInput ? std::string(kInputPath)
                                            : std::string(kApplicationFolder) + "velorin_log.txt";
  files.AddFile(input, plan.input);
  files.AddFolder(std::string(kApplicationFolder));
  if (plan.outputExists) files.AddFile(output, std::string(kOldOutput));
  files.SetReadPiece(plan.readChunk);
  PlantFault(plan, files, log);
  const auto before = files.Files();

  Host host(plan);
  FixedClock clock({"2010/04/01", "14:30:00"});
  RunOptions options;
  options.inputs = {{input, PointFormat::kPot}};
  options.outputPath = plan.outputIsInput ? input : output;
  options.untitled = UntitledRuleOfSetting(plan.untitled);
  if (plan.logging) options.logPath = log;
  options.recordLimit = plan.recordLimit;
  // Small buffers: fast runs, and every buffer edge within reach.
  options.bufferSize = 4096;
  options.inputEncoding = plan.encoding;
  ConversionRun run(host, files, clock, options);
  const RunOutcome outcome = run.Execute();

  // The input is never touched.
  FUZZ_CHECK(files.Contents(input) == plan.input);
  FUZZ_CHECK(outcome.records == run.RecordCount());
  const std::optional<std::string> outputNow = files.Contents(output);
  const bool outputAsBefore = plan.outputExists ? outputNow == kOldOutput : !outputNow.has_value();

  switch (outcome.result) {
    case RunResult::kRefusedSamePath:
      FUZZ_CHECK((plan.outputIsInput || (plan.logging && (plan.logIsOutput || plan.logIsInput))) &&
                 files.Files() == before);
      return 0;
    case RunResult::kDeclinedStart:
      FUZZ_CHECK(plan.declineStart && files.Files() == before);
      return 0;
    case RunResult::kDeclinedOverwrite:
      FUZZ_CHECK(plan.declineOverwrite && plan.outputExists && files.Files() == before);
      return 0;
    case RunResult::kFailed:
      FUZZ_CHECK(outputAsBefore);
      FUZZ_CHECK(outcome.failedStage == FailedStage(plan));
      break;
    case RunResult::kFinished:
    case RunResult::kCancelled:
      FUZZ_CHECK(!plan.outputIsInput && !plan.declineStart);
      FUZZ_CHECK(!plan.logging || !(plan.logIsOutput || plan.logIsInput));
      FUZZ_CHECK(!(plan.declineOverwrite && plan.outputExists));
      break;
  }

  const Expected expected = Model(plan);
  if (outcome.result == RunResult::kFailed) {
    // Only a fault that the run meets may fail it.
    switch (plan.fault) {
      case Fault::kReadError:
        FUZZ_CHECK(plan.faultAfter <= plan.input.size());
        break;
      case Fault::kOutputFull:
        FUZZ_CHECK(expected.output.size() > plan.faultAfter);
        break;
      case Fault::kLogFull:
        FUZZ_CHECK(plan.logging && expected.log.size() > plan.faultAfter);
        break;
      case Fault::kNone:
        FUZZ_CHECK(false);
        break;
      case Fault::kCommitFails:
      case Fault::kNoOutputFolder:
        break;
    }
    return 0;
  }
  FUZZ_CHECK(outcome.inputEncoding == expected.encoding);
  FUZZ_CHECK((outcome.result == RunResult::kCancelled) == expected.cancelled);
  FUZZ_CHECK(outcome.records == expected.records);
  FUZZ_CHECK(outcome.firstLineNotConverted == expected.firstLineNotConverted);
  FUZZ_CHECK(outcome.titles.replaced <= outcome.records);
  if (expected.encoding == TextEncoding::kCp932) FUZZ_CHECK(outcome.titles.replaced == 0);

  // The output: the expected blocks, byte for byte, twelve lines each.
  FUZZ_CHECK(outputNow.has_value());
  FUZZ_CHECK(*outputNow == expected.output);
  FUZZ_CHECK(Count(*outputNow, '\n') == 12 * static_cast<std::size_t>(outcome.records));
  if (plan.logging) FUZZ_CHECK(files.Contents(log) == expected.log);

  // Any fault that the run met must have made it fail.
  const bool outputTooBig = expected.output.size() > plan.faultAfter;
  const bool logTooBig = expected.log.size() > plan.faultAfter;
  switch (plan.fault) {
    case Fault::kOutputFull:
      FUZZ_CHECK(!outputTooBig);
      break;
    case Fault::kLogFull:
      FUZZ_CHECK(!plan.logging || !logTooBig);
      break;
    case Fault::kCommitFails:
    case Fault::kNoOutputFolder:
      FUZZ_CHECK(false);
      break;
    case Fault::kReadError:
      // A read error must not pass for the end of the file, unless the run
      // stopped before it needed those bytes.
      FUZZ_CHECK(plan.faultAfter > plan.input.size() || expected.cancelled ||
                 expected.firstLineNotConverted > 0);
      break;
    case Fault::kNone:
      break;
  }

  return 0;
}
