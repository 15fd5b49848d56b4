#include "platform/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace velorin {

namespace {

/// More links than this on one path is a loop.
constexpr int kMostLinks = 40;

std::error_code ErrorOf(std::errc error) { return std::make_error_code(error); }

/// The steps of `path` without empty and "." ones; ".." takes the step
/// before it away (a root has none above it).
std::vector<std::string> Steps(const std::string& path) {
  std::vector<std::string> steps;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string step = path.substr(start, end - start);
    if (step == "..") {
      if (!steps.empty() && steps.back() != "..") {
        steps.pop_back();
      } else if (path.empty() || path.front() != '/') {
        steps.push_back(step);
      }
    } else if (!step.empty() && step != ".") {
      steps.push_back(step);
    }
    start = end + 1;
  }
  return steps;
}

std::string Joined(bool absolute, const std::vector<std::string>& steps, std::size_t count) {
  std::string path = absolute ? "/" : "";
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) path += '/';
    path += steps[i];
  }
  return path.empty() ? "." : path;
}

/// `path` without "." and ".." steps, doubled or trailing separators.
std::string Normal(const std::string& path) {
  const std::vector<std::string> steps = Steps(path);
  return Joined(!path.empty() && path.front() == '/', steps, steps.size());
}

/// Reads a copy of the file as it was when opened, in pieces, failing
/// where a read error is planted.
class MemorySource : public ByteSource {
 public:
  MemorySource(std::string bytes, std::size_t piece, std::optional<std::size_t> failAfter)
      : bytes_(std::move(bytes)), piece_(piece), failAfter_(failAfter) {}

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    if (error_) return -1;
    std::size_t end = bytes_.size();
    if (failAfter_) {
      // Once that many bytes came, the next read fails, at the end too: a
      // failed read never passes for the end of the file.
      if (position_ >= *failAfter_) {
        error_ = ErrorOf(std::errc::io_error);
        return -1;
      }
      end = std::min(end, *failAfter_);
    }
    const std::size_t count = std::min({capacity, piece_, end - std::min(end, position_)});
    if (count > 0) std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return static_cast<std::ptrdiff_t>(count);
  }
  std::error_code error() const override { return error_; }
  bool Seek(std::uint64_t offset) override {
    if (error_ || !seekable_) return false;
    position_ = static_cast<std::size_t>(std::min<std::uint64_t>(offset, bytes_.size()));
    return true;
  }
  void SetSeekable(bool seekable) { seekable_ = seekable; }

 private:
  bool seekable_ = true;
  std::string bytes_;
  std::size_t piece_;
  std::optional<std::size_t> failAfter_;
  std::size_t position_ = 0;
  std::error_code error_;
};

}  // namespace

/// Writes straight into the file, as a log is written.
class MemoryFileSystem::Writer : public ByteSink {
 public:
  Writer(MemoryFileSystem& files, std::string target) : files_(files), target_(std::move(target)) {}

  bool Write(const char* data, std::size_t size) override {
    if (error_) return false;
    if (closed_) {
      error_ = ErrorOf(std::errc::bad_file_descriptor);
      return false;
    }
    error_ = files_.Append(target_, files_.files_[target_], data, size);
    files_.written_[target_] = ++files_.tick_;
    return !error_;
  }
  bool Close() override {
    closed_ = true;
    return !error_;
  }
  std::error_code error() const override { return error_; }

 private:
  MemoryFileSystem& files_;
  std::string target_;
  bool closed_ = false;
  std::error_code error_;
};

/// Keeps the bytes apart until Commit() puts them in place of the target;
/// after an error a Commit() only discards.
class MemoryFileSystem::Replacer : public ReplacingSink {
 public:
  /// `link`: a link that the file takes the place of (empty: none).
  Replacer(MemoryFileSystem& files, std::string target, std::string link = {})
      : files_(files), target_(std::move(target)), link_(std::move(link)) {}

  bool Write(const char* data, std::size_t size) override {
    if (error_) return false;
    if (closed_) {
      error_ = ErrorOf(std::errc::bad_file_descriptor);
      return false;
    }
    error_ = files_.Append(target_, bytes_, data, size);
    return !error_;
  }
  bool Close() override {
    closed_ = true;
    return !error_;
  }
  bool Commit() override {
    if (finished_) return !error_;
    finished_ = closed_ = true;
    if (error_) return false;
    const Faults* faults = files_.FaultsFor(target_);
    if (faults != nullptr && faults->commitFails) {
      error_ = ErrorOf(std::errc::permission_denied);
      return false;
    }
    files_.folders_.erase(target_);
    if (!link_.empty()) files_.links_.erase(link_);
    files_.files_[target_] = std::move(bytes_);
    files_.written_[target_] = ++files_.tick_;
    return true;
  }
  void Discard() override {
    finished_ = closed_ = true;
    bytes_.clear();
  }
  std::error_code error() const override { return error_; }

