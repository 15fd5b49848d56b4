// expat_bare_parse FILE: expat alone over a file, with namespace processing
// and a start handler that only counts elements, read in 64 KiB pieces
// (XML_Parse). The floor that the formats benchmark holds the GPX and KML
// readers to.
#include <expat.h>

#include <cstdio>
#include <vector>

namespace {

void CountStart(void* data, const XML_Char*, const XML_Char**) {
  ++*static_cast<unsigned long long*>(data);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: expat_bare_parse FILE\n");
    return 2;
  }
  std::FILE* file = std::fopen(argv[1], "rb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  XML_Parser parser = XML_ParserCreateNS(nullptr, ' ');
  unsigned long long elements = 0;
  XML_SetUserData(parser, &elements);
  XML_SetStartElementHandler(parser, &CountStart);
  std::vector<char> buffer(1 << 16);
  bool ok = true;
  for (;;) {
    const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), file);
    const bool last = count < buffer.size();
    if (XML_Parse(parser, buffer.data(), static_cast<int>(count), last) != XML_STATUS_OK) {
      ok = false;
      break;
    }
    if (last) break;
  }
  std::fclose(file);
  XML_ParserFree(parser);
  std::fprintf(stderr, "%llu elements\n", elements);
  return ok ? 0 : 1;
}
