#include "gui/map/map_data.h"

#include <QMetaObject>
#include <QPointer>

namespace velorin {

std::shared_ptr<MapData> LoadMapData(FileSystem& files, const std::string& path,
                                     MapReadOptions options) {
  auto data = std::make_shared<MapData>();
  data->map = ReadEditableMap(files, path, options);
  data->editor = std::make_unique<PointEditor>(*data->map, options.untitled);
  return data;
}

MapDataLoader::MapDataLoader(FileSystem& files, QObject* parent) : QObject(parent), files_(files) {}

MapDataLoader::~MapDataLoader() { Stop(); }

void MapDataLoader::Stop() {
  if (cancelled_) cancelled_->store(true);
  if (worker_.joinable()) worker_.join();
}

void MapDataLoader::Load(const std::string& path, MapReadOptions options) {
  Stop();
  cancelled_ = std::make_shared<std::atomic<bool>>(false);
  options.keepGoing = [cancelled = cancelled_] { return !cancelled->load(); };
  QPointer<MapDataLoader> self(this);
  worker_ = std::thread([self, &files = files_, cancelled = cancelled_, path, options] {
    std::shared_ptr<MapData> data = LoadMapData(files, path, options);
    if (cancelled->load()) return;
    // Delivered on the window's thread; dropped when a newer reading began
    // (or the loader is gone) in the meantime.
    QMetaObject::invokeMethod(
        self,
        [self, cancelled, data] {
          if (self && !cancelled->load()) emit self->Loaded(data);
        },
        Qt::QueuedConnection);
  });
}

}  // namespace velorin
