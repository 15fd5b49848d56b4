// The data files that ship next to the programs: they load through the
// start-up code, every message the program shows has a text, and all of them
// are Shift-JIS with CR LF line ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "startup/startup.h"
#include "tests/support/temp_folder.h"
#include "text/cp932_decoder.h"

namespace velorin {
namespace {

using testutil::TempFolder;

const std::string kDataFolder = std::string(VELORIN_DATA_DIR) + "/";

// Every message number that the program reads.
const std::set<int> kUsedMessages = {
    0, 1, 2, 3, 5, 10, 11, 12, 15, 16, 20, 21, 22, 23, 30, 31, 32, 33, 34, 35, 36, 40, 41, 42, 45,
    46, 47, 90, 91, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115,
    116, 117, 120, 121, 122, 123, 124, 125, 126, 127, 128, 129, 132, 133, 134, 135, 136, 137, 140,
    141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151, 152, 153, 154, 155, 156,
    // The map window's editing.
    157, 158, 159, 160, 161, 162, 163, 164, 165, 166, 167, 168, 169, 179, 180,
    // The NVI fields under File.
    174, 175, 176, 177, 178,
    // What a save from the map says, asks and refuses.
    60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75,
    // The OpenStreetMap kinds under Tool > Option.
    181, 182, 183, 184,
    // The Close of the map window's File menu in velorin.exe (Qt has its own).
    190,
    // The rest of its menus' commands there: Save, Save As, Undo, Redo,
    // Delete, Rename, Select All, Find.
    191, 192, 193, 194, 195, 196, 197, 198};

// The datum's: its choices in the Tool menu, and a shift that cannot be made.
const std::set<int> kDatumMessages = {170, 171, 172, 173};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

// Loads a shipped message file through the start-up code, with a settings
// file whose first line selects it.
StartupTables LoadShippedMessages(const std::string& language, const std::string& fileName) {
  TempFolder folder;
  std::string settings = language + "\r\n";
  for (int i = 1; i < 16; ++i) settings += "\r\n";
  folder.Write("velorin.ini", settings);
  folder.Write(fileName, ReadBytes(kDataFolder + fileName));
  StartupTables tables;
  LocalFileSystem disk;
  EXPECT_EQ(LoadStartupTables(disk, folder.Folder(), tables), StartupFailure::kNone) << fileName;
  EXPECT_EQ(MessageFileName(tables), fileName);
  return tables;
}

void ExpectUsableMessages(const StartupTables& tables) {
  EXPECT_EQ(tables.messageTable.size(), 200u);
  for (int n = 0; n < static_cast<int>(tables.messageTable.size()); ++n) {
    if (kUsedMessages.count(n) || kDatumMessages.count(n)) {
      EXPECT_FALSE(tables.messageTable[n].empty()) << "message " << n << " is used";
    } else {
      EXPECT_TRUE(tables.messageTable[n].empty()) << "message " << n << " is never read";
    }
  }
  float size = 0;
  EXPECT_TRUE(ParseFontSize(tables.messageTable[1], size));
  EXPECT_EQ(tables.messageTable[22], "-") << "the Help menu separator";
  EXPECT_EQ(tables.messageTable[41], "pot");
  EXPECT_EQ(tables.messageTable[46], "nvi");
  for (int filter : {42, 47}) {
    const std::vector<std::string> parts = Split(tables.messageTable[filter], '|');
    EXPECT_GE(parts.size(), 2u) << "message " << filter;
    EXPECT_EQ(parts.size() % 2, 0u) << "message " << filter << ": description|pattern pairs";
    for (const std::string& part : parts) EXPECT_FALSE(part.empty()) << "message " << filter;
  }
}

TEST(ShippedData, SettingsLoadAsDelivered) {
  StartupTables tables;
  LocalFileSystem disk;
  ASSERT_EQ(LoadStartupTables(disk, kDataFolder, tables), StartupFailure::kNone);
  EXPECT_EQ(tables.systemSettings[0], "1") << "English";
  EXPECT_EQ(tables.systemSettings[1], "0") << "untitled points become \"no title\"";
  EXPECT_EQ(tables.systemSettings[3], "0") << "no log unless the user asks for one";
  for (int n : {2, 4, 5, 6, 7, 11, 12, 13, 14, 15}) {
    EXPECT_EQ(tables.systemSettings[n], "") << "entry " << n << " is not interpreted";
  }
  for (int n : {8, 9}) {
    EXPECT_EQ(tables.systemSettings[n], "") << "entry " << n << ": WGS 84 until the user chooses";
  }
  EXPECT_EQ(tables.systemSettings[10],
            "amenity=fuel,highway=services,highway=rest_area,natural=hot_spring")
      << "an OSM extract gives fuel stations, roadside stations and hot springs";
}

TEST(ShippedData, EnglishMessagesAreUsable) {
  ExpectUsableMessages(LoadShippedMessages("1", "velorin_e.msg"));
}

TEST(ShippedData, JapaneseMessagesAreUsable) {
  ExpectUsableMessages(LoadShippedMessages("0", "velorin_j.msg"));
}

struct ShippedFile {
  const char* name;
  int lines;  // 0: any number
  bool ascii;
};

class ShippedFileFormat : public ::testing::TestWithParam<ShippedFile> {};

TEST_P(ShippedFileFormat, Cp932WithCrLfLineEnds) {
  const ShippedFile& file = GetParam();
  const std::string bytes = ReadBytes(kDataFolder + file.name);
  ASSERT_FALSE(bytes.empty());
  EXPECT_NE(bytes.rfind("\xEF\xBB\xBF", 0), 0u) << "no byte-order mark";
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << "the last line ends too";

  int lines = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') {
      ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at byte " << i;
      ++lines;
      ++i;
    } else {
      ASSERT_NE(bytes[i], '\n') << "lone LF at byte " << i;
    }
  }
  if (file.lines > 0) {
    EXPECT_EQ(lines, file.lines);
  }

  if (file.ascii) {
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  }
  EXPECT_EQ(Cp932ToUtf8(bytes).find("\xEF\xBF\xBD"), std::string::npos) << "valid CP932";
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedFileFormat,
                         ::testing::Values(ShippedFile{"velorin.ini", 16, true},
                                           ShippedFile{"velorin_e.msg", 200, true},
                                           ShippedFile{"velorin_j.msg", 200, false},
                                           ShippedFile{"velorin_hlp_e.txt", 0, true},
                                           ShippedFile{"velorin_hlp_j.txt", 0, false}),
                         [](const ::testing::TestParamInfo<ShippedFile>& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

}  // namespace
}  // namespace velorin
