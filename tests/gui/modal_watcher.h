#pragma once
// Acts on a modal window once it is up, from inside its own event loop, so a
// test can drive exec() without a person. If nothing modal shows up within
// the time limit, every modal window is closed so the test fails instead of
// hanging.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace velorin::testutil {

class ModalWatcher {
 public:
  explicit ModalWatcher(std::function<void(QWidget*)> action) : action_(std::move(action)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(10);
  }

  bool acted() const { return acted_; }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible()) {
      timer_.stop();
      acted_ = true;
      action_(modal);
      return;
    }
    if (++polls_ > kMaxPolls) {
      timer_.stop();
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isModal()) window->close();
      }
    }
  }

  static constexpr int kMaxPolls = 500;  // 5 s
  std::function<void(QWidget*)> action_;
  QTimer timer_;
  bool acted_ = false;
  int polls_ = 0;
};

}  // namespace velorin::testutil
