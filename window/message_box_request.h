#pragma once
// A modal message box without icon, as the window shows it: its title, its
// text, its buttons and the default one, and the answer it gives.
#include <string>

namespace velorin {

/// kSaveDiscardCancel: the question of edits not saved.
enum class MessageButtons { kOk, kYesNo, kSaveDiscardCancel };
/// The button pressed. A box closed otherwise (Escape, the close button)
/// answers kNo for a question, kCancel for the question of edits not saved.
enum class MessageAnswer { kOk, kYes, kNo, kSave, kDiscard, kCancel };

/// Which message of a run a box shows, so that a host without a person in
/// front of it (a test) can act on it without reading text.
enum class RunMessage {
  kSamePath,
  kStartQuestion,
  kOverwriteQuestion,
  kFinished,
  kCancelled,
  kCancelQuestion,
  kFailure,
};

struct MessageBoxRequest {
  RunMessage kind;
  std::string title;  ///< a message text, in the window's own encoding
  std::string text;   ///< message texts joined by CR LF, maybe a count text
  MessageButtons buttons;
  MessageAnswer defaultAnswer;  ///< kOk for OK boxes, kYes or kNo for questions
};

}  // namespace velorin
