#include "map/map_load.h"

namespace velorin {

std::shared_ptr<MapData> LoadMapData(FileSystem& files, const std::string& path,
                                     MapReadOptions options) {
  auto data = std::make_shared<MapData>();
  data->map = ReadEditableMap(files, path, options);
  data->editor = std::make_unique<PointEditor>(*data->map, options.untitled);
  return data;
}

void MapLoader::Stop() {
  if (dropped_) dropped_->store(true);
  if (worker_.joinable()) worker_.join();
}

void MapLoader::Load(const std::string& path, MapReadOptions options, Deliver deliver) {
  Stop();
  dropped_ = std::make_shared<std::atomic<bool>>(false);
  options.keepGoing = [dropped = dropped_] { return !dropped->load(); };
  worker_ = std::thread(
      [&files = files_, dropped = dropped_, path, options, deliver = std::move(deliver)] {
        std::shared_ptr<MapData> data = LoadMapData(files, path, options);
        if (!dropped->load()) deliver(std::move(data), dropped);
      });
}

}  // namespace velorin
