#pragma once
#include <cstdint>
#include <string>

namespace fulmina {

// The in-memory settings of the host, filled from the settings file.
struct Settings {
    std::int16_t BgmKind = 0;         // 0 none, 1 audio CD, 2 MP3 or WAV file
    std::int16_t BgmRepeatTrack = 0;  // CD track to repeat; 0 plays the disc through
    std::string BgmFile;              // ANSI path of the music file
    std::string BgmFolder;            // where the file chooser opens
};

// What LoadSettings needs of the platform.
class SettingsSource {
public:
    virtual ~SettingsSource() = default;
    virtual std::string ReadIniValue(const std::string& section, const std::string& key,
                                     const std::string& file) = 0;
    virtual bool FileExists(const std::string& path) = 0;
};

// Where SaveSettings writes: one key at a time, answering what the
// private-profile API answers (0 for a write that failed).
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::int32_t WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                                       const std::string& file) = 0;
};

// The settings file's fixed names, as ANSI (code page 932) text.
struct SettingsNames {
    std::string section, kindKey, repeatKey, fileKey;
};

// Reads the three keys of the settings file into settings, demoting a music
// file that no longer exists.
void LoadSettings(SettingsSource& source, const SettingsNames& names, const std::string& iniPath,
                  const std::string& hostFolder, Settings& settings);

// The settings dialog's confirm: takes the repeat track from the repeat
// box's text, then writes the kind, the repeat track and the file, in that
// order. A write that fails stops the rest, so that a file that cannot be
// written keeps what it had and never holds half of a choice. Returns the
// last write's answer.
std::int32_t SaveSettings(SettingsStore& store, const SettingsNames& names, const std::string& iniPath,
                          const std::string& repeatText, Settings& settings);

}  // namespace fulmina
