#pragma once
// The host's thin Windows adapters: files, the settings file, the music
// commands, the command line.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/mci_port.h"
#include "host/paths.h"
#include "host/settings_file.h"

namespace fulmina {

// The argument part of the process command line, without the program name.
std::string processArguments();

// The folder of the host program, without a trailing backslash except at a
// drive root: a wide path, so that any folder name reaches it, and the one
// through which the files beside the host are really reached (see
// reachableHostFolder).
std::wstring hostFolder();

// True when the file opens for reading: a folder, a missing file or an empty
// path gives false. The ANSI form takes a path in the system's code page.
bool FileExists(const std::wstring& path);
bool FileExists(const std::string& ansiPath);

// The lead bytes of the system's ANSI code page.
LeadBytes ansiLeadBytes();

// The settings file's names as code page 932 text.
SettingsNames settingsNames();

// The settings file, by its wide path, through the profile API's wide calls.
// Those read and write the file's text in the system's ANSI code page: names
// and values pass as the bytes the ANSI calls would write. The keys are code
// page 932 bytes on every Windows, so their text here is those bytes as the
// ANSI code page reads them, which the API writes back as the same bytes.
class Win32SettingsSource : public SettingsSource {
public:
    explicit Win32SettingsSource(std::wstring file) : file(std::move(file)) {}
    std::string ReadIniValue(const std::string& section, const std::string& key) override;
    bool FileExists(const std::string& path) override { return fulmina::FileExists(path); }

private:
    std::wstring file;
};

// The ANSI path that opens a file the user chose, in the system's code
// page: its name when the code page spells it, else its short name when
// that spells it; nothing when neither does, as where short names are off:
// the ANSI calls that play the music cannot reach such a file.
std::optional<std::string> ansiPathOf(const std::wstring& path);

class Win32Mci : public MciPort {
public:
    std::uint32_t sendString(const char* command, char* reply, unsigned replyLength) override;
    bool errorString(std::uint32_t code, char* text, unsigned textLength) override;
    unsigned waveOutDeviceCount() override;
    bool playSound(const char* fileName, unsigned flags) override;
};

}  // namespace fulmina
