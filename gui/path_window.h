#pragma once
// What path selection needs of the window that holds the two paths: the two
// path boxes, the Convert command and the file dialog of each path. The main
// window implements it; path selection knows nothing else of the window.
class QLineEdit;
class QPushButton;
class QWidget;

namespace velorin {

class CommonDialog;

class PathWindow {
 public:
  virtual QLineEdit* InputPathBox() = 0;
  virtual QLineEdit* OutputPathBox() = 0;
  virtual QPushButton* ConvertCommand() = 0;
  virtual CommonDialog* InputDialog() = 0;
  virtual CommonDialog* OutputDialog() = 0;
  /// The parent of the modal file dialogs.
  virtual QWidget* DialogParent() = 0;

 protected:
  ~PathWindow() = default;
};

}  // namespace velorin
