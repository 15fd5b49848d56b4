#include <cmath>
#include <cstdlib>
#include <cstring>
#include <osmium/builder/osm_object_builder.hpp>
#include <vector>

#include "formats/osm_blocks.h"
#include "formats/xml_parser.h"

namespace velorin {

namespace {

/// Objects built before a block is handed on.
constexpr std::size_t kBlockObjects = 8192;

const char* Attribute(const char** attributes, const char* name) {
  for (const char** a = attributes; *a != nullptr; a += 2) {
    if (std::strcmp(a[0], name) == 0) return a[1];
  }
  return nullptr;
}

std::optional<std::int64_t> Integer(const char* text) {
  if (text == nullptr || *text == '\0') return std::nullopt;
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (*end != '\0') return std::nullopt;
  return value;
}

std::optional<double> Number(const char* text) {
  if (text == nullptr || *text == '\0') return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (*end != '\0') return std::nullopt;
  return value;
}

enum class Kind { kNone, kNode, kWay, kRelation };

/// One object as its elements come: built into the block when it ends.
struct Pending {
  Kind kind = Kind::kNone;
  std::int64_t id = 0;
  osmium::Location location = osmium::Location();
  std::vector<std::pair<std::string, std::string>> tags;
  std::vector<std::int64_t> nodes;
  struct Member {
    osmium::item_type type;
    std::int64_t ref;
    std::string role;
  };
  std::vector<Member> members;
};

class XmlFile final : public OsmBlocks, private XmlHandler {
 public:
  XmlFile(ByteSource& source, osmium::osm_entity_bits::type kinds)
      : parser_(MakeXmlParser(source, *this, "OSM")), kinds_(kinds) {
    parser_->WantText(false);
  }

  bool Next(osmium::memory::Buffer& block) override {
    block_ = osmium::memory::Buffer(1 << 20, osmium::memory::Buffer::auto_grow::yes);
    objects_ = 0;
    while (!ended_ && objects_ < kBlockObjects) ended_ = !parser_->ParseMore();
    if (failure()) return false;
    if (block_.committed() == 0) return false;
    block = std::move(block_);
    return true;
  }

 private:
  void OnElementStart(const char* name, const char** attributes) override {
    if (depth_++ == 0) {
      if (std::strcmp(name, "osm") != 0) Refuse("the root element is not <osm>");
      return;
    }
    if (depth_ == 2) return StartObject(name, attributes);
    if (depth_ == 3 && pending_.kind != Kind::kNone) AddChild(name, attributes);
  }

  void StartObject(const char* name, const char** attributes) {
    pending_ = Pending{};
    if (std::strcmp(name, "node") == 0) pending_.kind = Kind::kNode;
    if (std::strcmp(name, "way") == 0) pending_.kind = Kind::kWay;
    if (std::strcmp(name, "relation") == 0) pending_.kind = Kind::kRelation;
    if (pending_.kind == Kind::kNone) return;
    const std::optional<std::int64_t> id = Integer(Attribute(attributes, "id"));
    if (!id) return Refuse("an object without a numeric id");
    pending_.id = *id;
    if (pending_.kind != Kind::kNode) return;
    const std::optional<double> lat = Number(Attribute(attributes, "lat"));
    const std::optional<double> lon = Number(Attribute(attributes, "lon"));
    // Outside the world a node has no position (as libosmium's own reader
    // holds it: not valid); such a value would not even fit its fixed point.
    if (lat && lon && std::abs(*lat) <= 90 && std::abs(*lon) <= 180) {
      pending_.location = osmium::Location{*lon, *lat};
    }
  }

  void AddChild(const char* name, const char** attributes) {
    if (std::strcmp(name, "tag") == 0) {
      const char* key = Attribute(attributes, "k");
      const char* value = Attribute(attributes, "v");
      if (key != nullptr && value != nullptr) pending_.tags.emplace_back(key, value);
    } else if (std::strcmp(name, "nd") == 0 && pending_.kind == Kind::kWay) {
      if (const auto ref = Integer(Attribute(attributes, "ref"))) pending_.nodes.push_back(*ref);
    } else if (std::strcmp(name, "member") == 0 && pending_.kind == Kind::kRelation) {
      const char* type = Attribute(attributes, "type");
      const char* role = Attribute(attributes, "role");
      const auto ref = Integer(Attribute(attributes, "ref"));
      if (type == nullptr || !ref) return;
      pending_.members.push_back(
          {osmium::char_to_item_type(type[0]), *ref, role != nullptr ? role : ""});
    }
  }

  void OnElementEnd(const char*) override {
    if (--depth_ == 1 && pending_.kind != Kind::kNone) {
      Build();
      pending_.kind = Kind::kNone;
    }
  }

  void Build() {
    switch (pending_.kind) {
      case Kind::kNode:
        if (kinds_ & osmium::osm_entity_bits::node) BuildNode();
        break;
      case Kind::kWay:
        if (kinds_ & osmium::osm_entity_bits::way) BuildWay();
        break;
      case Kind::kRelation:
        if (kinds_ & osmium::osm_entity_bits::relation) BuildRelation();
        break;
      case Kind::kNone:
        return;
    }
  }

  template <typename Builder>
  void AddTags(Builder& builder) {
    if (pending_.tags.empty()) return;
    osmium::builder::TagListBuilder tags{builder};
    for (const auto& [key, value] : pending_.tags) tags.add_tag(key, value);
  }

  void BuildNode() {
    {
      osmium::builder::NodeBuilder node{block_};
      node.set_id(pending_.id);
      node.set_location(pending_.location);
      AddTags(node);
    }
    Commit();
  }

  void BuildWay() {
    {
      osmium::builder::WayBuilder way{block_};
      way.set_id(pending_.id);
      AddTags(way);
      osmium::builder::WayNodeListBuilder nodes{way};
      for (const std::int64_t ref : pending_.nodes) nodes.add_node_ref(osmium::NodeRef{ref});
    }
    Commit();
  }

  void BuildRelation() {
    {
      osmium::builder::RelationBuilder relation{block_};
      relation.set_id(pending_.id);
      AddTags(relation);
      osmium::builder::RelationMemberListBuilder members{relation};
      for (const Pending::Member& member : pending_.members) {
        members.add_member(member.type, member.ref, member.role);
      }
    }
    Commit();
  }

  void Commit() {
    block_.commit();
    ++objects_;
  }

  void Refuse(std::string why) {
    OnFailure(parser_->CurrentLine(), "not an OSM XML file: " + why);
    parser_->Stop();
  }

  void OnCharacterData(const char*, std::size_t) override {}
  void OnFailure(std::int64_t line, std::string message) override {
    Fail(line, std::move(message));
  }
  bool failed() const override { return failure().has_value(); }

  std::unique_ptr<XmlParser> parser_;
  osmium::osm_entity_bits::type kinds_;
  osmium::memory::Buffer block_{1 << 20, osmium::memory::Buffer::auto_grow::yes};
  std::size_t objects_ = 0;
  int depth_ = 0;
  bool ended_ = false;
  Pending pending_;
};

}  // namespace

std::unique_ptr<OsmBlocks> XmlOsmBlocks(ByteSource& source, osmium::osm_entity_bits::type kinds) {
  return std::make_unique<XmlFile>(source, kinds);
}

}  // namespace velorin
