// The Win32 window's keyboard and its real message boxes under Wine: keys
// posted as WM_KEYDOWN to the control that has the focus and run through the
// window's own message handling (IsDialogMessageW), each question of a run
// answered with Escape or the title bar's close button, the focus after a
// box, and the keys that ask to cancel a run.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "platform/wide_text_win32.h"
#include "win32/main_window.h"
#include "win32_test_folder.h"

namespace velorin {
namespace {

namespace fs = std::filesystem;
using C = MainControl;

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WritePoints(const fs::path& path, int count) {
  std::ofstream out(path, std::ios::binary);
  for (int i = 0; i < count; ++i) out << "ORD=POI/tex=A/kei=139'46'1'6/ido=35'40'52'3\r\n";
}

int BlockCount(const std::string& nvi) {
  int count = 0;
  for (std::size_t at = nvi.find("eoNPOIs@NRA"); at != std::string::npos;
       at = nvi.find("eoNPOIs@NRA", at + 1))
    ++count;
  return count;
}

StartupTables Tables() {
  StartupTables tables;
  tables.systemSettings[0] = "1";
  tables.systemSettings[1] = "0";
  for (std::size_t n = 0; n < tables.messageTable.size(); ++n)
    tables.messageTable[n] = "M" + std::to_string(n);
  tables.messageTable[0] = "Tahoma";
  tables.messageTable[1] = "9";
  return tables;
}

// What a person does to a message box.
enum class BoxAction { kYes, kOk, kEscape, kClose };

// Answers the real message boxes of the thread, one action per box, from a
// thread timer: its messages reach it inside the box's own modal loop. Each
// box's text is kept; a box with no action left is closed and noted. After
// the first answer, `afterFirst` runs (posting what must wait for it).
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::deque<BoxAction> actions, std::function<void()> afterFirst = {})
      : actions_(std::move(actions)), afterFirst_(std::move(afterFirst)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 20, &BoxAnswerer::Tick);
  }
  ~BoxAnswerer() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  std::vector<std::string> texts;
  int unexpected = 0;

 private:
  static BOOL CALLBACK FindBox(HWND window, LPARAM answerer) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    auto& self = *reinterpret_cast<BoxAnswerer*>(answerer);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    // A box answered before may still be closing.
    if (std::find(self.answered_.begin(), self.answered_.end(), window) != self.answered_.end())
      return TRUE;
    self.found_ = window;
    return FALSE;
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_ != nullptr) current_->Answer();
  }

  void Answer() {
    found_ = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &BoxAnswerer::FindBox, reinterpret_cast<LPARAM>(this));
    const HWND box = found_;
    if (box == nullptr) return;
    answered_.push_back(box);
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);  // the text of a message box
    texts.push_back(Narrow(text).value_or(""));
    BoxAction action = BoxAction::kClose;
    if (actions_.empty()) {
      ++unexpected;
    } else {
      action = actions_.front();
      actions_.pop_front();
    }
    const HWND focus = GetFocus();
    switch (action) {
      case BoxAction::kYes:
        PostMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
        break;
      case BoxAction::kOk:
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        break;
      case BoxAction::kEscape:
        PostMessageW(focus != nullptr ? focus : box, WM_KEYDOWN, VK_ESCAPE, 0);
        break;
      case BoxAction::kClose:
        PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
    if (answered_.size() == 1 && afterFirst_) afterFirst_();
  }

  static inline BoxAnswerer* current_ = nullptr;
  std::deque<BoxAction> actions_;
  std::function<void()> afterFirst_;
  UINT_PTR timer_ = 0;
  std::vector<HWND> answered_;
  HWND found_ = nullptr;
};

class Win32KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = win32_test::OwnTestFolder(L"velorin_win32_keys");
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    window_.reset();
    fs::remove_all(folder_);
  }

  // realBoxes: MessageBoxW itself; otherwise boxes are recorded and
  // answered No (or OK).
  void Open(bool realBoxes) {
    Win32Seams seams;
    if (!realBoxes) {
      seams.messageBox = [this](const std::string&, const std::string& text, MessageButtons,
                                MessageAnswer, MessageIcon) {
        boxes_.push_back(text);
        return MessageAnswer::kNo;
      };
    }
    seams.fileDialog = [this](PathKind path, const FileDialogSettings&, const std::string&) {
      dialogs_.push_back(path);
      return std::optional<std::string>();
    };
    window_ = std::make_unique<Win32MainWindow>(
        Tables(), PortableLocations(folder_.string() + "\\"), std::move(seams));
    ShowWindow(window_->Handle(), SW_SHOW);
    SetForegroundWindow(window_->Handle());
    Pump();
  }

  HWND Control(C control) const { return window_->ControlHandle(control); }

  // Runs what is queued through the window's own handling, as its message
  // loop does.
  void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) break;
      window_->Dispatch(message);
    }
  }

  void Press(WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0);
    Pump();
  }

  fs::path folder_;
  std::unique_ptr<Win32MainWindow> window_;
  std::vector<std::string> boxes_;
  std::vector<PathKind> dialogs_;
};

