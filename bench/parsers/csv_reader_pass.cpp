// csv_reader_pass FILE: Velorin's CSV reader alone over a file,
// every entry taken and nothing written, read in 64 KiB pieces. Beside
// velorin-cli's CSV to NVI it shows what reading costs of the run.
#include <cstdio>

#include "formats/csv_reader.h"

namespace {

class FileSource : public velorin::ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}
  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    const std::size_t count = std::fread(buffer, 1, capacity, file_);
    return std::ferror(file_) ? -1 : static_cast<std::ptrdiff_t>(count);
  }
  std::error_code error() const override { return {}; }

 private:
  std::FILE* file_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: csv_reader_pass FILE\n");
    return 2;
  }
  std::FILE* file = std::fopen(argv[1], "rb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  FileSource source(file);
  velorin::CsvReader reader(source);
  velorin::ReadEntry entry;
  unsigned long long points = 0;
  while (reader.Next(entry)) points += entry.isPoint ? 1 : 0;
  std::fclose(file);
  std::fprintf(stderr, "%llu points\n", points);
  return reader.failure() ? 1 : 0;
}
