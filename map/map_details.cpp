// What the map window says: the details of the item chosen alone, the
// caption, the count of points and of those chosen, and which commands
// may be used.
#include <filesystem>
#include <utility>

#include "map/file_line.h"
#include "map/map_window_presenter.h"
#include "map/point_texts.h"

namespace velorin {
namespace {

// A skipped point's line is shown up to this many bytes.
constexpr std::size_t kLineShown = 400;

/// Whether `c` is white space: the ASCII controls that space, and Unicode's
/// spaces and line and paragraph separators.
bool IsSpace(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

/// The character that begins at `at` of `text`, and its length in bytes
/// (one byte, U+FFFD, where no well-formed character begins).
std::pair<char32_t, std::size_t> CharacterAt(const std::string& text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80U) return {lead, 1};
  const std::size_t length = lead >= 0xF0U ? 4 : lead >= 0xE0U ? 3 : 2;
  if (lead < 0xC2U || lead > 0xF4U || at + length > text.size()) return {0xFFFD, 1};
  char32_t c = lead & (0x7FU >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0U) != 0x80U) return {0xFFFD, 1};
    c = (c << 6U) | (next & 0x3FU);
  }
  return {c, length};
}

/// Where the character that ends just before `end` begins.
std::size_t CharacterBefore(const std::string& text, std::size_t end) {
  std::size_t at = end - 1;
  while (at > 0 && end - at < 4 && (static_cast<unsigned char>(text[at]) & 0xC0U) == 0x80U) --at;
  return CharacterAt(text, at).second == end - at ? at : end - 1;
}

}  // namespace

std::string FileNameOfPath(const std::string& path) {
  // "/" parts a path, and on Windows "\" too; the path stays UTF-8 (a
  // std::filesystem::path would take it in the system's code page there).
  constexpr bool kBackslash = std::filesystem::path::preferred_separator == '\\';
  const std::size_t separator = path.find_last_of(kBackslash ? "/\\" : "/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string TrimmedText(const std::string& text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    const auto [c, length] = CharacterAt(text, begin);
    if (!IsSpace(c)) break;
    begin += length;
  }
  std::size_t end = text.size();
  while (end > begin) {
    const std::size_t at = CharacterBefore(text, end);
    if (!IsSpace(CharacterAt(text, at).first)) break;
    end = at;
  }
  return text.substr(begin, end - begin);
}

void MapWindowPresenter::ShowDetails() {
  const PointEditor* editor = Editor();
  const std::optional<std::uint32_t> item = ChosenAlone();
  if (editor == nullptr || !item) {
    view_.SetDetails({});
    return;
  }
  const EditedPoints& points = editor->points();
  if (!IsSkipped(points.Status(*item))) {
    view_.SetDetails(PointText(words_, points, *item));
    return;
  }
  std::string text = SkipText(words_, points, *item);
  if (points.IsReadSkip(*item)) {
    // In the encoding the reading chose for the file.
    const EditableMap& map = editor->map();
    const std::string line =
        ReadFileLine(files_, map.path, points.Line(*item), LineEncodingOf(map.read), kLineShown);
    text += '\n' + TrimmedText(line);
  }
  view_.SetDetails(text);
}

std::string MapWindowPresenter::CountText(const PointEditor& editor) {
  std::string count =
      Message(kPointCountMessage) + ' ' + view_.NumberText(editor.list().Total(ListGroup::kPoints));
  if (editor.selection().count() > 0) {
    count += "   " + Message(kSelectedMessage) + ' ' + view_.NumberText(editor.selection().count());
  }
  return count;
}

void MapWindowPresenter::UpdateStatus() {
  const PointEditor* editor = Editor();
  view_.SetCountText(editor != nullptr ? CountText(*editor) : std::string());
  const std::string name = FileNameOfPath(path_);
  std::string caption = Message(kMapCaptionMessage);
  if (!name.empty()) caption += " - " + name;
  // Edits not saved are marked as editors mark them.
  if (Unsaved()) caption += " *";
  view_.SetCaption(caption);
  const bool shown = editor != nullptr;
  const std::size_t chosen = shown ? editor->selection().count() : 0;
  view_.SetCommandEnabled(MapCommand::kSave, shown);
  view_.SetCommandEnabled(MapCommand::kSaveAs, shown);
  view_.SetCommandEnabled(MapCommand::kUndo, shown && editor->points().edits().CanUndo());
  view_.SetCommandEnabled(MapCommand::kRedo, shown && editor->points().edits().CanRedo());
  view_.SetCommandEnabled(MapCommand::kDelete, chosen > 0);
  view_.SetCommandEnabled(MapCommand::kRename, chosen == 1);
  view_.SetCommandEnabled(MapCommand::kMoveTo, chosen == 1);
  view_.SetCommandEnabled(MapCommand::kAdd, shown);
  view_.SetCommandEnabled(MapCommand::kSelectAll, shown);
}

}  // namespace velorin