// Return presses the command that has the focus; on a path box it does
// nothing.
struct ReturnCase {
  const char* name;
  C focus;
  std::vector<std::string> boxes;
  std::vector<PathKind> dialogs;
  bool closes = false;
};

void PrintTo(const ReturnCase& c, std::ostream* out) { *out << c.name; }

class ReturnKeyTest : public Win32KeyboardTest, public ::testing::WithParamInterface<ReturnCase> {};

TEST_P(ReturnKeyTest, PressesTheFocusedCommand) {
  const ReturnCase& c = GetParam();
  Open(false);
  WritePoints(folder_ / "a.pot", 1);
  window_->Presenter().AcceptInputPath((folder_ / "a.pot").string());
  ASSERT_EQ(GetFocus(), Control(C::kCommand_for_Convert)) << "Convert takes the focus";
  SetFocus(Control(c.focus));
  Press(VK_RETURN);
  EXPECT_EQ(boxes_, c.boxes);
  EXPECT_EQ(dialogs_, c.dialogs);
  EXPECT_EQ(window_->Handle() == nullptr, c.closes);
  EXPECT_FALSE(fs::exists(folder_ / "a.nvi"));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ReturnKeyTest,
    ::testing::Values(ReturnCase{"Convert", C::kCommand_for_Convert, {"M100\r\nM101"}, {}},
                      ReturnCase{"InputBrowse", C::kCommand_for_POT, {}, {PathKind::kInput}},
                      ReturnCase{"OutputBrowse", C::kCommand_for_NVI, {}, {PathKind::kOutput}},
                      ReturnCase{"Quit", C::kCommand_for_Quit, {}, {}, true},
                      ReturnCase{"InputPathBox", C::kText_for_POT, {}, {}},
                      ReturnCase{"OutputPathBox", C::kText_for_NVI, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32KeyboardTest, TabFollowsTheTabIndexes) {
  Open(false);
  window_->Presenter().AcceptInputPath((folder_ / "a.pot").string());
  SetFocus(Control(C::kCommand_for_POT));
  // Frames and labels take no focus; Cancel is hidden while idle.
  const C order[] = {C::kCommand_for_NVI, C::kCommand_for_Convert, C::kCommand_for_Quit,
                     C::kText_for_POT,    C::kText_for_NVI,        C::kCommand_for_POT};
  for (const C expected : order) {
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(expected)) << static_cast<int>(expected);
  }
}

TEST_F(Win32KeyboardTest, EscapeOnTheWindowDoesNothing) {
  Open(false);
  window_->Presenter().AcceptInputPath((folder_ / "a.pot").string());
  Press(VK_ESCAPE);
  EXPECT_NE(window_->Handle(), nullptr);
  EXPECT_TRUE(boxes_.empty());
  EXPECT_TRUE(dialogs_.empty());
  EXPECT_EQ(GetFocus(), Control(C::kCommand_for_Convert));
}

// Escape and the close button answer a question No, whatever its default:
// the run does not start, the output is not replaced, the run goes on.
struct QuestionCase {
  const char* name;
  BoxAction refusal;
};

void PrintTo(const QuestionCase& c, std::ostream* out) { *out << c.name; }

class RefusedQuestionTest : public Win32KeyboardTest,
                            public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(RefusedQuestionTest, StartQuestionStartsNothing) {
  Open(true);
  WritePoints(folder_ / "a.pot", 1);
  window_->Presenter().AcceptInputPath((folder_ / "a.pot").string());
  BoxAnswerer answerer({GetParam().refusal});
  SendMessageW(Control(C::kCommand_for_Convert), BM_CLICK, 0, 0);
  EXPECT_EQ(answerer.texts, std::vector<std::string>{"M100\r\nM101"});
  EXPECT_EQ(answerer.unexpected, 0);
  EXPECT_FALSE(fs::exists(folder_ / "a.nvi"));
}

TEST_P(RefusedQuestionTest, OverwriteQuestionKeepsTheOutput) {
  Open(true);
  WritePoints(folder_ / "a.pot", 1);
  std::ofstream(folder_ / "a.nvi", std::ios::binary) << "old";
  window_->Presenter().AcceptInputPath((folder_ / "a.pot").string());
  BoxAnswerer answerer({BoxAction::kYes, GetParam().refusal});
  SendMessageW(Control(C::kCommand_for_Convert), BM_CLICK, 0, 0);
  EXPECT_EQ(answerer.texts, (std::vector<std::string>{"M100\r\nM101", "M102\r\nM103"}));
  EXPECT_EQ(answerer.unexpected, 0);
  EXPECT_EQ(ReadFile(folder_ / "a.nvi"), "old");
}

TEST_P(RefusedQuestionTest, CancelQuestionLetsTheRunGoOn) {
  Open(true);
  WritePoints(folder_ / "many.pot", 2000);
  window_->Presenter().AcceptInputPath((folder_ / "many.pot").string());
  // Once the start question is answered, a Cancel click waits in the queue
  // until the run steps its events.
  const HWND main = window_->Handle();
  const HWND cancel = Control(C::kCommand_for_Cancel);
  BoxAnswerer answerer({BoxAction::kYes, GetParam().refusal, BoxAction::kOk}, [main, cancel] {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(cancel), BN_CLICKED),
                 reinterpret_cast<LPARAM>(cancel));
  });
  SendMessageW(Control(C::kCommand_for_Convert), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer.texts.size(), 3U);
  EXPECT_EQ(answerer.texts[1], "M108\r\nM109");
  EXPECT_EQ(answerer.texts[2], "M106\r\nM107 2000") << "finished, not cancelled";
  EXPECT_EQ(answerer.unexpected, 0);
  EXPECT_EQ(BlockCount(ReadFile(folder_ / "many.nvi")), 2000);
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedQuestionTest,
                         ::testing::Values(QuestionCase{"Escape", BoxAction::kEscape},
                                           QuestionCase{"CloseButton", BoxAction::kClose}),
                         [](const auto& info) { return std::string(info.param.name); });

