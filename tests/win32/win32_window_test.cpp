// The Win32 main window through its own messages: a file dropped as
// WM_DROPFILES, Convert clicked with BM_CLICK, the reference conversion, a
// failure, the dialogs' cancel rule, the menu items, both languages.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/wide_text_win32.h"
#include "win32/main_window.h"
#include "win32_test_folder.h"

// <windows.h> comes in through main_window.h; DROPFILES needs it.
#include <shlobj.h>

namespace velorin {
namespace {

namespace fs = std::filesystem;
using C = MainControl;

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The NVI text without its time-stamp lines (the clock differs).
std::string WithoutTimeStamps(const std::string& nvi) {
  std::istringstream lines(nvi);
  std::string line;
  std::string kept;
  while (std::getline(lines, line)) {
    if (line.find("_JST;") == std::string::npos) kept += line + "\n";
  }
  return kept;
}

StartupTables Tables(const std::string& language) {
  StartupTables tables;
  tables.systemSettings[0] = language;
  tables.systemSettings[1] = "0";  // untitled points kept, as the worked example has them
  for (std::size_t n = 0; n < tables.messageTable.size(); ++n)
    tables.messageTable[n] = "M" + std::to_string(n);
  tables.messageTable[0] = "Tahoma";
  tables.messageTable[1] = "9";
  tables.messageTable[22] = "-";
  return tables;
}

// A drop as the shell delivers it: DROPFILES, then the wide names.
HGLOBAL DropOf(const std::wstring& file, POINT point) {
  const std::size_t bytes = sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t);
  const HGLOBAL memory = GlobalAlloc(GHND, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = point;
  drop->fWide = TRUE;
  auto* names = reinterpret_cast<wchar_t*>(drop + 1);
  file.copy(names, file.size());
  GlobalUnlock(memory);
  return memory;
}

class Win32WindowTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    folder_ = win32_test::OwnTestFolder(L"velorin_win32_" + Widen(GetParam()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    Win32Seams seams;
    seams.messageBox = [this](const std::string& title, const std::string& text, MessageButtons,
                              MessageAnswer defaultAnswer, MessageIcon) {
      boxes_.push_back(title + "|" + text);
      if (answers_.empty()) return defaultAnswer;
      const MessageAnswer answer = answers_.front();
      answers_.pop_front();
      return answer;
    };
    seams.fileDialog = [](PathKind, const FileDialogSettings&, const std::string&) {
      return std::optional<std::string>();  // every dialog is cancelled
    };
    seams.startProgram = [this](const std::wstring& line) {
      started_.push_back(Narrow(line).value_or(""));
      return true;
    };
    seams.aboutBox = [this](const AboutContent& content) { about_.push_back(content.copyright); };
    window_ = std::make_unique<Win32MainWindow>(Tables(GetParam()),
                                                PortableLocations(folder_.string() + "\\"), seams);
    ShowWindow(window_->Handle(), SW_SHOWNA);
  }
  void TearDown() override {
    window_.reset();
    fs::remove_all(folder_);
  }

  void Drop(const fs::path& file, C target) {
    RECT rect;
    GetWindowRect(window_->ControlHandle(target), &rect);
    POINT point{rect.left + 3, rect.top + 3};
    ScreenToClient(window_->Handle(), &point);
    SendMessageW(window_->Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(DropOf(file.wstring(), point)), 0);
  }
  void Click(C control) { SendMessageW(window_->ControlHandle(control), BM_CLICK, 0, 0); }
  std::wstring Text(C control) {
    wchar_t text[1024] = {};
    GetWindowTextW(window_->ControlHandle(control), text, 1024);
    return text;
  }

  fs::path folder_;
  std::unique_ptr<Win32MainWindow> window_;
  std::deque<MessageAnswer> answers_;
  std::vector<std::string> boxes_;
  std::vector<std::string> started_;
  std::vector<std::string> about_;
};

TEST_P(Win32WindowTest, DroppedReferenceFileConvertsToTheReferenceBytes) {
  const fs::path input = folder_ / L"東京.pot";
  fs::copy_file(fs::path(VELORIN_CONVERT_TEST_DATA) / "worked_example.pot", input);
  Drop(input, C::kText_for_NVI);  // the output box takes it as the input
  EXPECT_EQ(Text(C::kText_for_POT), input.wstring());
  EXPECT_EQ(Text(C::kText_for_NVI), (folder_ / L"東京.nvi").wstring());
  EXPECT_TRUE(IsWindowEnabled(window_->ControlHandle(C::kCommand_for_Convert)));
  answers_ = {MessageAnswer::kYes, MessageAnswer::kOk};
  Click(C::kCommand_for_Convert);
  ASSERT_EQ(boxes_.size(), 2U);
  EXPECT_EQ(boxes_[1].rfind("M90|M106\r\nM107 ", 0), 0U) << boxes_[1];
  EXPECT_EQ(
      WithoutTimeStamps(ReadFile(folder_ / L"東京.nvi")),
      WithoutTimeStamps(ReadFile(fs::path(VELORIN_CONVERT_TEST_DATA) / "worked_example.nvi")));
  EXPECT_TRUE(IsWindowVisible(window_->ControlHandle(C::kCommand_for_Convert)));
  EXPECT_FALSE(IsWindowVisible(window_->ControlHandle(C::kCommand_for_Cancel)));
}

TEST_P(Win32WindowTest, DroppedFileOfEachFormatGivesTheCommandLinesBytes) {
  for (const char* format : {"gpx", "kml", "kmz", "geojson"}) {
    SCOPED_TRACE(format);
    const fs::path input = folder_ / (L"点." + fs::path(format).wstring());
    const fs::path output = folder_ / L"点.nvi";
    const fs::path cases = fs::path(VELORIN_CASES) / (std::string(format) + "_to_nvi");
    fs::copy_file(cases / ("input." + std::string(format)), input);
    fs::remove(output);
    boxes_.clear();
    Drop(input, C::kWindow);
    EXPECT_EQ(Text(C::kText_for_NVI), output.wstring());
    answers_ = {MessageAnswer::kYes, MessageAnswer::kOk};
    Click(C::kCommand_for_Convert);
    ASSERT_EQ(boxes_.size(), 2U);
    EXPECT_EQ(boxes_[1].rfind("M90|M106\r\nM107 ", 0), 0U) << boxes_[1];
    EXPECT_EQ(WithoutTimeStamps(ReadFile(output)),
              WithoutTimeStamps(ReadFile(cases / "expected.nvi")));
  }
}

TEST_P(Win32WindowTest, CancelClickedWhileRunningEndsWithTheCancelledMessage) {
  const fs::path input = folder_ / "many.pot";
  {
    std::ofstream out(input, std::ios::binary);
    for (int i = 0; i < 1000; ++i) out << "ORD=POI/tex=A/kei=139'46'1'6/ido=35'40'52'3\r\n";
  }
  Drop(input, C::kWindow);
  // The click waits in the queue until the run steps its events.
  const HWND cancel = window_->ControlHandle(C::kCommand_for_Cancel);
  PostMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(cancel), BN_CLICKED),
               reinterpret_cast<LPARAM>(cancel));
  answers_ = {MessageAnswer::kYes, MessageAnswer::kYes, MessageAnswer::kOk};
  Click(C::kCommand_for_Convert);
  ASSERT_EQ(boxes_.size(), 3U);
  EXPECT_EQ(boxes_[1].rfind("M90|M108", 0), 0U) << boxes_[1];
  EXPECT_EQ(boxes_[2].rfind("M90|M110", 0), 0U) << boxes_[2];
  EXPECT_TRUE(IsWindowVisible(window_->ControlHandle(C::kCommand_for_Convert)));
}

