#include "map/spilled_points.h"

#include <cerrno>
#include <cstring>

#include "platform/anonymous_file.h"

namespace velorin {
namespace {

/// One spilled point: its longitude and latitude, its title's size, then
/// the title's bytes.
struct SpillHead {
  double longitude = 0.0;
  double latitude = 0.0;
  std::uint32_t titleSize = 0;
};

/// Its bytes in the file: the three members without padding.
constexpr std::size_t kSpillHeadBytes =
    sizeof SpillHead::longitude + sizeof SpillHead::latitude + sizeof SpillHead::titleSize;

std::error_code LastError() {
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

}  // namespace

SpilledMapPoints::SpilledMapPoints(std::size_t kept, SpillOpener open)
    : keep_(kept), open_(open ? std::move(open) : SpillOpener(OpenAnonymousFile)) {}

void SpilledMapPoints::Add(const MapPoint& point, std::string_view title) {
  bounds_.Add(point.position());
  ++count_;
  if (count_ > keep_ && !openTried_) {
    openTried_ = true;
    spill_.reset(open_());
    // Without a temporary file every point stays in memory, as MapPoints
    // keeps them: the picture is the same, only larger to make.
  }
  if (spill_ && count_ > keep_) {
    if (!Spill(point, title) && !error_) error_ = LastError();
    return;
  }
  memory_.Add(point, title);
}

bool SpilledMapPoints::Spill(const MapPoint& point, std::string_view title) {
  SpillHead head;
  head.longitude = point.longitude;
  head.latitude = point.latitude;
  head.titleSize = static_cast<std::uint32_t>(title.size());
  char bytes[kSpillHeadBytes];
  std::memcpy(bytes, &head.longitude, sizeof head.longitude);
  std::memcpy(bytes + 8, &head.latitude, sizeof head.latitude);
  std::memcpy(bytes + 16, &head.titleSize, sizeof head.titleSize);
  return std::fwrite(bytes, sizeof bytes, 1, spill_.get()) == 1 &&
         (title.empty() || std::fwrite(title.data(), title.size(), 1, spill_.get()) == 1);
}

bool SpilledMapPoints::ForEach(const Visit& visit) const {
  std::uint32_t index = 0;
  for (const MapPoint& point : memory_.points()) {
    visit(index++, point.position(), memory_.Title(point));
  }
  if (!spill_ || error_) return !error_;
  std::FILE* file = spill_.get();
  errno = 0;
  if (std::fflush(file) != 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    error_ = LastError();
    return false;
  }
  char bytes[kSpillHeadBytes];
  for (std::size_t spilled = count_ - memory_.size(); spilled > 0; --spilled) {
    SpillHead head;
    if (std::fread(bytes, sizeof bytes, 1, file) != 1) break;
    std::memcpy(&head.longitude, bytes, 8);
    std::memcpy(&head.latitude, bytes + 8, 8);
    std::memcpy(&head.titleSize, bytes + 16, 4);
    title_.resize(head.titleSize);
    if (head.titleSize > 0 && std::fread(title_.data(), head.titleSize, 1, file) != 1) break;
    visit(index++, {head.longitude, head.latitude}, title_);
  }
  if (index != count_) {
    error_ = LastError();
    return false;
  }
  // Writing resumes at the end should more points come.
  std::fseek(file, 0, SEEK_END);
  return true;
}

}  // namespace velorin
