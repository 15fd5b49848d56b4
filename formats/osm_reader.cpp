#include "formats/osm_reader.h"

#include <deque>
#include <osmium/area/assembler.hpp>
#include <osmium/osm/area.hpp>
#include <osmium/osm/node.hpp>
#include <osmium/osm/relation.hpp>
#include <osmium/osm/way.hpp>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "formats/osm_area_point.h"
#include "formats/osm_blocks.h"
#include "formats/osm_locations.h"
#include "formats/osm_texts.h"
#include "platform/peeked_source.h"

namespace velorin {

namespace {

namespace bits = osmium::osm_entity_bits;

std::vector<OsmTag> TagsOf(const osmium::OSMObject& object) {
  std::vector<OsmTag> tags;
  for (const osmium::Tag& tag : object.tags()) tags.emplace_back(tag.key(), tag.value());
  return tags;
}

bool StartsXml(std::string_view head) {
  if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
  const std::size_t first = head.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && head[first] == '<';
}

std::string Named(std::string_view kind, osmium::object_id_type id) {
  return std::string(kind) + " " + std::to_string(id);
}

class OsmReader final : public PointReader {
 public:
  OsmReader(ByteSource& source, const ReaderOptions& options)
      : source_(source), options_(options), locations_(options.osmNodeMemory) {}

  bool Next(ReadEntry& entry) override {
    while (queue_.empty()) {
      if (!Fill()) return false;
    }
    swap(entry, queue_.front());
    queue_.pop_front();
    return true;
  }

  IgnoredItems ignored() const override { return ignored_; }

 private:
  enum class Pass { kFirst, kMembers, kDone };

  std::unique_ptr<OsmBlocks> OpenBlocks(bits::type kinds) {
    if (!xml_) {
      const std::string_view head =
          source_.Peek(16, [](std::string_view h) { return h.size() >= 16; });
      xml_ = StartsXml(head);
      if (!*xml_ && !StartsOsmPbf(head)) {
        Fail(0, "neither an OSM PBF file nor OSM XML");
        return nullptr;
      }
    }
    return *xml_ ? XmlOsmBlocks(source_, kinds) : PbfBlocks(source_, kinds);
  }

  /// Reads on until entries are queued or the input ends; false at its end.
  bool Fill() {
    if (pass_ == Pass::kDone || failure()) return false;
    if (!blocks_) {
      blocks_ = OpenBlocks(bits::nwr);
      if (!blocks_) return false;
    }
    osmium::memory::Buffer block;
    if (blocks_->Next(block)) {
      if (pass_ == Pass::kFirst)
        TakeFirstPass(block);
      else
        TakeMemberWays(block);
      return true;
    }
    if (blocks_->failure()) {
      FailWith(blocks_->failure());
      return false;
    }
    if (pass_ == Pass::kFirst && !relations_.empty()) return StartMembers();
    if (pass_ == Pass::kMembers) AssembleRelations();
    pass_ = Pass::kDone;
    if (locations_.failed()) Fail(0, "node positions could not be kept in a temporary file");
    return !queue_.empty();
  }

  bool Kept(const osmium::OSMObject& object) const {
    for (const osmium::Tag& tag : object.tags()) {
      if (options_.osm.tags.Keeps(tag.key(), tag.value())) return true;
    }
    return false;
  }

  void TakeFirstPass(const osmium::memory::Buffer& block) {
    for (const osmium::OSMObject& object : block.select<osmium::OSMObject>()) {
      switch (object.type()) {
        case osmium::item_type::node:
          TakeNode(static_cast<const osmium::Node&>(object));
          break;
        case osmium::item_type::way:
          TakeWay(static_cast<const osmium::Way&>(object));
          break;
        case osmium::item_type::relation:
          TakeRelation(static_cast<const osmium::Relation&>(object));
          break;
        default:
          break;
      }
    }
  }

  void TakeNode(const osmium::Node& node) {
    const osmium::Location location = node.location();
    if (!location.valid()) {
      // A node of the kind asked for is said, never dropped in silence.
      if (!node.tags().empty() && Kept(node)) {
        QueueSkip(Named("node", node.id()) + ": it has no position within the world");
      }
      return;
    }
    locations_.Add(node.id(), {location.x(), location.y()});
    if (!node.tags().empty() && Kept(node)) QueuePoint(node, location.lon(), location.lat());
  }

  void TakeWay(const osmium::Way& way) {
    if (way.tags().empty() || !Kept(way)) return;
    const osmium::WayNodeList& nodes = way.nodes();
    if (nodes.size() < 4 || nodes.front().ref() != nodes.back().ref()) {
      ++ignored_[IgnoredKind::kOpenWay];
      return;
    }
    OsmRing ring;
    for (const osmium::NodeRef& node : nodes) {
      const std::optional<NodeLocation> at = locations_.Find(node.ref());
      if (!at)
        return QueueSkip(Named("way", way.id()) + ": its node " + std::to_string(node.ref()) +
                         " is not in the extract");
      ring.points.push_back(LonLatOf(*at));
    }
    QueueArea(way, Named("way", way.id()), {&ring, 1});
  }

  void TakeRelation(const osmium::Relation& relation) {
    if (relation.tags().empty() || !Kept(relation)) return;
    const char* type = relation.tags()["type"];
    if (type == nullptr || std::string_view(type) != "multipolygon") {
      ++ignored_[IgnoredKind::kOtherRelation];
      return;
    }
    for (const osmium::RelationMember& member : relation.members()) {
      if (member.type() == osmium::item_type::way) neededWays_.insert(member.ref());
    }
    relations_.push_back(relationBuffer_.committed());
    relationBuffer_.add_item(relation);
    relationBuffer_.commit();
  }

