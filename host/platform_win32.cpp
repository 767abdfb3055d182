#include "host/platform_win32.h"

#include <mmsystem.h>

#include "forms/text_win32.h"
#include "host/paths.h"
#include "host/texts.h"

namespace fulmina {

std::string processArguments() {
    const char* line = GetCommandLineA();
    // Skip the program name, quoted or not, then the blanks after it.
    if (*line == '"') {
        ++line;
        while (*line != '\0' && *line != '"') ++line;
        if (*line == '"') ++line;
    } else {
        while (*line != '\0' && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

std::string hostFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = FolderOfPath(std::string(path, n));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

bool FileExists(const std::string& path) {
    const std::string file = withoutTrailingBackslash(path);
    if (file.empty()) return false;
    HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

SettingsNames settingsNames() {
    return {forms::ansi932(texts::settingsSection), forms::ansi932(texts::kindKey),
            forms::ansi932(texts::repeatKey), forms::ansi932(texts::fileKey)};
}

std::string Win32SettingsSource::ReadIniValue(const std::string& section, const std::string& key,
                                              const std::string& file) {
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof(buffer), file.c_str());
    return std::string(buffer);
}

std::int32_t WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                           const std::string& file) {
    // The API sees each name up to its NUL: names of up to 127 characters pass whole.
    const std::string sectionField = section.substr(0, 127);
    const std::string keyField = key.substr(0, 127);
    return WritePrivateProfileStringA(sectionField.c_str(), keyField.c_str(), value.c_str(), file.c_str());
}

std::optional<std::string> ansiPathOf(const std::wstring& path) {
    if (std::optional<std::string> named = forms::exactAnsi932(path)) return named;
    std::wstring shortName(MAX_PATH, L'\0');
    const DWORD n = GetShortPathNameW(path.c_str(), shortName.data(), MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::nullopt;
    return forms::exactAnsi932(shortName.c_str());
}

std::uint32_t Win32Mci::sendString(const char* command, char* reply, unsigned replyLength) {
    return mciSendStringA(command, reply, replyLength, nullptr);
}

bool Win32Mci::errorString(std::uint32_t code, char* text, unsigned textLength) {
    return mciGetErrorStringA(code, text, textLength) != FALSE;
}

unsigned Win32Mci::waveOutDeviceCount() { return waveOutGetNumDevs(); }

bool Win32Mci::playSound(const char* fileName, unsigned flags) {
    return PlaySoundA(fileName, nullptr, flags) != FALSE;
}

}  // namespace fulmina
