#include "common/plain_file_win32.h"

#include <utility>

namespace fulmina {

handles::KernelObject openEntry(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                                SECURITY_ATTRIBUTES* security) {
    return handles::fileHandle(CreateFileW(path.c_str(), access, share, security, disposition,
                                           flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

std::wstring finalPathOf(HANDLE file) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), VOLUME_NAME_DOS);
    if (length >= path.size()) {  // too small: the length needed, with its NUL
        path.assign(length, L'\0');
        length = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= path.size()) return {};
    path.resize(length);
    return path;
}

std::optional<EntryFacts> entryFacts(HANDLE entry) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(entry, &info)) return std::nullopt;
    std::wstring path = finalPathOf(entry);
    if (path.empty()) return std::nullopt;
    EntryFacts facts;
    facts.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.reparsePoint = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    facts.links = info.nNumberOfLinks;
    facts.finalPath = std::move(path);
    return facts;
}

bool isPlainEntry(HANDLE entry, bool wantDirectory, const std::wstring& path) {
    const std::optional<EntryFacts> facts = entryFacts(entry);
    return facts && isPlainEntry(*facts, wantDirectory, path);
}

}  // namespace fulmina
