#pragma once
// A map window without a toolkit, for the tests of its rules: it keeps
// what the presenter sets, answers the question about edits from a queue
// (a question with none queued is recorded as unexpected), and records the
// readings, boxes and saves asked of it.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "map/map_window_view.h"

namespace velorin::map_test {

struct FakeRead {
  std::string path;
  MapReadOptions options;
};

struct FakeBox {
  std::string title;
  std::string text;
  bool unexpected = false;
};

class FakeMapWindowView : public MapWindowView {
 public:
  std::string caption;
  std::string count;
  std::string details;
  std::string notice;
  std::map<MapCommand, bool> enabled;
  std::vector<FakeRead> reads;
  std::vector<std::size_t> headings;
  std::vector<std::size_t> listChoice;
  std::vector<std::size_t> scrolledTo;
  std::vector<std::uint32_t> itemsShown;
  std::vector<std::uint32_t> found;
  ListOrder order = ListOrder::kFile;
  int redraws = 0;
  std::deque<EditsAnswer> answers;
  std::vector<FakeBox> questions;
  std::vector<FakeBox> errors;
  /// What a save does (the points marked saved, or not) and says.
  std::function<bool()> save = [] { return true; };
  int saves = 0;
  int forgets = 0;
  int shown = 0;
  int edited = 0;

  std::string NumberText(std::uint64_t number) override { return std::to_string(number); }
  void SetCaption(const std::string& text) override { caption = text; }
  void SetCountText(const std::string& text) override { count = text; }
  void SetDetails(const std::string& text) override { details = text; }
  void SetNotice(const std::string& text) override { notice = text; }
  void SetCommandEnabled(MapCommand command, bool on) override { enabled[command] = on; }
  void ReadPoints(const std::string& path, const MapReadOptions& options) override {
    reads.push_back({path, options});
  }
  void ShowData(const std::shared_ptr<MapData>& /*data*/) override {}
  void ShowListRows(const std::vector<std::size_t>& rows,
                    const std::vector<std::size_t>& chosen) override {
    headings = rows;
    listChoice = chosen;
  }
  void ShowListChoice(const std::vector<std::size_t>& chosen) override { listChoice = chosen; }
  void ScrollToRow(std::size_t row) override { scrolledTo.push_back(row); }
  void ShowOrder(ListOrder shownOrder) override { order = shownOrder; }
  void RedrawPoints() override { ++redraws; }
  void ShowItem(std::uint32_t item) override { itemsShown.push_back(item); }
  void ShowFound(const std::vector<std::uint32_t>& items) override { found = items; }
  EditsAnswer AskAboutEdits(const std::string& title, const std::string& text) override {
    questions.push_back({title, text, answers.empty()});
    if (answers.empty()) return EditsAnswer::kCancel;
    const EditsAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowError(const std::string& title, const std::string& text) override {
    errors.push_back({title, text});
  }
  bool SaveEdits() override {
    ++saves;
    return save();
  }
  bool SaveEditsAs() override { return SaveEdits(); }
  void ForgetSaves() override { ++forgets; }
  void PointsShown() override { ++shown; }
  void PointsEdited() override { ++edited; }
};

}  // namespace velorin::map_test
