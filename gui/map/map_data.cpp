#include "gui/map/map_data.h"

#include <QMetaObject>
#include <QPointer>

#include "platform/file_system.h"

namespace velorin {

std::shared_ptr<MapData> LoadMapData(const std::string& path, MapReadOptions options) {
  LocalFileSystem files;
  return LoadMapData(files, path, std::move(options));
}

MapDataLoader::MapDataLoader(QObject* parent)
    : QObject(parent), loader_(std::make_shared<LocalFileSystem>()) {}

void MapDataLoader::Load(const std::string& path, MapReadOptions options) {
  QPointer<MapDataLoader> self(this);
  loader_.Load(path, std::move(options),
               [self](std::shared_ptr<MapData> data, MapLoader::Dropped dropped) {
                 // Delivered on the window's thread; dropped when a newer
                 // reading began (or the loader is gone) in the meantime.
                 QMetaObject::invokeMethod(
                     self,
                     [self, dropped, data] {
                       if (self && !dropped->load()) emit self->Loaded(data);
                     },
                     Qt::QueuedConnection);
               });
}

}  // namespace velorin
