#include "host/settings_file.h"

#include "host/setting_number.h"

namespace fulmina {

namespace {
std::int16_t readNumber(SettingsSource& source, const SettingsNames& names, const std::string& key) {
    return parseSettingNumber(source.ReadIniValue(names.section, key)).value_or(0);
}
}  // namespace

void LoadSettings(SettingsSource& source, const SettingsNames& names, const LeadBytes& lead,
                  const std::string& hostFolder, Settings& settings) {
    settings.BgmKind = readNumber(source, names, names.kindKey);
    settings.BgmRepeatTrack = readNumber(source, names, names.repeatKey);
    settings.BgmFile = source.ReadIniValue(names.section, names.fileKey);
    if (!settings.BgmFile.empty() && !source.FileExists(settings.BgmFile)) settings.BgmFile.clear();
    if (settings.BgmFile.empty() && settings.BgmKind == 2) settings.BgmKind = 0;
    settings.BgmFolder = settings.BgmFile.empty() ? hostFolder : FolderOfPath(settings.BgmFile, lead);
}

bool SaveSettings(SettingsStore& store, const SettingsNames& names, const std::string& repeatText,
                  Settings& settings) {
    settings.BgmRepeatTrack = repeatTrackFromText(repeatText, settings.BgmRepeatTrack);
    return store.WriteIniValues(names.section, {{names.kindKey, formatSettingNumber(settings.BgmKind)},
                                                {names.repeatKey, formatSettingNumber(settings.BgmRepeatTrack)},
                                                {names.fileKey, settings.BgmFile}});
}

}  // namespace fulmina
