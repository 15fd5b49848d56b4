// The NVI fields the window fills: four items under File, each checked
// while its field is filled, the choice kept in the settings file (entry
// kNviFieldsSetting) so that the window fills the same fields next time.
#include "startup/settings_entry.h"
#include "window/main_presenter.h"

namespace velorin {

namespace {

/// Message numbers of the items' captions and of the failure to save.
constexpr int kFirstNviFieldMessage = 174;  // ADDR, COMM, HPGL, MAIL: 174 to 177
constexpr int kNviFieldsNotSavedMessage = 178;

constexpr MainMenu kNviFieldItems[kNviFieldCount] = {
    MainMenu::kFileNviAddr, MainMenu::kFileNviComm, MainMenu::kFileNviHpgl, MainMenu::kFileNviMail};

/// What the NVI fields' entry holds: a list of fields (or nothing).
bool IsNviFieldSetting(std::string_view entry) { return ParseNviFieldList(entry).has_value(); }

NviFieldSet FieldsOfSettings(const StartupTables& tables) {
  const std::vector<std::string>& settings = tables.systemSettings;
  if (settings.size() <= kNviFieldsSetting) return {};
  return ParseNviFieldList(settings[kNviFieldsSetting]).value_or(NviFieldSet());
}

}  // namespace

void MainPresenter::ApplyNviFieldMenu() {
  const NviFieldSet filled = FieldsOfSettings(tables_);
  for (std::size_t i = 0; i < kNviFieldCount; ++i) {
    view_.SetMenuText(kNviFieldItems[i], Message(kFirstNviFieldMessage + static_cast<int>(i)),
                      false);
    view_.SetMenuChecked(kNviFieldItems[i], filled.Has(static_cast<NviField>(i)));
  }
  view_.SetMenuText(MainMenu::kFileNviSeparator, std::string(), true);
}

void MainPresenter::NviFieldCommand(NviField field) {
  if (running_) return;
  const NviFieldSet before = FieldsOfSettings(tables_);
  NviFieldSet after;
  for (std::size_t i = 0; i < kNviFieldCount; ++i) {
    const auto each = static_cast<NviField>(i);
    if (each == field ? !before.Has(each) : before.Has(each)) after.Add(each);
  }
  std::vector<std::string>& settings = tables_.systemSettings;
  if (settings.size() <= kNviFieldsSetting) settings.resize(kNviFieldsSetting + 1);
  settings[kNviFieldsSetting] = NviFieldListText(after);
  ApplyNviFieldMenu();
  // The window fills the fields chosen from now on, remembered or not.
  std::error_code error;
  if (SaveSettingsEntry(files_, locations_.settingsPath, kNviFieldsSetting,
                        settings[kNviFieldsSetting], IsNviFieldSetting, error)) {
    return;
  }
  // A warning, not an error: the fields chosen are filled all the same.
  SetDropTargetsEnabled(false);
  view_.ShowMessageBox(Message(91),
                       Message(kNviFieldsNotSavedMessage) + "\r\n" + locations_.settingsPath,
                       MessageButtons::kOk, MessageAnswer::kOk, MessageIcon::kWarning);
  SetDropTargetsEnabled(true);
}

}  // namespace velorin