 private:
  MemoryFileSystem& files_;
  std::string target_;
  std::string link_;
  std::string bytes_;
  bool closed_ = false;
  bool finished_ = false;
  std::error_code error_;
};

void MemoryFileSystem::AddFile(const std::string& path, std::string bytes) {
  const std::string target = Resolve(path);
  files_[target] = std::move(bytes);
  written_[target] = ++tick_;
}

void MemoryFileSystem::AddFolder(const std::string& path) { folders_.insert(Resolve(path)); }

void MemoryFileSystem::AddLink(const std::string& link, const std::string& target) {
  links_[Normal(link)] = target;
}

std::optional<std::string> MemoryFileSystem::Contents(const std::string& path) const {
  const auto found = files_.find(Resolve(path));
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

MemoryFileSystem::Faults& MemoryFileSystem::FaultsOf(const std::string& path) {
  return faults_[Resolve(path)];
}

std::string MemoryFileSystem::Resolve(const std::string& path) const {
  bool absolute = !path.empty() && path.front() == '/';
  std::vector<std::string> steps = Steps(path);
  int links = 0;
  for (std::size_t count = 1; count <= steps.size(); ++count) {
    const auto link = links_.find(Joined(absolute, steps, count));
    if (link == links_.end() || ++links > kMostLinks) continue;
    // A relative target is taken from the link's own folder.
    const std::string& target = link->second;
    std::string replaced = !target.empty() && target.front() == '/'
                               ? target
                               : Joined(absolute, steps, count - 1) + "/" + target;
    for (std::size_t i = count; i < steps.size(); ++i) replaced += "/" + steps[i];
    absolute = replaced.front() == '/';
    steps = Steps(replaced);
    count = 0;  // from the start again: the target may hold links too
  }
  return Joined(absolute, steps, steps.size());
}

bool MemoryFileSystem::IsFolderPath(const std::string& resolved) const {
  if (resolved == "/" || resolved == "." || folders_.count(resolved) > 0) return true;
  const std::string inside = resolved + "/";
  const auto holds = [&inside](const std::string& path) { return path.starts_with(inside); };
  const auto file = files_.lower_bound(inside);
  if (file != files_.end() && holds(file->first)) return true;
  const auto folder = folders_.lower_bound(inside);
  return folder != folders_.end() && holds(*folder);
}

const MemoryFileSystem::Faults* MemoryFileSystem::FaultsFor(const std::string& resolved) const {
  const auto found = faults_.find(resolved);
  return found == faults_.end() ? nullptr : &found->second;
}

std::error_code MemoryFileSystem::OpeningError(const std::string& resolved) const {
  const Faults* faults = FaultsFor(resolved);
  if (faults != nullptr && faults->open) return ErrorOf(*faults->open);
  if (IsFolderPath(resolved)) return ErrorOf(std::errc::is_a_directory);
  return {};
}

std::error_code MemoryFileSystem::CreatingError(const std::string& resolved) const {
  if (std::error_code error = OpeningError(resolved)) return error;
  const std::size_t slash = resolved.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string(".")
                             : slash == 0               ? std::string("/")
                                                        : resolved.substr(0, slash);
  if (files_.count(folder) > 0) return ErrorOf(std::errc::not_a_directory);
  if (!IsFolderPath(folder)) return ErrorOf(std::errc::no_such_file_or_directory);
  return {};
}

std::error_code MemoryFileSystem::Append(const std::string& target, std::string& bytes,
                                         const char* data, std::size_t size) const {
  const Faults* faults = FaultsFor(target);
  std::size_t room = size;
  if (faults != nullptr && faults->writeFailsAfter) {
    const std::size_t limit = *faults->writeFailsAfter;
    room = bytes.size() >= limit ? 0 : std::min(size, limit - bytes.size());
  }
  bytes.append(data, room);
  return room < size ? ErrorOf(std::errc::no_space_on_device) : std::error_code();
}

std::unique_ptr<ByteSource> MemoryFileSystem::OpenForReading(const std::string& path,
                                                             std::error_code& ec) {
  const std::string target = Resolve(path);
  ec = OpeningError(target);
  if (ec) return nullptr;
  const auto found = files_.find(target);
  if (found == files_.end()) {
    ec = ErrorOf(std::errc::no_such_file_or_directory);
    return nullptr;
  }
  const Faults* faults = FaultsFor(target);
  auto source = std::make_unique<MemorySource>(
      found->second, readPiece_, faults != nullptr ? faults->readFailsAfter : std::nullopt);
  source->SetSeekable(seekable_);
  return source;
}

std::unique_ptr<ByteSink> MemoryFileSystem::OpenForWriting(const std::string& path,
                                                           std::error_code& ec) {
  const std::string target = Resolve(path);
  ec = CreatingError(target);
  if (ec) return nullptr;
  files_[target].clear();
  written_[target] = ++tick_;
  return std::make_unique<Writer>(*this, target);
}

std::unique_ptr<ReplacingSink> MemoryFileSystem::OpenForReplacing(const std::string& path,
                                                                  std::error_code& ec) {
  const std::string target = Resolve(path);
  ec = CreatingError(target);
  if (ec) return nullptr;
  return std::make_unique<Replacer>(*this, target);
}

std::unique_ptr<ReplacingSink> MemoryFileSystem::OpenForReplacingInFolder(const std::string& path,
                                                                          std::error_code& ec) {
  const std::string normal = Normal(path);
  const std::size_t slash = normal.find_last_of('/');
  const std::string folder =
      slash == std::string::npos ? "." : normal.substr(0, std::max<std::size_t>(slash, 1));
  const std::string name = slash == std::string::npos ? normal : normal.substr(slash + 1);
  const std::string resolvedFolder = Resolve(folder);
  const std::string target = Resolve(path);
  const std::size_t targetSlash = target.find_last_of('/');
  const std::string targetFolder = targetSlash == std::string::npos
                                       ? "."
                                       : target.substr(0, std::max<std::size_t>(targetSlash, 1));
  if (targetFolder == resolvedFolder) return OpenForReplacing(path, ec);
  // A link to elsewhere: the file takes the link's own place.
  const std::string own = (resolvedFolder == "/" ? "" : resolvedFolder) + "/" + name;
  ec = CreatingError(own);
  if (ec) return nullptr;
  const std::string link = links_.count(own) > 0 ? own : normal;
  return std::make_unique<Replacer>(*this, own, link);
}

bool MemoryFileSystem::IsLink(const std::string& path) const {
  return links_.count(Normal(path)) > 0;
}

bool MemoryFileSystem::IsNormalFile(const std::string& path) {
  return files_.count(Resolve(path)) > 0;
}

bool MemoryFileSystem::NameSameFile(const std::string& a, const std::string& b) {
  return Resolve(a) == Resolve(b);
}

std::optional<std::string> MemoryFileSystem::IdentityOf(const std::string& path) {
  std::string target = Resolve(path);
  if (files_.find(target) == files_.end()) return std::nullopt;
  return target;
}

std::optional<std::uint64_t> MemoryFileSystem::FileSize(const std::string& path) {
  const auto found = files_.find(Resolve(path));
  if (found == files_.end()) return std::nullopt;
  return found->second.size();
}

std::optional<std::string> MemoryFileSystem::ReadHead(const std::string& path, std::size_t count) {
  const std::string target = Resolve(path);
  const auto found = files_.find(target);
  if (found == files_.end() || OpeningError(target)) return std::nullopt;
  const Faults* faults = FaultsFor(target);
  if (faults != nullptr && faults->readFailsAfter) count = std::min(count, *faults->readFailsAfter);
  return found->second.substr(0, count);
}

bool MemoryFileSystem::IsFolder(const std::string& path) { return IsFolderPath(Resolve(path)); }

std::optional<std::vector<std::string>> MemoryFileSystem::FolderEntries(const std::string& path) {
  const std::string resolved = Resolve(path);
  if (!IsFolderPath(resolved)) return std::nullopt;
  const std::string inside = resolved == "/" ? std::string("/") : resolved + "/";
  std::set<std::string> names;
  const auto take = [&](const std::string& held) {
    if (!held.starts_with(inside) || held.size() == inside.size()) return;
    names.insert(held.substr(inside.size(), held.find('/', inside.size()) - inside.size()));
  };
  for (const auto& [file, bytes] : files_) take(file);
  for (const std::string& folder : folders_) take(folder);
  for (const auto& [link, target] : links_) take(link);
  return std::vector<std::string>(names.begin(), names.end());
}

std::optional<FileStamp> MemoryFileSystem::StampOf(const std::string& path) {
  const std::string target = Resolve(path);
  const auto found = files_.find(target);
  if (found == files_.end()) return std::nullopt;
  const auto written = written_.find(target);
  return FileStamp{target, found->second.size(), written == written_.end() ? 0 : written->second};
}

bool MemoryFileSystem::MakeFolders(const std::string& folder) {
  std::string resolved = Resolve(folder);
  while (resolved.size() > 1 && resolved.back() == '/') resolved.pop_back();
  if (files_.count(resolved) != 0) return false;
  // A folder is there once it is named; those above are implied by it.
  folders_.insert(resolved);
  return true;
}

bool MemoryFileSystem::RemoveFile(const std::string& path) {
  const std::string resolved = Resolve(path);
  if (IsFolderPath(resolved)) return false;
  files_.erase(resolved);
  written_.erase(resolved);
  return true;
}

std::vector<FolderFile> MemoryFileSystem::FilesIn(const std::string& folder) {
  std::string prefix = Resolve(folder);
  if (prefix.empty() || prefix.back() != '/') prefix += '/';
  std::vector<FolderFile> found;
  for (const auto& [path, bytes] : files_) {
    if (path.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string name = path.substr(prefix.size());
    if (name.find('/') != std::string::npos) continue;
    const auto written = written_.find(path);
    found.push_back({name, bytes.size(), written == written_.end() ? 0 : written->second});
  }
  return found;
}

}  // namespace velorin