TEST_P(Win32WindowTest, MissingInputEndsWithItsFailureMessage) {
  Drop(folder_ / "missing.pot", C::kWindow);
  answers_ = {MessageAnswer::kYes, MessageAnswer::kOk};
  Click(C::kCommand_for_Convert);
  ASSERT_FALSE(boxes_.empty());
  EXPECT_EQ(boxes_.back(), "M91|M122\r\nM123");
}

TEST_P(Win32WindowTest, StartQuestionAnsweredNoWritesNothing) {
  const fs::path input = folder_ / "a.pot";
  std::ofstream(input) << "ORD=POI/tex=A/kei=139'46'1'6/ido=35'40'52'3\r\n";
  Drop(input, C::kCommand_for_Quit);
  answers_ = {MessageAnswer::kNo};
  Click(C::kCommand_for_Convert);
  EXPECT_FALSE(fs::exists(folder_ / "a.nvi"));
}

TEST_P(Win32WindowTest, CancelledDialogAppliesTheLastInputAgain) {
  Click(C::kCommand_for_POT);  // cancelled before any input: nothing
  EXPECT_EQ(Text(C::kText_for_POT), L"");
  EXPECT_FALSE(IsWindowEnabled(window_->ControlHandle(C::kCommand_for_Convert)));
  Drop(folder_ / "a.pot", C::kFrame_for_POT);
  SetWindowTextW(window_->ControlHandle(C::kText_for_NVI), L"typed.nvi");
  Click(C::kCommand_for_POT);
  EXPECT_EQ(Text(C::kText_for_NVI), (folder_ / "a.nvi").wstring());
}

