#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/paths.h"

namespace fulmina {

// The in-memory settings of the host, filled from the settings file.
struct Settings {
    std::int16_t BgmKind = 0;         // 0 none, 1 audio CD, 2 MP3 or WAV file
    std::int16_t BgmRepeatTrack = 0;  // CD track to repeat; 0 plays the disc through
    std::string BgmFile;              // path of the music file, in the system's ANSI code page
    std::string BgmFolder;            // where the file chooser opens, ANSI as well
};

// What LoadSettings needs of the platform: the settings file's values and
// the files they name, all ANSI text.
class SettingsSource {
public:
    virtual ~SettingsSource() = default;
    virtual std::string ReadIniValue(const std::string& section, const std::string& key) = 0;
    virtual bool FileExists(const std::string& path) = 0;
};

// Where SaveSettings writes: every key of a section, or, when any of them
// cannot be written, none (the file stays as it was). True when all were.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual bool WriteIniValues(const std::string& section,
                                const std::vector<std::pair<std::string, std::string>>& keysAndValues) = 0;
};

// The settings file's fixed names, as code page 932 text.
struct SettingsNames {
    std::string section, kindKey, repeatKey, fileKey;
};

// Reads the three keys of the settings file into settings, demoting a music
// file that no longer exists. lead describes the ANSI code page of the
// file's values; hostFolder is where the chooser opens without a file.
void LoadSettings(SettingsSource& source, const SettingsNames& names, const LeadBytes& lead,
                  const std::string& hostFolder, Settings& settings);

// The settings dialog's confirm: takes the repeat track from the repeat
// box's text, then writes the kind, the repeat track and the file, in that
// order, all or none. True when they were written.
bool SaveSettings(SettingsStore& store, const SettingsNames& names, const std::string& repeatText,
                  Settings& settings);

}  // namespace fulmina