// After the finished box the focus is where it was before it, on Convert:
// Return converts again.
TEST_F(Win32KeyboardTest, ReturnAfterTheFinishedBoxConvertsAgain) {
  Open(true);
  WritePoints(folder_ / "a.pot", 1);
  window_->Presenter().AcceptInputPath((folder_ / "a.pot").string());
  {
    BoxAnswerer answerer({BoxAction::kYes, BoxAction::kOk});
    Press(VK_RETURN);
    ASSERT_EQ(answerer.texts.size(), 2U);
    EXPECT_EQ(answerer.texts[1], "M106\r\nM107 1");
  }
  EXPECT_EQ(GetFocus(), Control(C::kCommand_for_Convert));
  BoxAnswerer again({BoxAction::kEscape});
  Press(VK_RETURN);
  EXPECT_EQ(again.texts, std::vector<std::string>{"M100\r\nM101"});
  EXPECT_EQ(GetFocus(), Control(C::kCommand_for_Convert)) << "also after a question";
}

TEST_F(Win32KeyboardTest, AltF4ClosesTheIdleWindow) {
  Open(false);
  PostMessageW(GetFocus(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
  Pump();
  EXPECT_EQ(window_->Handle(), nullptr);
}

// During a run Cancel has the focus; Escape, Alt+F4 and Return on it ask the
// cancel question (answered Yes here), the title bar's close button is
// refused without a word. The window stays either way.
struct RunKeyCase {
  const char* name;
  bool toCancel;  ///< posted to Cancel, else to the window
  UINT message;
  WPARAM key;
  LPARAM detail;
  bool asks;
};

void PrintTo(const RunKeyCase& c, std::ostream* out) { *out << c.name; }

class RunKeyTest : public Win32KeyboardTest, public ::testing::WithParamInterface<RunKeyCase> {};

TEST_P(RunKeyTest, AsksToCancelAndTheWindowStays) {
  const RunKeyCase& c = GetParam();
  Open(true);
  WritePoints(folder_ / "many.pot", 2000);
  window_->Presenter().AcceptInputPath((folder_ / "many.pot").string());
  const HWND target = c.toCancel ? Control(C::kCommand_for_Cancel) : window_->Handle();
  // Posted once the start question is answered: it waits for the run's
  // first event step.
  std::deque<BoxAction> actions{BoxAction::kYes, BoxAction::kOk};
  if (c.asks) actions.insert(actions.begin() + 1, BoxAction::kYes);
  BoxAnswerer answerer(actions, [target, &c] { PostMessageW(target, c.message, c.key, c.detail); });
  SendMessageW(Control(C::kCommand_for_Convert), BM_CLICK, 0, 0);
  EXPECT_EQ(answerer.unexpected, 0);
  ASSERT_EQ(answerer.texts.size(), c.asks ? 3U : 2U);
  if (c.asks) {
    EXPECT_EQ(answerer.texts[1], "M108\r\nM109");
    EXPECT_EQ(answerer.texts[2].rfind("M110\r\nM111", 0), 0U) << answerer.texts[2];
  } else {
    EXPECT_EQ(answerer.texts[1], "M106\r\nM107 2000");
  }
  ASSERT_NE(window_->Handle(), nullptr);
  EXPECT_TRUE(IsWindowVisible(window_->Handle()));
  EXPECT_EQ(GetFocus(), Control(C::kCommand_for_Convert));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, RunKeyTest,
    ::testing::Values(RunKeyCase{"Escape", true, WM_KEYDOWN, VK_ESCAPE, 0, true},
                      RunKeyCase{"AltF4", true, WM_SYSKEYDOWN, VK_F4, 1 << 29, true},
                      RunKeyCase{"ReturnOnCancel", true, WM_KEYDOWN, VK_RETURN, 0, true},
                      RunKeyCase{"TitleBarClose", false, WM_SYSCOMMAND, SC_CLOSE, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
