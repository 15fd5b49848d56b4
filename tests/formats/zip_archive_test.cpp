#include "formats/zip_archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "formats/zip_maker.h"

namespace velorin {
namespace {

using testing::MakeZipLayout;
using testing::Put16;
using testing::Put32;
using testing::ZipLayout;
using testing::ZipMember;

class MemoryZip : public ZipBytes {
 public:
  explicit MemoryZip(std::string bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, char* into, std::size_t count) override {
    if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
    std::memcpy(into, bytes_.data() + offset, count);
    return true;
  }

 private:
  std::string bytes_;
};

const std::string kText = "<kml>" + std::string(5000, 'k') + "</kml>";

/// The first member of `archive` read whole in pieces of 1000 bytes, or the
/// fault that stopped it.
std::variant<std::string, ZipFault> ReadFirst(std::string archive) {
  MemoryZip bytes(std::move(archive));
  ZipDirectory directory;
  ZipEntry entry;
  if (!directory.Open(bytes) || !directory.Next(entry)) return directory.fault();
  ZipMemberReader reader(bytes, entry, directory.start());
  std::string content;
  char buffer[1000];
  for (;;) {
    const std::ptrdiff_t count = reader.Read(buffer, sizeof buffer);
    if (count < 0) return reader.fault();
    if (count == 0) return content;
    content.append(buffer, static_cast<std::size_t>(count));
  }
}

struct ArchiveCase {
  const char* name;
  std::vector<ZipMember> members;
  std::function<void(ZipLayout&)> damage;
  std::variant<std::string, ZipFault> read;
};

void PrintTo(const ArchiveCase& c, std::ostream* out) { *out << c.name; }

class ZipArchiveTest : public ::testing::TestWithParam<ArchiveCase> {};

TEST_P(ZipArchiveTest, ReadsTheFirstMemberOrRefusesIt) {
  ZipLayout layout = MakeZipLayout(GetParam().members);
  if (GetParam().damage) GetParam().damage(layout);
  EXPECT_EQ(ReadFirst(layout.bytes), GetParam().read);
}

const std::vector<ZipMember> kOne = {{"doc.kml", kText}};
const std::vector<ZipMember> kStored = {{"doc.kml", kText, ZipMember::Kind::kFile, false}};

std::size_t Central(const ZipLayout& layout) { return layout.centralHeaders[0]; }

INSTANTIATE_TEST_SUITE_P(
    Archives, ZipArchiveTest,
    ::testing::Values(
        ArchiveCase{"Deflated", kOne, nullptr, kText},
        ArchiveCase{"Stored", kStored, nullptr, kText},
        ArchiveCase{"EmptyMember", {{"doc.kml", ""}}, nullptr, std::string()},
        ArchiveCase{"CommentAfterTheEndRecord", kOne,
                    [](ZipLayout& z) {
                      Put16(z.bytes, z.endRecord + 20, 7);
                      z.bytes += "comment";
                    },
                    kText},
        ArchiveCase{
            "NoArchiveAtAll", {}, [](ZipLayout& z) { z.bytes = "<kml/>"; }, ZipFault::kNotAZip},
        ArchiveCase{"CutOffBeforeItsEnd", kOne,
                    [](ZipLayout& z) { z.bytes.resize(z.bytes.size() / 2); }, ZipFault::kNotAZip},
        ArchiveCase{"CommentLongerThanTheArchive", kOne,
                    [](ZipLayout& z) { Put16(z.bytes, z.endRecord + 20, 100); },
                    ZipFault::kNotAZip},
        ArchiveCase{"DirectoryPastTheEnd", kOne,
                    [](ZipLayout& z) { Put32(z.bytes, z.endRecord + 16, 1u << 30); },
                    ZipFault::kNotAZip},
        ArchiveCase{"NameLongerThanTheDirectory", kOne,
                    [](ZipLayout& z) { Put16(z.bytes, Central(z) + 28, 0xFFFF); },
                    ZipFault::kNotAZip},
        ArchiveCase{"LocalHeaderElsewhere", kOne,
                    [](ZipLayout& z) { Put32(z.bytes, Central(z) + 42, 3); }, ZipFault::kNotAZip},
        ArchiveCase{"LocalHeaderInTheDirectory", kOne,
                    [](ZipLayout& z) {
                      Put32(z.bytes, Central(z) + 42, static_cast<std::uint32_t>(Central(z)));
                    },
                    ZipFault::kNotAZip},
        ArchiveCase{"SizeStatedTooSmall", kOne,
                    [](ZipLayout& z) { Put32(z.bytes, Central(z) + 24, 100); }, ZipFault::kCorrupt},
        ArchiveCase{"SizeStatedTooLarge", kOne,
                    [](ZipLayout& z) { Put32(z.bytes, Central(z) + 24, 1u << 20); },
                    ZipFault::kCorrupt},
        ArchiveCase{"StoredSizesDisagree", kStored,
                    [](ZipLayout& z) { Put32(z.bytes, Central(z) + 24, 10); }, ZipFault::kCorrupt},
        ArchiveCase{"PackedSizePastTheDirectory", kOne,
                    [](ZipLayout& z) { Put32(z.bytes, Central(z) + 20, 1u << 24); },
                    ZipFault::kCorrupt},
        ArchiveCase{"PackedDataCutShort", kOne,
                    [](ZipLayout& z) { Put32(z.bytes, Central(z) + 20, 10); }, ZipFault::kCorrupt},
        ArchiveCase{"WrongCrc", kOne, [](ZipLayout& z) { Put32(z.bytes, Central(z) + 16, 1); },
                    ZipFault::kCorrupt},
        ArchiveCase{"DamagedDeflateData", kOne,
                    [](ZipLayout& z) {
                      for (std::size_t i = 0; i < 8; ++i)
                        z.bytes[z.localHeaders[0] + 37 + i] = '\xFF';
                    },
                    ZipFault::kCorrupt},
        ArchiveCase{"LocalHeaderNamesAnotherMember", kOne,
                    [](ZipLayout& z) { z.bytes[z.localHeaders[0] + 30] = 'x'; },
                    ZipFault::kCorrupt},
        ArchiveCase{"LocalHeaderNameOfAnotherSize", kOne,
                    [](ZipLayout& z) { Put16(z.bytes, z.localHeaders[0] + 26, 6); },
                    ZipFault::kCorrupt},
        ArchiveCase{"LocalHeaderPackedOtherwise", kOne,
                    [](ZipLayout& z) { Put16(z.bytes, z.localHeaders[0] + 8, 0); },
                    ZipFault::kCorrupt},
        ArchiveCase{"UnknownMethod", kOne,
                    [](ZipLayout& z) {
                      Put16(z.bytes, Central(z) + 10, 12);
                      Put16(z.bytes, z.localHeaders[0] + 8, 12);
                    },
                    ZipFault::kUnknownMethod},
        ArchiveCase{"Zip64EntryCount", kOne,
                    [](ZipLayout& z) { Put16(z.bytes, z.endRecord + 10, 0xFFFF); },
                    ZipFault::kZip64},
        ArchiveCase{"Zip64MemberSize", kOne,
                    [](ZipLayout& z) { Put32(z.bytes, Central(z) + 24, 0xFFFFFFFF); },
                    ZipFault::kZip64},
        ArchiveCase{"Zip64Locator", kOne,
                    [](ZipLayout& z) {
                      z.bytes.insert(z.endRecord,
                                     std::string("PK\x06\x07", 4) + std::string(16, '\0'));
                    },
                    ZipFault::kZip64},
        ArchiveCase{"SpannedOverDisks", kOne,
                    [](ZipLayout& z) { Put16(z.bytes, z.endRecord + 4, 1); }, ZipFault::kNotAZip}),
    [](const auto& info) { return std::string(info.param.name); });

struct KindCase {
  const char* name;
  ZipMember member;
  bool isFile;
  bool encrypted;
};

void PrintTo(const KindCase& c, std::ostream* out) { *out << c.name; }

class ZipEntryKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(ZipEntryKindTest, TellsFilesFromLinksAndFolders) {
  MemoryZip bytes(testing::MakeZip({GetParam().member}));
  ZipDirectory directory;
  ZipEntry entry;
  ASSERT_TRUE(directory.Open(bytes));
  ASSERT_TRUE(directory.Next(entry));
  EXPECT_EQ(entry.name, GetParam().member.name);
  EXPECT_EQ(entry.isFile, GetParam().isFile);
  EXPECT_EQ(entry.encrypted(), GetParam().encrypted);
  EXPECT_FALSE(directory.Next(entry));
  EXPECT_EQ(directory.fault(), ZipFault::kNone);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ZipEntryKindTest,
    ::testing::Values(
        KindCase{"File", {"doc.kml", "x"}, true, false},
        KindCase{"SymbolicLink", {"doc.kml", "/etc/passwd", ZipMember::Kind::kLink}, false, false},
        KindCase{"Folder", {"doc.kml", "", ZipMember::Kind::kFolder}, false, false},
        KindCase{"FolderBySlash", {"files/", ""}, false, false},
        KindCase{"Encrypted", {"doc.kml", "x", ZipMember::Kind::kFile, true, 1}, true, true},
        KindCase{"TraversalNameAsWritten", {"../../evil.kml", "x"}, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A directory that claims more entries than it holds ends with a fault, not
// a read past it.
TEST(ZipDirectoryTest, MoreEntriesClaimedThanHeld) {
  ZipLayout layout = MakeZipLayout(kOne);
  Put16(layout.bytes, layout.endRecord + 8, 2);
  Put16(layout.bytes, layout.endRecord + 10, 2);
  MemoryZip bytes(layout.bytes);
  ZipDirectory directory;
  ZipEntry entry;
  ASSERT_TRUE(directory.Open(bytes));
  EXPECT_TRUE(directory.Next(entry));
  EXPECT_FALSE(directory.Next(entry));
  EXPECT_EQ(directory.fault(), ZipFault::kNotAZip);
}

// Packed bytes are taken as inflating needs them: a highly packed member
// shows its ratio from its first read, which the KMZ source's bomb check
// relies on.
TEST(ZipMemberReaderTest, PackedBytesAreCountedAsUsed) {
  MemoryZip bytes(testing::MakeZip({{"doc.kml", std::string(8u << 20, ' ')}}));
  ZipDirectory directory;
  ZipEntry entry;
  ASSERT_TRUE(directory.Open(bytes) && directory.Next(entry));
  ZipMemberReader reader(bytes, entry, directory.start());
  std::vector<char> buffer(1 << 16);
  ASSERT_EQ(reader.Read(buffer.data(), buffer.size()), 1 << 16);
  EXPECT_LT(reader.packedUsed(), entry.packedSize);
  EXPECT_GT(reader.packedUsed(), 0u);
}

}  // namespace
}  // namespace velorin
