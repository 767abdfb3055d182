#include "host/platform_win32.h"

#include <mmsystem.h>

#include <iterator>

#include "forms/text_win32.h"
#include "host/texts.h"

namespace fulmina {

namespace {

// A kernel32 function that older Windows may lack, or null.
template <typename Function>
Function kernelFunction(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) return path.substr(0, n);
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);  // cut short: a longer path
    }
}

bool redirectedProcess() {
    const auto isWow64Process = kernelFunction<BOOL(WINAPI*)(HANDLE, PBOOL)>("IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64Process != nullptr && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// The path of the file the system mapped as this program, from the system's
// own record of it; empty where Windows cannot say (before Vista).
std::wstring imagePath() {
    const auto query = kernelFunction<BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD)>("QueryFullProcessImageNameW");
    if (query == nullptr) return {};
    std::wstring path(32768, L'\0');
    DWORD n = static_cast<DWORD>(path.size());
    if (!query(GetCurrentProcess(), 0, path.data(), &n)) return {};
    return path.substr(0, n);
}

bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool opens(const std::wstring& path, DWORD access) {
    HANDLE h = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

}  // namespace

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

namespace {

std::wstring findHostFolder() {
    HostPlace place;
    place.reported = FolderOfPath(modulePath());
    place.redirected = redirectedProcess();
    if (place.redirected) {
        wchar_t system[MAX_PATH + 1] = {};
        const UINT n = GetSystemDirectoryW(system, MAX_PATH);
        if (n > 0 && n < MAX_PATH) place.system = system;
        place.image = FolderOfPath(imagePath());
        const std::wstring sysnative = FolderOfPath(place.system) + L"\\Sysnative";
        if (!place.system.empty() && isFolder(sysnative)) place.sysnative = sysnative;
    }
    std::wstring folder = reachableHostFolder(place);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

}  // namespace

// Where the program lies does not change while it runs: it is found once,
// not again for each use on the way to the renderer's start.
std::wstring hostFolder() {
    static const std::wstring folder = findHostFolder();
    return folder;
}

bool FileExists(const std::wstring& path) {
    const std::wstring file = !path.empty() && path.back() == L'\\' ? path.substr(0, path.size() - 1) : path;
    return !file.empty() && opens(file, GENERIC_READ);
}

// A trail byte that reads as '\' stays inside its character once wide.
bool FileExists(const std::string& ansiPath) { return FileExists(forms::fromAnsi(ansiPath)); }

LeadBytes ansiLeadBytes() {
    LeadBytes lead;
    CPINFO info{};
    if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 2)
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2)
            lead.add(info.LeadByte[i], info.LeadByte[i + 1]);
    return lead;
}

SettingsNames settingsNames() {
    return {forms::ansi932(texts::settingsSection), forms::ansi932(texts::kindKey),
            forms::ansi932(texts::repeatKey), forms::ansi932(texts::fileKey)};
}

std::string Win32SettingsSource::ReadIniValue(const std::string& section, const std::string& key) {
    wchar_t buffer[256] = {};
    GetPrivateProfileStringW(forms::fromAnsi(section).c_str(), forms::fromAnsi(key).c_str(), L"", buffer,
                             static_cast<DWORD>(std::size(buffer)), file.c_str());
    // At most 255 bytes, as the ANSI call gives.
    return forms::exactAnsi(buffer).value_or(std::string()).substr(0, 255);
}

std::optional<std::string> ansiPathOf(const std::wstring& path) {
    if (std::optional<std::string> named = forms::exactAnsi(path)) return named;
    std::wstring shortName(MAX_PATH, L'\0');
    const DWORD n = GetShortPathNameW(path.c_str(), shortName.data(), MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::nullopt;
    return forms::exactAnsi(shortName.c_str());
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
