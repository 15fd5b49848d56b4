#include "gui/map/map_data.h"

#include <QMetaObject>
#include <QPointer>

namespace velorin {

MapDataLoader::MapDataLoader(FileSystem& files, QObject* parent)
    : QObject(parent), loader_(files) {}

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
