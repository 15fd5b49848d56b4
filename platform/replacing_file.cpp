#include "platform/replacing_file.h"

#include <string_view>

#include "platform/abort_cleanup.h"
#include "platform/file_identity.h"
#include "platform/temporary_file.h"

namespace velorin {

namespace {

/// A sink with nothing to replace: committing or discarding only closes it.
class InPlaceSink : public ReplacingSink {
 public:
  explicit InPlaceSink(std::unique_ptr<ByteSink> sink) : sink_(std::move(sink)) {}
  bool Write(const char* data, std::size_t size) override { return sink_->Write(data, size); }
  bool Close() override { return sink_->Close(); }
  std::error_code error() const override { return sink_->error(); }
  bool Commit() override { return sink_->Close(); }
  void Discard() override { sink_->Close(); }

 private:
  std::unique_ptr<ByteSink> sink_;
};

/// The bytes go to the temporary file while it is open; Commit() closes it
/// and renames it over the target, Discard() (or the destructor without a
/// Commit()) closes and removes it. Either one finishes the sink for good;
/// after the first error nothing more is written, and a Commit() discards.
class TemporaryFileSink : public ReplacingSink {
 public:
  explicit TemporaryFileSink(std::unique_ptr<TemporaryFile> file) : file_(std::move(file)) {
    RememberPendingTemporaryFile(file_->PathText());
  }
  ~TemporaryFileSink() override {
    if (!finished_) Discard();
  }
  TemporaryFileSink(const TemporaryFileSink&) = delete;
  TemporaryFileSink& operator=(const TemporaryFileSink&) = delete;

  bool Write(const char* data, std::size_t size) override {
    if (error_) return false;
    if (!open_) {
      error_ = std::make_error_code(std::errc::bad_file_descriptor);
      return false;
    }
    error_ = file_->Write(data, size);
    return !error_;
  }

  bool Close() override {
    if (open_) {
      // On the disk before it takes an old file's place: a crash right after
      // the rename must not leave an empty file where the old one was. A new
      // file has nothing to lose, and is spared the wait.
      if (file_->ReplacesExisting() && !error_) error_ = file_->Sync();
      const std::error_code closed = file_->Close();
      if (!error_) error_ = closed;
      open_ = false;
    }
    return !error_;
  }

  bool Commit() override {
    if (finished_) return !error_;
    if (Close()) error_ = file_->MoveIntoPlace();
    if (error_) {
      Discard();
      return false;
    }
    finished_ = true;
    ForgetPendingTemporaryFile();
    return true;
  }

  void Discard() override {
    if (open_) file_->Close();
    open_ = false;
    if (!finished_) file_->Remove();
    finished_ = true;
    ForgetPendingTemporaryFile();
  }

  std::error_code error() const override { return error_; }

 private:
  std::unique_ptr<TemporaryFile> file_;
  bool open_ = true;
  bool finished_ = false;
  std::error_code error_;
};

}  // namespace

bool IsTemporaryFileName(std::string_view name) {
  constexpr std::string_view kMark = ".velorin-";
  constexpr std::size_t kSuffix = 6;
  // "." + at least one character of the target's name + the mark + suffix.
  if (name.size() < 2 + kMark.size() + kSuffix || name.front() != '.') return false;
  const std::string_view suffix = name.substr(name.size() - kSuffix);
  const std::string_view mark = name.substr(name.size() - kSuffix - kMark.size(), kMark.size());
  if (mark != kMark) return false;
  for (const char c : suffix) {
    const bool alphanumeric =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alphanumeric) return false;
  }
  return true;
}

std::unique_ptr<ReplacingSink> OpenReplacingFile(const std::string& path, std::error_code& ec,
                                                 LinkedFile links) {
  bool follow = true;
  if (links == LinkedFile::kWithinFolder) {
    std::error_code loop;
    const std::string linked = FollowLinks(path, loop);
    // A link to a file of its own folder is followed; any other is the
    // file replaced.
    follow = !loop && (linked == path || LieInOneFolder(path, linked));
  }
  ReplacementTarget target = OpenReplacementTarget(path, follow, ec);
  if (target.temporary) return std::make_unique<TemporaryFileSink>(std::move(target.temporary));
  return target.direct ? WriteInPlace(std::move(target.direct)) : nullptr;
}

std::unique_ptr<ReplacingSink> WriteInPlace(std::unique_ptr<ByteSink> sink) {
  return std::make_unique<InPlaceSink>(std::move(sink));
}

}  // namespace velorin
