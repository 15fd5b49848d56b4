#include "window/run_settings.h"

#include <string_view>

#include "formats/nvi_fields.h"
#include "startup/settings_entry.h"

namespace velorin {

Datum DatumOfSetting(std::string_view entry) {
  return entry == DatumName(Datum::kTokyo) ? Datum::kTokyo : Datum::kWgs84;
}

std::string_view SettingOfDatum(Datum datum) { return DatumName(datum); }

bool IsDatumSetting(std::string_view entry) {
  return entry.empty() || entry == DatumName(Datum::kTokyo) || entry == DatumName(Datum::kWgs84);
}

WindowRunOptions RunOptionsFromSettings(std::span<const std::string> settings) {
  const auto entry = [&](std::size_t index) {
    return index < settings.size() ? std::string_view(settings[index]) : std::string_view();
  };
  WindowRunOptions options;
  options.run.untitled = UntitledRuleOfSetting(entry(kUntitledEntry));
  options.log = entry(kLogEntry) == "1";
  options.run.inputDatum = DatumOfSetting(entry(kInputDatumEntry));
  options.run.outputDatum = DatumOfSetting(entry(kOutputDatumEntry));
  options.run.nviFields = ParseNviFieldList(entry(kNviFieldsSetting)).value_or(NviFieldSet());
  std::string unread;
  options.run.osm.tags = ParseOsmTags(entry(kOsmTagsEntry), unread).value_or(OsmTagFilter());
  return options;
}

}  // namespace velorin
