#include "host/texture_file_win32.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "forms/text_win32.h"
#include "host/plain_file.h"

namespace fulmina {

namespace {

constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::optional<EntryFacts> factsOf(HANDLE entry) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(entry, &info)) return std::nullopt;
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(entry, path.data(), static_cast<DWORD>(path.size()), VOLUME_NAME_DOS);
    if (length >= path.size()) {  // too small: the length needed, with its NUL
        path.assign(length, L'\0');
        length = GetFinalPathNameByHandleW(entry, path.data(), static_cast<DWORD>(path.size()), VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= path.size()) return std::nullopt;
    path.resize(length);
    EntryFacts facts;
    facts.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.reparsePoint = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    facts.links = info.nNumberOfLinks;
    facts.finalPath = forms::utf8(path);
    return facts;
}

bool isPlain(HANDLE entry, bool directory, const std::string& path) {
    const std::optional<EntryFacts> facts = factsOf(entry);
    return facts && isPlainEntry(*facts, directory, path);
}

// Opens the entry itself, never what a link at its name leads to.
handles::KernelObject openEntry(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                                bool* made = nullptr) {
    const HANDLE entry = CreateFileW(forms::wide(path).c_str(), access, share, nullptr, disposition,
                                     flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (made != nullptr) *made = entry != INVALID_HANDLE_VALUE && GetLastError() != ERROR_ALREADY_EXISTS;
    return handles::fileHandle(entry);
}

// The same file again, with other rights: not by its name, which may lead
// elsewhere by now.
handles::KernelObject reopen(HANDLE file, DWORD access, DWORD share) {
    return handles::fileHandle(ReOpenFile(file, access, share, FILE_FLAG_OPEN_REPARSE_POINT));
}

bool clearReadOnly(HANDLE file) {
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof(basic))) return false;
    if ((basic.FileAttributes & FILE_ATTRIBUTE_READONLY) == 0) return true;
    basic.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic)) != FALSE;
}

struct FileIdentity {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FileIdentity& o) const { return volume == o.volume && high == o.high && low == o.low; }
};

std::optional<FileIdentity> identityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// Deletes the file that the handle is open on, once the handle that can
// delete it is shown to be that same file: Wine reopens a handle by the name
// it was opened with, which may be another file's by now.
bool deleteThrough(HANDLE file) {
    const std::optional<FileIdentity> own = identityOf(file);
    const handles::KernelObject deleter = reopen(file, DELETE, shareAll);
    if (!own || !deleter || !(identityOf(deleter.get()) == own)) return false;
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(deleter.get(), FileDispositionInfo, &disposition, sizeof(disposition)) != FALSE;
}

bool writeWhole(HANDLE file, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD wrote = 0;
        if (!WriteFile(file, bytes.data() + done, want, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    return SetEndOfFile(file) != FALSE;  // a longer file left before is cut to these bytes
}

}  // namespace

TextureFile::TextureFile(std::string folder, std::string file) : folder(std::move(folder)), file(std::move(file)) {}

bool TextureFile::write(const std::vector<std::uint8_t>& bytes) {
    remove();
    if (bytes.empty()) return false;
    // The folder stays open, and cannot be renamed, until the file is made in it.
    const handles::KernelObject inFolder =
        openEntry(folder, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS);
    if (!inFolder || !isPlain(inFolder.get(), true, folder)) return false;
    bool made = false;
    handles::KernelObject entry =
        openEntry(file, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE, shareAll, OPEN_ALWAYS, 0, &made);
    if (!entry) return false;
    if (!isPlain(entry.get(), false, file)) {
        if (made) deleteThrough(entry.get());
        return false;
    }
    // A file left read-only is still the saver's own: it is made writable.
    bool wrote = false;
    if (clearReadOnly(entry.get())) {
        const handles::KernelObject writer = reopen(entry.get(), GENERIC_WRITE, FILE_SHARE_READ);
        wrote = writer && writeWhole(writer.get(), bytes);
    }
    if (!wrote) {
        deleteThrough(entry.get());  // a plain file of its own name: no half-written texture stays
        return false;
    }
    kept = std::move(entry);
    return true;
}

void TextureFile::remove() {
    if (!kept) return;
    // Made read-only meanwhile: still the saver's file.
    if (!deleteThrough(kept.get()) && clearReadOnly(kept.get())) deleteThrough(kept.get());
    kept.reset();
}

}  // namespace fulmina
