#include "host/texture_file_win32.h"

#include <optional>

#include "common/file_bytes_win32.h"
#include "common/plain_file_win32.h"
#include "forms/text_win32.h"
#include "host/user_only_security_win32.h"

namespace fulmina {

namespace {

constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Another program busy at the name (writing a file there, renaming one over
// it) may be in the way for a moment: the saver tries again, for up to about
// half a second. Against a program doing nothing else, a few tries do.
constexpr int attempts = 100;
constexpr DWORD pauseMs = 5;

struct FileIdentity {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FileIdentity& o) const { return volume == o.volume && high == o.high && low == o.low; }
};

std::optional<FileIdentity> identityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

bool clearReadOnly(HANDLE file) {
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof(basic))) return false;
    if ((basic.FileAttributes & FILE_ATTRIBUTE_READONLY) == 0) return true;
    basic.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic)) != FALSE;
}

// Deletes the file the handle is open on (read-only or not), once the last
// handle to it is closed. The handle has DELETE and attribute access.
bool deleteThrough(HANDLE file) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    return clearReadOnly(file) &&
           SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition)) != FALSE;
}

bool holdsExactly(HANDLE file, const std::vector<std::uint8_t>& bytes) {
    const FileBytes read = readWholeFile(file, bytes.size());
    return read.bytes && *read.bytes == bytes;
}

}  // namespace

TextureFile::TextureFile(const std::string& folder, const std::string& file)
    : folder(forms::wide(folder)), file(forms::wide(file)) {}

bool TextureFile::write(const std::vector<std::uint8_t>& bytes) {
    remove();
    if (bytes.empty()) return false;
    // The folder stays open, and cannot be renamed, until the file is made in it.
    const handles::KernelObject inFolder = openEntry(folder, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (!inFolder || !isPlainEntry(inFolder.get(), true, folder)) return false;
    UserOnlySecurity security;
    if (security.attributes() == nullptr) return false;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0) Sleep(pauseMs);
        Step step = removeLeftover();
        if (step == Step::done) step = makeAndHold(bytes, security.attributes());
        if (step != Step::again) return written();
    }
    return false;
}

// A plain file left at the name (by an earlier run that did not end, or put
// there by anyone) goes, read-only or not; a link or a folder is left alone
// and stops the write.
TextureFile::Step TextureFile::removeLeftover() const {
    const handles::KernelObject entry =
        openEntry(file, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE, shareAll, OPEN_EXISTING, 0);
    if (!entry) return GetLastError() == ERROR_FILE_NOT_FOUND ? Step::done : Step::again;
    if (!isPlainEntry(entry.get(), false, file)) return Step::refused;
    return deleteThrough(entry.get()) ? Step::done : Step::again;
}

TextureFile::Step TextureFile::makeAndHold(const std::vector<std::uint8_t>& bytes, SECURITY_ATTRIBUTES* security) {
    std::optional<FileIdentity> made;
    {
        // New, or nothing: a file that came in since it was removed is not
        // written into. Nobody else may open it while it is written.
        const handles::KernelObject writer =
            openEntry(file, GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, FILE_SHARE_READ, CREATE_NEW,
                      FILE_ATTRIBUTE_NORMAL, security);
        if (!writer) return Step::again;
        made = identityOf(writer.get());
        if (!made || !isPlainEntry(writer.get(), false, file) || !writeWholeFile(writer.get(), bytes.data(), bytes.size())) {
            deleteThrough(writer.get());
            return Step::refused;
        }
    }
    // Held again without the right to write, so that the renderer, which
    // lets no writer in beside it, may read it. The moment between the two
    // opens is looked at: the same file, still plain, with exactly the bytes
    // written, or it goes and the saver tries again.
    handles::KernelObject reader = openEntry(file, GENERIC_READ | DELETE | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                                             FILE_SHARE_READ, OPEN_EXISTING, 0);
    if (!reader) return Step::again;
    if (!(identityOf(reader.get()) == made)) return Step::again;  // another file has the name now
    if (!isPlainEntry(reader.get(), false, file) || !holdsExactly(reader.get(), bytes)) {
        deleteThrough(reader.get());
        return Step::again;
    }
    held = std::move(reader);
    return Step::done;
}

void TextureFile::remove() {
    if (!held) return;
    deleteThrough(held.get());
    held.reset();
}

}  // namespace fulmina
