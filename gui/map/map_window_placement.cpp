#include "gui/map/map_window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <optional>

#include "map/map_window_place.h"
#include "map/map_window_settings.h"

namespace velorin {
namespace {

ScreenRect RectOf(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }

// Where `map` goes, as its outer frame.
ScreenRect FramePlace(const QWidget& map, const QWidget& main, FileSystem& files,
                      const std::string& settingsPath, const QSize& frameExtra) {
  if (const std::optional<ScreenRect> saved = LoadMapWindowPlace(files, settingsPath)) {
    const QRect rect(saved->x, saved->y, saved->width, saved->height);
    const QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (screen == nullptr) screen = main.screen();
    return KeepOnScreen(*saved, RectOf(screen->availableGeometry()));
  }
  const QSize frame = map.size() + frameExtra;
  return PlaceBeside(RectOf(main.frameGeometry()), frame.width(), frame.height(),
                     RectOf(main.screen()->availableGeometry()));
}

void PlaceAndShow(QWidget& map, const QWidget& main, FileSystem& files,
                  const std::string& settingsPath) {
  // The map's frame is taken to be as wide as the main window's, which the
  // window system has drawn already.
  const QSize extra = main.frameGeometry().size() - main.geometry().size();
  const ScreenRect place = FramePlace(map, main, files, settingsPath, extra);
  map.move(place.x, place.y);
  map.resize(place.width - extra.width(), place.height - extra.height());
  map.show();
}

// Shows the map once the main window is first exposed.
class ShowWhenExposed : public QObject {
 public:
  ShowWhenExposed(QWidget& map, QWidget& main, FileSystem& files, std::string settingsPath)
      : QObject(main.windowHandle()),
        map_(&map),
        main_(&main),
        files_(files),
        path_(std::move(settingsPath)) {
    main.windowHandle()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && main_ && main_->windowHandle()->isExposed()) {
      watched->removeEventFilter(this);
      if (map_ && !map_->isVisible()) PlaceAndShow(*map_, *main_, files_, path_);
      deleteLater();
    }
    return false;
  }

 private:
  QPointer<QWidget> map_;
  QPointer<QWidget> main_;
  /// The map's own, which lives as long as the map.
  FileSystem& files_;
  std::string path_;
};

}  // namespace

void ShowBeside(QWidget& map, QWidget& main, FileSystem& files, const std::string& settingsPath) {
  if (main.windowHandle() == nullptr || main.windowHandle()->isExposed()) {
    PlaceAndShow(map, main, files, settingsPath);
  } else {
    new ShowWhenExposed(map, main, files, settingsPath);
  }
}

void RememberPlace(const QWidget& map, FileSystem& files, const std::string& settingsPath) {
  if (settingsPath.empty()) return;
  // A failure to write (or a file that is no settings file) only means the
  // next opening is placed beside again.
  std::error_code ignored;
  SaveMapWindowPlace(files, settingsPath, RectOf(map.frameGeometry()), ignored);
}

}  // namespace velorin