TEST_P(Win32WindowTest, MenuItemsShowHelpAndAboutInTheLanguage) {
  const bool japanese = std::string(GetParam()) == "0";
  std::ofstream(folder_ / (japanese ? "velorin_hlp_j.txt" : "velorin_hlp_e.txt")) << "help";
  SendMessageW(window_->Handle(), WM_COMMAND, Win32MainWindow::MenuCommand(MainMenu::kHelpHelp), 0);
  ASSERT_EQ(started_.size(), 1U);
  EXPECT_EQ(started_[0], "Notepad " + folder_.string() + "\\" +
                             (japanese ? "velorin_hlp_j.txt" : "velorin_hlp_e.txt"));
  SendMessageW(window_->Handle(), WM_COMMAND, Win32MainWindow::MenuCommand(MainMenu::kHelpAbout),
               0);
  ASSERT_EQ(about_.size(), 1U);
  EXPECT_EQ(about_[0],
            japanese ? "Copyright (C) 2026 Velorin 開発者" : "Copyright (C) 2026 Velorin team");
  EXPECT_EQ(Text(C::kWindow), L"M2");
}

TEST_P(Win32WindowTest, ToolOptionHoldsTheDatumChoicesTickedAndKept) {
  std::ofstream(folder_ / "velorin.ini", std::ios::binary) << std::string(16, '\n');
  const HMENU bar = GetMenu(window_->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 3);  // File, Tool, Help
  const HMENU option = GetSubMenu(GetSubMenu(bar, 1), 0);
  ASSERT_NE(option, nullptr);
  const auto ticked = [this](MainMenu item) {
    const HMENU now = GetSubMenu(GetSubMenu(GetMenu(window_->Handle()), 1), 0);
    return (GetMenuState(now, Win32MainWindow::MenuCommand(item), MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  // The two datums, then the four OpenStreetMap kinds.
  EXPECT_EQ(GetMenuItemCount(option), 6);
  EXPECT_FALSE(ticked(MainMenu::kToolOptionInputDatum));
  SendMessageW(window_->Handle(), WM_COMMAND,
               Win32MainWindow::MenuCommand(MainMenu::kToolOptionInputDatum), 0);
  EXPECT_TRUE(ticked(MainMenu::kToolOptionInputDatum));
  EXPECT_FALSE(ticked(MainMenu::kToolOptionOutputDatum));
  EXPECT_EQ(ReadFile(folder_ / "velorin.ini"),
            std::string(8, '\n') + "tokyo" + std::string(8, '\n'));
  SendMessageW(window_->Handle(), WM_COMMAND,
               Win32MainWindow::MenuCommand(MainMenu::kToolOptionOsmHotSpring), 0);
  EXPECT_TRUE(ticked(MainMenu::kToolOptionOsmHotSpring));
  EXPECT_FALSE(ticked(MainMenu::kToolOptionOsmFuel));
  EXPECT_EQ(ReadFile(folder_ / "velorin.ini"),
            std::string(8, '\n') + "tokyo\n\nnatural=hot_spring" + std::string(6, '\n'));
}

struct FrameCaptionCase {
  const char* name;
  const char* font;
  const char* caption;
  bool narrowed;
};

class FrameCaptionTest : public ::testing::TestWithParam<FrameCaptionCase> {};

// A frame's size is fixed: a caption longer than its frame is drawn narrower
// to fit, its height kept; a short one keeps its font.
TEST_P(FrameCaptionTest, FitsItsFrame) {
  const FrameCaptionCase& c = GetParam();
  StartupTables tables = Tables("0");
  tables.messageTable[0] = c.font;
  Win32MainWindow window(tables, PortableLocations("C:\\velorin-caption\\"));
  window.SetCaption(C::kFrame_for_POT, c.caption);
  const HWND frame = window.ControlHandle(C::kFrame_for_POT);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW drawn{};
  GetObjectW(font, sizeof drawn, &drawn);
  EXPECT_EQ(drawn.lfWidth != 0, c.narrowed);
  const std::wstring text = Widen(c.caption);
  const HDC dc = GetDC(frame);
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(frame, dc);
  RECT box{};
  GetClientRect(frame, &box);
  EXPECT_LE(size.cx, box.right - 44) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Captions, FrameCaptionTest,
    ::testing::Values(
        FrameCaptionCase{"Short", "Tahoma", "M30", false},
        FrameCaptionCase{"EnglishInputFormats", "IPAPGothic",
                         "Input: POT GPX KML KMZ CSV GeoJSON Photo OSM", true},
        FrameCaptionCase{
            "JapaneseInputFormats", "IPAPGothic",
            "\xE5\x85\xA5\xE5\x8A\x9B: POT\xE3\x83\xBBGPX\xE3\x83\xBBKML\xE3\x83\xBBKMZ\xE3\x83\xBB"
            "CSV\xE3\x83\xBBGeoJSON\xE3\x83\xBBPhoto\xE3\x83\xBBOSM",
            true}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Languages, Win32WindowTest, ::testing::Values("0", "1"),
                         [](const auto& info) {
                           return std::string(info.param) == "0" ? "japanese" : "english";
                         });

}  // namespace
}  // namespace velorin
