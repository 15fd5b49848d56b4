// The OpenStreetMap objects the window keeps: four items under Tool >
// Option, each ticked while the settings file's OSM tags (entry
// kOsmTagsEntry) hold its tags, the choice written back at once.
#include "formats/osm_tags.h"
#include "startup/settings_entry.h"
#include "window/main_presenter.h"
#include "window/osm_tag_choice.h"
#include "window/run_settings.h"

namespace velorin {

namespace {

/// The items' captions: messages 181 to 184, in the order of OsmPresets().
constexpr int kFirstOsmPresetMessage = 181;

constexpr MainMenu kOsmPresetItems[] = {
    MainMenu::kToolOptionOsmFuel, MainMenu::kToolOptionOsmServices,
    MainMenu::kToolOptionOsmHotSpring, MainMenu::kToolOptionOsmParking};

/// Tags as --osm-tags takes them: a settings file whose entry holds anything
/// else is not written.
bool IsOsmTagsSetting(std::string_view entry) {
  std::string unread;
  return ParseOsmTags(entry, unread).has_value();
}

}  // namespace

void MainPresenter::ApplyOsmTagMenu() {
  const std::vector<std::string>& settings = tables_.systemSettings;
  const std::string_view entry =
      settings.size() > kOsmTagsEntry ? std::string_view(settings[kOsmTagsEntry]) : "";
  for (std::size_t i = 0; i < OsmPresets().size(); ++i) {
    view_.SetMenuText(kOsmPresetItems[i], Message(kFirstOsmPresetMessage + static_cast<int>(i)),
                      false);
    view_.SetMenuChecked(kOsmPresetItems[i], HoldsOsmPreset(entry, OsmPresets()[i].preset));
  }
}

void MainPresenter::OsmTagsCommand(OsmPreset preset) {
  if (running_) return;
  std::vector<std::string>& settings = tables_.systemSettings;
  if (settings.size() <= kOsmTagsEntry) settings.resize(kOsmTagsEntry + 1);
  settings[kOsmTagsEntry] = ToggledOsmPreset(settings[kOsmTagsEntry], preset);
  ApplyOsmTagMenu();
  // A settings file that cannot be written (a read-only installation)
  // keeps the choice for this session alone, as the datums do.
  std::error_code error;
  SaveSettingsEntry(files_, locations_.settingsPath, kOsmTagsEntry, settings[kOsmTagsEntry],
                    IsOsmTagsSetting, error);
}

}  // namespace velorin
