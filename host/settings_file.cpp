#include "host/settings_file.h"

#include <utility>

#include "host/paths.h"
#include "host/setting_number.h"

namespace fulmina {

namespace {
std::int16_t readNumber(SettingsSource& source, const SettingsNames& names, const std::string& key,
                        const std::string& iniPath) {
    return parseSettingNumber(source.ReadIniValue(names.section, key, iniPath)).value_or(0);
}
}  // namespace

void LoadSettings(SettingsSource& source, const SettingsNames& names, const std::string& iniPath,
                  const std::string& hostFolder, Settings& settings) {
    settings.BgmKind = readNumber(source, names, names.kindKey, iniPath);
    settings.BgmRepeatTrack = readNumber(source, names, names.repeatKey, iniPath);
    settings.BgmFile = source.ReadIniValue(names.section, names.fileKey, iniPath);
    if (!settings.BgmFile.empty() && !source.FileExists(settings.BgmFile)) settings.BgmFile.clear();
    if (settings.BgmFile.empty() && settings.BgmKind == 2) settings.BgmKind = 0;
    settings.BgmFolder = settings.BgmFile.empty() ? hostFolder : FolderOfPath(settings.BgmFile);
}

std::int32_t SaveSettings(SettingsStore& store, const SettingsNames& names, const std::string& iniPath,
                          const std::string& repeatText, Settings& settings) {
    settings.BgmRepeatTrack = repeatTrackFromText(repeatText, settings.BgmRepeatTrack);
    const std::pair<const std::string*, std::string> writes[] = {
        {&names.kindKey, formatSettingNumber(settings.BgmKind)},
        {&names.repeatKey, formatSettingNumber(settings.BgmRepeatTrack)},
        {&names.fileKey, settings.BgmFile},
    };
    std::int32_t result = 0;
    for (const auto& [key, value] : writes)
        if ((result = store.WriteIniValue(names.section, *key, value, iniPath)) == 0) break;
    return result;
}

}  // namespace fulmina
