// The window's datum choices under Tool > Option: the datum of POT, NVI
// and CSV inputs and the one NVI is written in, kept in the settings file.
#include <system_error>

#include "startup/settings_entry.h"
#include "window/main_presenter.h"
#include "window/run_settings.h"

namespace velorin {

void MainPresenter::ApplyOptionMenu() {
  // The Tool menu holds Option, which holds the datum choices.
  view_.SetMenuVisible(MainMenu::kTool, true);
  view_.SetMenuChecked(MainMenu::kToolOptionInputDatum,
                       DatumOfSetting(tables_.systemSettings[kInputDatumEntry]) == Datum::kTokyo);
  view_.SetMenuChecked(MainMenu::kToolOptionOutputDatum,
                       DatumOfSetting(tables_.systemSettings[kOutputDatumEntry]) == Datum::kTokyo);
}

void MainPresenter::InputDatumCommand() {
  ToggleDatum(kInputDatumEntry, MainMenu::kToolOptionInputDatum);
}

void MainPresenter::OutputDatumCommand() {
  ToggleDatum(kOutputDatumEntry, MainMenu::kToolOptionOutputDatum);
}

Datum MainPresenter::InputDatum() const {
  return DatumOfSetting(tables_.systemSettings[kInputDatumEntry]);
}

Datum MainPresenter::OutputDatum() const {
  return DatumOfSetting(tables_.systemSettings[kOutputDatumEntry]);
}

void MainPresenter::ToggleDatum(std::size_t entry, MainMenu item) {
  const Datum chosen = DatumOfSetting(tables_.systemSettings[entry]) == Datum::kTokyo
                           ? Datum::kWgs84
                           : Datum::kTokyo;
  tables_.systemSettings[entry] = std::string(SettingOfDatum(chosen));
  view_.SetMenuChecked(item, chosen == Datum::kTokyo);
  // A settings file that cannot be written (a read-only installation), or
  // is no settings file, keeps the choice for this session alone.
  std::error_code error;
  SaveSettingsEntry(files_, locations_.settingsPath, entry, tables_.systemSettings[entry],
                    IsDatumSetting, error);
}

}  // namespace velorin
