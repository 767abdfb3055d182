#pragma once
// The host's thin Windows adapters: files, the settings file, the music
// commands, the command line.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "host/mci_port.h"
#include "host/settings_file.h"

namespace fulmina {

// The argument part of the process command line, without the program name.
std::string processArguments();

// The folder of the host program, without a trailing backslash except at a
// drive root.
std::string hostFolder();

// True when the file opens for reading: a folder, a missing file or an empty
// path gives false.
bool FileExists(const std::string& path);

// The settings file's names as code page 932 text.
SettingsNames settingsNames();

class Win32SettingsSource : public SettingsSource {
public:
    std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& file) override;
    bool FileExists(const std::string& path) override { return fulmina::FileExists(path); }
};

// Writes one key of the settings file; returns what the API returned.
std::int32_t WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                           const std::string& file);

class Win32SettingsStore : public SettingsStore {
public:
    std::int32_t WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& file) override {
        return fulmina::WriteIniValue(section, key, value, file);
    }
};

// The ANSI (code page 932) path that opens a file the user chose: its name
// when the code page spells it, else its short name when that spells it;
// nothing when neither does, as where short names are off: the ANSI calls
// that play the music cannot reach such a file.
std::optional<std::string> ansiPathOf(const std::wstring& path);

class Win32Mci : public MciPort {
public:
    std::uint32_t sendString(const char* command, char* reply, unsigned replyLength) override;
    bool errorString(std::uint32_t code, char* text, unsigned textLength) override;
    unsigned waveOutDeviceCount() override;
    bool playSound(const char* fileName, unsigned flags) override;
};

}  // namespace fulmina
