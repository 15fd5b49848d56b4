#pragma once
// Where each node of an OpenStreetMap extract lies, by its id, for the ways
// that name their nodes only by id. Nodes are kept in sorted chunks: in
// memory up to a limit, past it in an anonymous temporary file, so that a
// country's hundreds of millions of nodes cost the same memory as a town's.
// A sorted extract (nodes by ascending id, as extracts come) is found by a
// binary search over the chunks; any other order still is, chunk by chunk.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <list>
#include <optional>
#include <vector>

namespace velorin {

/// A node's position in OpenStreetMap's units (1e-7 degrees).
struct NodeLocation {
  std::int32_t x = 0;  ///< longitude
  std::int32_t y = 0;  ///< latitude
};

class OsmLocations {
 public:
  /// Nodes per chunk.
  static constexpr std::size_t kChunkNodes = std::size_t{1} << 16;
  /// The memory the chunks may take before they go into the file.
  static constexpr std::size_t kDefaultMemory = std::size_t{256} << 20;

  explicit OsmLocations(std::size_t memory = kDefaultMemory);
  ~OsmLocations();
  OsmLocations(const OsmLocations&) = delete;
  OsmLocations& operator=(const OsmLocations&) = delete;

  void Add(std::int64_t id, NodeLocation location);
  /// Nothing for a node not added, and after a failure.
  std::optional<NodeLocation> Find(std::int64_t id);
  /// No temporary file could be made or written: nodes were lost.
  bool failed() const { return failed_; }
  /// The chunks written to the file, for tests and benchmarks.
  std::size_t chunksOnDisk() const { return onDisk_; }

 private:
  struct Entry {
    std::int64_t id;
    NodeLocation location;
  };
  struct Chunk {
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::vector<Entry> entries;  ///< empty when in the file
    std::uint64_t offset = 0;    ///< in the file
    std::size_t count = 0;
  };
  /// Sorts the chunk being filled and keeps it, in memory or the file.
  void Seal();
  std::optional<NodeLocation> FindIn(const Chunk& chunk, std::int64_t id);
  const std::vector<Entry>* Load(const Chunk& chunk);

  std::size_t memory_;
  std::size_t inMemory_ = 0;  ///< bytes of the chunks held
  std::size_t onDisk_ = 0;
  std::vector<Entry> filling_;
  std::vector<Chunk> chunks_;
  bool ascending_ = true;  ///< every id so far above the one before
  std::int64_t lastId_ = INT64_MIN;
  std::FILE* file_ = nullptr;
  std::uint64_t fileSize_ = 0;
  /// Chunks read back from the file, the latest used first.
  std::list<std::pair<std::uint64_t, std::vector<Entry>>> loaded_;
  bool failed_ = false;
};

}  // namespace velorin
