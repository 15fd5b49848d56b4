#pragma once
// A modal message box as the window shows it: its title, its text, its
// buttons and the default one, the answer it gives, and its icon (none for
// the boxes of a run).
#include <string>

namespace velorin {

/// kSaveDiscardCancel: the question of edits not saved.
enum class MessageButtons { kOk, kYesNo, kSaveDiscardCancel };
/// The button pressed. A box closed otherwise (Escape, the close button)
/// answers kNo for a question, kCancel for the question of edits not saved.
enum class MessageAnswer { kOk, kYes, kNo, kSave, kDiscard, kCancel };

/// The icon of a box: none for the run's boxes and the missing help file;
/// the kind of the message, as the system draws it, for the boxes beyond them.
enum class MessageIcon { kNone, kInformation, kWarning, kError };

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