  /// Reads the file again from its start for the ways of the multipolygons.
  bool StartMembers() {
    pass_ = Pass::kMembers;
    if (!source_.Seek(0)) {
      for (const std::size_t offset : relations_) {
        const auto& relation = relationBuffer_.get<osmium::Relation>(offset);
        QueueSkip(Named("multipolygon", relation.id()) +
                  ": its ways come before it, and this input cannot be read twice");
      }
      pass_ = Pass::kDone;
      return !queue_.empty();
    }
    blocks_ = OpenBlocks(bits::way);
    return blocks_ != nullptr;
  }

  void TakeMemberWays(const osmium::memory::Buffer& block) {
    for (const osmium::Way& way : block.select<osmium::Way>()) {
      if (neededWays_.count(way.id()) == 0 || memberWays_.count(way.id()) > 0) continue;
      const std::size_t offset = memberBuffer_.committed();
      memberBuffer_.add_item(way);
      memberBuffer_.commit();
      memberWays_.emplace(way.id(), offset);
      auto& copy = memberBuffer_.get<osmium::Way>(offset);
      for (osmium::NodeRef& node : copy.nodes()) {
        if (const std::optional<NodeLocation> at = locations_.Find(node.ref())) {
          node.set_location(osmium::Location{at->x, at->y});
        }
      }
    }
  }

  void AssembleRelations() {
    for (const std::size_t offset : relations_) {
      AssembleRelation(relationBuffer_.get<osmium::Relation>(offset));
    }
  }

  void AssembleRelation(const osmium::Relation& relation) {
    const std::string name = Named("multipolygon", relation.id());
    std::vector<const osmium::Way*> members;
    for (const osmium::RelationMember& member : relation.members()) {
      if (member.type() != osmium::item_type::way) continue;
      const auto found = memberWays_.find(member.ref());
      if (found == memberWays_.end()) {
        return QueueSkip(name + ": its way " + std::to_string(member.ref()) +
                         " is not in the extract");
      }
      members.push_back(&memberBuffer_.get<osmium::Way>(found->second));
    }
    osmium::area::AssemblerConfig config;
    config.create_empty_areas = false;
    osmium::area::Assembler assemble{config};
    osmium::memory::Buffer out{1024, osmium::memory::Buffer::auto_grow::yes};
    if (!assemble(relation, members, out) || out.committed() == 0) {
      return QueueSkip(name + ": its ways do not close into rings");
    }
    std::vector<OsmRing> rings;
    const auto& area = out.get<osmium::Area>(0);
    for (const osmium::OuterRing& outer : area.outer_rings()) {
      rings.push_back(RingOf(outer, false));
      for (const osmium::InnerRing& inner : area.inner_rings(outer)) {
        rings.push_back(RingOf(inner, true));
      }
    }
    QueueArea(relation, name, rings);
  }

  static LonLat LonLatOf(NodeLocation at) {
    const osmium::Location location{at.x, at.y};
    return {location.lon_without_check(), location.lat_without_check()};
  }

  static OsmRing RingOf(const osmium::NodeRefList& nodes, bool inner) {
    OsmRing ring;
    ring.inner = inner;
    for (const osmium::NodeRef& node : nodes) {
      ring.points.push_back(
          {node.location().lon_without_check(), node.location().lat_without_check()});
    }
    return ring;
  }

  void QueueArea(const osmium::OSMObject& object, const std::string& name,
                 std::span<const OsmRing> rings) {
    const std::optional<LonLat> at = PointInArea(rings);
    if (!at) return QueueSkip(name + ": its area has no inside");
    QueuePoint(object, at->lon, at->lat);
  }

  void QueuePoint(const osmium::OSMObject& object, double lon, double lat) {
    ReadEntry& entry = queue_.emplace_back();
    const std::vector<OsmTag> tags = TagsOf(object);
    entry.point.title = OsmTitle(tags, options_.osm.nameLanguage);
    entry.point.titleEncoding = TitleEncoding::kUtf8;
    entry.point.position = Degrees{lon, lat, {}};
    SetOsmFields(tags, lon, lat, entry.point.fields);
  }

  void QueueSkip(std::string reason) {
    ReadEntry& entry = queue_.emplace_back();
    entry.isPoint = false;
    entry.skip = SkipKind::kMalformed;
    entry.reason = std::move(reason);
  }

  PeekedSource source_;
  ReaderOptions options_;
  std::optional<bool> xml_;
  std::unique_ptr<OsmBlocks> blocks_;
  Pass pass_ = Pass::kFirst;
  OsmLocations locations_;
  std::deque<ReadEntry> queue_;
  IgnoredItems ignored_;
  /// The multipolygons kept, by their offsets in relationBuffer_.
  std::vector<std::size_t> relations_;
  osmium::memory::Buffer relationBuffer_{1 << 16, osmium::memory::Buffer::auto_grow::yes};
  std::unordered_set<osmium::object_id_type> neededWays_;
  /// Their ways as the second reading found them, with node positions.
  std::unordered_map<osmium::object_id_type, std::size_t> memberWays_;
  osmium::memory::Buffer memberBuffer_{1 << 16, osmium::memory::Buffer::auto_grow::yes};
};

}  // namespace

std::unique_ptr<PointReader> MakeOsmReader(ByteSource& source, const ReaderOptions& options) {
  return std::make_unique<OsmReader>(source, options);
}

std::string_view OsmHolds() {
  return "OpenStreetMap extracts: the objects with the tags of --osm-tags";
}

}  // namespace velorin
