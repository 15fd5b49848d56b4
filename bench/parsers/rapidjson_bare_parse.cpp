// rapidjson_bare_parse FILE: RapidJSON's SAX parser alone over a file, with
// the GeoJSON reader's checks (iterative, UTF-8 checked, numbers as texts)
// and a handler that only counts objects, read in 64 KiB pieces as the
// reader reads, through RapidJSON's own file stream. That stream cannot be
// parsed in place, so the parser copies each string, where the reader's
// own stream (formats/json_source_stream.h) has strings decoded in place.
// The floor that the GeoJSON benchmark holds the reader to.
#include <rapidjson/filereadstream.h>
#include <rapidjson/reader.h>

#include <cstdio>
#include <vector>

namespace {

struct CountingHandler : rapidjson::BaseReaderHandler<rapidjson::UTF8<>, CountingHandler> {
  bool StartObject() {
    ++objects;
    return true;
  }
  unsigned long long objects = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: rapidjson_bare_parse FILE\n");
    return 2;
  }
  std::FILE* file = std::fopen(argv[1], "rb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::vector<char> buffer(1 << 16);
  rapidjson::FileReadStream stream(file, buffer.data(), buffer.size());
  CountingHandler handler;
  rapidjson::Reader reader;
  constexpr unsigned kFlags = rapidjson::kParseIterativeFlag |
                              rapidjson::kParseValidateEncodingFlag |
                              rapidjson::kParseNumbersAsStringsFlag;
  const bool ok = !reader.Parse<kFlags>(stream, handler).IsError();
  std::fclose(file);
  std::fprintf(stderr, "%llu objects\n", handler.objects);
  return ok ? 0 : 1;
}
