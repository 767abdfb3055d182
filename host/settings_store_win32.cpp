#include "host/settings_store_win32.h"

#include <windows.h>
#include <aclapi.h>

#include <cstdint>
#include <cwchar>
#include <optional>

#include "common/file_bytes_win32.h"
#include "common/handles_win32.h"
#include "common/plain_file_win32.h"
#include "forms/text_win32.h"
#include "host/paths.h"
#include "host/settings_save_plan.h"

namespace fulmina {

namespace {

using Keys = std::vector<std::pair<std::string, std::string>>;

// A file of the program's own, deleted by its name when the scope ends
// unless it was put to use (its name cleared). Declared before the handle
// that writes it, it outlives that handle, so nothing holds the file then.
struct RemovedAtEnd {
    std::wstring name;
    ~RemovedAtEnd() {
        if (!name.empty()) DeleteFileW(name.c_str());
    }
};

// A path the system resolved (System32 itself) names the file it names: a
// 32-bit program on 64-bit Windows has the file system's redirection off
// while it uses one, and on again after.
class RedirectionOff {
public:
    RedirectionOff() : off(Wow64DisableWow64FsRedirection(&previous) != FALSE) {}
    ~RedirectionOff() {
        if (off) Wow64RevertWow64FsRedirection(previous);
    }
    RedirectionOff(const RedirectionOff&) = delete;
    RedirectionOff& operator=(const RedirectionOff&) = delete;

private:
    void* previous = nullptr;
    bool off;
};

bool moveTo(HANDLE file, std::uint64_t offset) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != FALSE;
}

bool setLength(HANDLE file, std::uint64_t length) { return moveTo(file, length) && SetEndOfFile(file); }

// The file's bytes from its start; nothing when it is longer than the limit
// or a read fails.
std::optional<std::string> readWhole(HANDLE file) {
    const FileBytes read = readWholeFile(file, settingsFileLimit);
    if (!read.bytes) return std::nullopt;
    return std::string(read.bytes->begin(), read.bytes->end());
}

bool writeFromStart(HANDLE file, const std::string& bytes) { return writeWholeFile(file, bytes.data(), bytes.size()); }

// A new file made in the folder under a name of the program's own, never
// through anything already at that name; its name is left in name.
handles::KernelObject createBeside(const std::wstring& folder, const wchar_t* suffix, DWORD access,
                                   std::wstring& name) {
    const DWORD stamp = (GetCurrentProcessId() << 16) ^ GetTickCount();
    for (DWORD attempt = 0; attempt < 16; ++attempt) {
        wchar_t own[32];
        std::swprintf(own, 32, L"\\Fulmina-%08lx.%ls", static_cast<unsigned long>(stamp + attempt * 0x9E3779B9u), suffix);
        name = longPathWhereNeeded(folder + own);
        handles::KernelObject made = handles::fileHandle(
            CreateFileW(name.c_str(), access, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (made) return made;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    name.clear();
    return {};
}

// The file's bytes once the keys are written into them, as the profile API
// writes them: into a private copy of the old bytes in the user's own
// temporary folder, read back and then deleted.
std::optional<std::string> withKeysWritten(const std::string& old, const std::string& section, const Keys& keys) {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return std::nullopt;
    RemovedAtEnd copy;
    {
        const handles::KernelObject made =
            createBeside(FolderOfPath(std::wstring(temp, length)), L"ini", GENERIC_WRITE, copy.name);
        if (!made || !writeFromStart(made.get(), old)) return std::nullopt;
    }
    bool written = true;
    const std::wstring sectionName = forms::fromAnsi(section);
    for (const auto& [key, value] : keys)
        written = written && WritePrivateProfileStringW(sectionName.c_str(), forms::fromAnsi(key).c_str(),
                                                        forms::fromAnsi(value).c_str(), copy.name.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, copy.name.c_str());  // nothing of the copy stays cached
    if (!written) return std::nullopt;
    const handles::KernelObject reader = handles::fileHandle(
        CreateFileW(copy.name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return reader ? readWhole(reader.get()) : std::nullopt;
}

// A file with no link of its own is made all at once: written and flushed
// under a name of the program's own beside it, then given its name, which
// nothing may have taken meanwhile.
bool createWith(const std::wstring& path, const std::string& bytes) {
    RemovedAtEnd made;
    {
        const handles::KernelObject file = createBeside(FolderOfPath(path), L"new", GENERIC_WRITE, made.name);
        if (!file || !writeFromStart(file.get(), bytes) || !FlushFileBuffers(file.get())) return false;
    }
    if (!MoveFileExW(made.name.c_str(), longPathWhereNeeded(path).c_str(), MOVEFILE_WRITE_THROUGH)) return false;
    made.name.clear();
    return true;
}

// The old file's owner, group and DACL as the system keeps them.
handles::LocalMemory securityOf(HANDLE file) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    GetSecurityInfo(file, SE_FILE_OBJECT,
                    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                    nullptr, nullptr, nullptr, &descriptor);
    return handles::LocalMemory(descriptor);
}

// The new file takes the old one's attributes, creation time and security
// before it takes its place, so that the file at the name never has others.
// ReplaceFileW keeps the DACL and attributes on Windows as well; not every
// system that runs the program does. The DACL goes over as it is, with its
// inherited entries (the folder is the same) and its protection from
// inheriting; the owner and the group where this user may give them (the
// user's own, a group of theirs).
bool giveLookOf(HANDLE old, PSECURITY_DESCRIPTOR security, HANDLE made) {
    constexpr DWORD kept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    FILE_BASIC_INFO before{};
    if (!GetFileInformationByHandleEx(old, FileBasicInfo, &before, sizeof(before))) return false;
    FILE_BASIC_INFO look{};  // times left at zero stay as they are
    look.CreationTime = before.CreationTime;
    look.FileAttributes = (before.FileAttributes & kept) != 0 ? before.FileAttributes & kept : FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(made, FileBasicInfo, &look, sizeof(look)) ||
        !SetKernelObjectSecurity(made, DACL_SECURITY_INFORMATION, security))
        return false;
    SetKernelObjectSecurity(made, OWNER_SECURITY_INFORMATION, security);
    SetKernelObjectSecurity(made, GROUP_SECURITY_INFORMATION, security);
    return true;
}

enum class Outcome { saved, untouched, lost };

// A new file beside the real one, written, given its look and flushed, then
// put in its place; the old file goes to a backup name first, so that a
// replacement that fails midway can give the old one its name back.
Outcome replaceWith(const std::wstring& real, HANDLE old, const std::string& bytes) {
    const handles::LocalMemory security = securityOf(old);
    if (!security) return Outcome::untouched;
    const RedirectionOff redirection;
    RemovedAtEnd replacement;
    {
        const handles::KernelObject made = createBeside(FolderOfPath(real), L"new",
                                                        GENERIC_WRITE | READ_CONTROL | WRITE_DAC | WRITE_OWNER,
                                                        replacement.name);
        if (!made || !writeFromStart(made.get(), bytes) || !giveLookOf(old, security.get(), made.get()) ||
            !FlushFileBuffers(made.get()))
            return Outcome::untouched;
    }
    const std::wstring backup = replacement.name.substr(0, replacement.name.size() - 3) + L"old";
    if (ReplaceFileW(real.c_str(), replacement.name.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr)) {
        replacement.name.clear();
        DeleteFileW(backup.c_str());  // gone once the old file's last handle closes
        return Outcome::saved;
    }
    // The one failure that leaves the old file under the backup name; where
    // it cannot have its name back it stays there, whole, and the save is lost.
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
        !MoveFileExW(backup.c_str(), real.c_str(), MOVEFILE_WRITE_THROUGH))
        return Outcome::lost;
    return Outcome::untouched;
}

// The file itself rewritten through the handle it was read by, nobody else
// writing it meanwhile: made long enough first, so that a full disk fails
// before a byte changes, then written, cut to its new length and flushed. A
// write that fails midway puts the old bytes back.
bool rewrite(HANDLE file, const std::string& old, const std::string& bytes) {
    if (bytes.size() > old.size() && !setLength(file, bytes.size())) {
        setLength(file, old.size());
        return false;
    }
    if (writeFromStart(file, bytes) && setLength(file, bytes.size()) && FlushFileBuffers(file)) return true;
    writeFromStart(file, old);
    setLength(file, old.size());
    FlushFileBuffers(file);
    return false;
}

SettingsFileFacts factsOf(HANDLE file, std::wstring& real) {
    SettingsFileFacts facts;
    facts.exists = true;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return facts;  // nothing known: not to be changed
    facts.writable = true;
    facts.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    facts.links = info.nNumberOfLinks;
    facts.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    real = finalPathOf(file);
    facts.realPathKnown = !real.empty();
    facts.deletable = static_cast<bool>(
        handles::fileHandle(ReOpenFile(file, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0)));
    return facts;
}

}  // namespace

bool Win32SettingsStore::WriteIniValues(const std::string& section, const Keys& keysAndValues) {
    // Through any link at the name; shared for reading and for being
    // replaced, but written by nobody else while the save runs. A folder, a
    // file this user may not write and one another program writes do not open.
    const handles::KernelObject opened = handles::fileHandle(
        CreateFileW(longPathWhereNeeded(file).c_str(), GENERIC_READ | GENERIC_WRITE | READ_CONTROL,
                    FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    SettingsFileFacts facts;
    facts.exists = opened || GetLastError() != ERROR_FILE_NOT_FOUND;
    std::wstring real;
    if (opened) facts = factsOf(opened.get(), real);
    const std::vector<SaveWay> ways = settingsSaveWays(facts);
    if (ways.empty()) return false;
    std::string old;
    if (opened) {
        const std::optional<std::string> bytes = readWhole(opened.get());
        if (!bytes) return false;
        old = *bytes;
    }
    const std::optional<std::string> bytes = withKeysWritten(old, section, keysAndValues);
    if (!bytes) return false;
    for (const SaveWay way : ways) {
        if (way == SaveWay::create) return createWith(file, *bytes);
        if (way == SaveWay::inPlace) return rewrite(opened.get(), old, *bytes);
        const Outcome outcome = replaceWith(real, opened.get(), *bytes);
        if (outcome != Outcome::untouched) return outcome == Outcome::saved;
    }
    return false;
}

}  // namespace fulmina
