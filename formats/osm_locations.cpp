#include "formats/osm_locations.h"

#include <algorithm>

#include "platform/anonymous_file.h"
#include "platform/native_file.h"

namespace velorin {

namespace {

/// Chunks read back and held at once.
constexpr std::size_t kChunksLoaded = 8;

}  // namespace

OsmLocations::OsmLocations(std::size_t memory) : memory_(memory) { filling_.reserve(kChunkNodes); }

OsmLocations::~OsmLocations() {
  if (file_ != nullptr) std::fclose(file_);
}

void OsmLocations::Add(std::int64_t id, NodeLocation location) {
  if (id <= lastId_) ascending_ = false;
  lastId_ = id;
  filling_.push_back({id, location});
  if (filling_.size() == kChunkNodes) Seal();
}

void OsmLocations::Seal() {
  if (filling_.empty()) return;
  std::sort(filling_.begin(), filling_.end(),
            [](const Entry& a, const Entry& b) { return a.id < b.id; });
  Chunk chunk;
  chunk.first = filling_.front().id;
  chunk.last = filling_.back().id;
  chunk.count = filling_.size();
  const std::size_t bytes = filling_.size() * sizeof(Entry);
  if (inMemory_ + bytes <= memory_) {
    inMemory_ += bytes;
    chunk.entries = std::move(filling_);
  } else {
    if (file_ == nullptr && !failed_) file_ = OpenAnonymousFile();
    failed_ =
        failed_ || file_ == nullptr || !SeekNativeFile(file_, fileSize_) ||
        std::fwrite(filling_.data(), sizeof(Entry), filling_.size(), file_) != filling_.size();
    chunk.offset = fileSize_;
    fileSize_ += bytes;
    ++onDisk_;
  }
  chunks_.push_back(std::move(chunk));
  filling_ = {};
  filling_.reserve(kChunkNodes);
}

const std::vector<OsmLocations::Entry>* OsmLocations::Load(const Chunk& chunk) {
  for (auto held = loaded_.begin(); held != loaded_.end(); ++held) {
    if (held->first == chunk.offset) {
      loaded_.splice(loaded_.begin(), loaded_, held);
      return &loaded_.front().second;
    }
  }
  std::vector<Entry> entries(chunk.count);
  if (failed_ || !SeekNativeFile(file_, chunk.offset) ||
      std::fread(entries.data(), sizeof(Entry), entries.size(), file_) != entries.size()) {
    failed_ = true;
    return nullptr;
  }
  if (loaded_.size() == kChunksLoaded) loaded_.pop_back();
  loaded_.emplace_front(chunk.offset, std::move(entries));
  return &loaded_.front().second;
}

std::optional<NodeLocation> OsmLocations::FindIn(const Chunk& chunk, std::int64_t id) {
  const std::vector<Entry>* entries = chunk.entries.empty() ? Load(chunk) : &chunk.entries;
  if (entries == nullptr) return std::nullopt;
  const auto found =
      std::lower_bound(entries->begin(), entries->end(), id,
                       [](const Entry& e, std::int64_t wanted) { return e.id < wanted; });
  if (found == entries->end() || found->id != id) return std::nullopt;
  return found->location;
}

std::optional<NodeLocation> OsmLocations::Find(std::int64_t id) {
  Seal();
  if (ascending_) {
    // The chunks follow one another: the one whose last id is not below.
    const auto chunk =
        std::lower_bound(chunks_.begin(), chunks_.end(), id,
                         [](const Chunk& c, std::int64_t wanted) { return c.last < wanted; });
    if (chunk == chunks_.end() || chunk->first > id) return std::nullopt;
    return FindIn(*chunk, id);
  }
  for (const Chunk& chunk : chunks_) {
    if (id < chunk.first || id > chunk.last) continue;
    if (std::optional<NodeLocation> found = FindIn(chunk, id)) return found;
  }
  return std::nullopt;
}

}  // namespace velorin
