#include "host/final_path_win32.h"

namespace fulmina {

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

}  // namespace fulmina
