#pragma once
// The dialog that asks for a point: its title (when one is added) and its
// longitude and latitude, typed in any notation the map takes. The title is
// checked while it is typed. Tests answer it through its seam instead of a
// person, as they answer message boxes.
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace velorin {

struct PointDialogRequest {
  QString caption;
  bool asksTitle = true;
  QString title;  ///< what each box holds when the dialog opens
  QString longitude;
  QString latitude;
  QString titleLabel;
  QString longitudeLabel;
  QString latitudeLabel;
  /// What to say of a title typed (empty: nothing).
  std::function<QString(const QString&)> checkTitle;
};

struct PointDialogAnswer {
  QString title;
  QString longitude;
  QString latitude;
};

/// Modal; nothing when the dialog is cancelled.
std::optional<PointDialogAnswer> AskForPoint(QWidget* parent, const PointDialogRequest& request);

/// Test seam: once enabled, no real dialog is ever shown. Each dialog takes
/// the next queued answer; one with none queued is recorded as unexpected
/// and cancelled.
namespace point_dialog_seam {

struct ShownDialog {
  PointDialogRequest request;
  bool unexpected = false;
};

void EnableTestMode();
void QueueAnswer(const PointDialogAnswer& answer);
void QueueCancel();
const std::vector<ShownDialog>& Shown();
std::size_t PendingAnswers();
void Reset();

}  // namespace point_dialog_seam
}  // namespace velorin
