#include "platform/replacing_file.h"

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

}  // namespace

std::unique_ptr<ReplacingSink> WriteInPlace(std::unique_ptr<ByteSink> sink) {
  return std::make_unique<InPlaceSink>(std::move(sink));
}

}  // namespace velorin
