#pragma once
// The boxes of a run as the window shows them, for every window that hosts
// one: the message numbers of each question's and each end's title and two
// texts, its buttons and default, what follows the texts (the count, the
// record limit, the points skipped), and where the focus goes after a
// refusal or a failure. The engine says how a run ended; this table says
// which box that is.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "convert/run_outcome.h"
#include "formats/format_table.h"
#include "window/message_box_request.h"

namespace velorin {

/// One box of a run: its title, its two texts (joined by CR LF), buttons.
struct RunBox {
  RunMessage kind;
  int title;
  int first;
  int second;
  MessageButtons buttons;
  MessageAnswer defaultAnswer;
};

inline constexpr int kProgressLabelMessage = 5;
inline constexpr int kQuestionTitleMessage = 90;
inline constexpr int kErrorTitleMessage = 91;

inline constexpr RunBox kStartQuestionBox{
    RunMessage::kStartQuestion, kQuestionTitleMessage, 100, 101,
    MessageButtons::kYesNo,     MessageAnswer::kYes};
inline constexpr RunBox kOverwriteQuestionBox{
    RunMessage::kOverwriteQuestion, kQuestionTitleMessage, 102, 103,
    MessageButtons::kYesNo,         MessageAnswer::kNo};
inline constexpr RunBox kCancelQuestionBox{
    RunMessage::kCancelQuestion, kQuestionTitleMessage, 108, 109,
    MessageButtons::kYesNo,      MessageAnswer::kNo};
inline constexpr RunBox kSamePathBox{RunMessage::kSamePath, kErrorTitleMessage, 120, 121,
                                     MessageButtons::kOk,   MessageAnswer::kOk};

/// The failure box of a run that failed at `stage`.
RunBox FailureBox(RunStage stage);
/// The failure box of a save from the map, which may write any format: the
/// second lines that speak of the NVI file speak of the file.
RunBox SaveFailureBox(RunStage stage);
/// The box a save from the map ends with when its run did not finish: the
/// refusal of one file named twice, or the save's failure box; none for a
/// run declined or cancelled, whose person knows already.
std::optional<RunBox> SaveEndBox(const RunOutcome& outcome);

/// The path a refusal or failure concerns: the window brings the user to its
/// browse command.
enum class RunPath { kInput, kOutput };

/// Failures of the output file concern the output, all others the input.
RunPath PathOfFailure(RunStage stage);
/// Two paths that are one: an output named without its format's extension
/// is the likelier mistake.
RunPath PathOfSamePath(const std::string& outputPath, PointFormat output);

/// A message text by number, in the window's encoding.
using MessageLookup = std::function<std::string(int)>;

/// `box` as a request: its texts looked up and joined, `more` after them.
MessageBoxRequest BoxRequest(const RunBox& box, const MessageLookup& message,
                             const std::string& more = {});

/// The finished or cancelled box of a run that ran, with the count and, for
/// a run that ended normally, where the record limit stopped it, the points
/// skipped of an input other than POT, an input of routes or tracks alone.
MessageBoxRequest EndBox(const RunOutcome& outcome, PointFormat input,
                         const MessageLookup& message);

/// " " followed by the decimal digits: how the window writes every count.
std::string CountText(std::int64_t count);

}  // namespace velorin
