#include "common/file_bytes_win32.h"

#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace fulmina {

FileBytes readWholeFile(HANDLE file, std::uint64_t limit) {
    FileBytes result;
    LARGE_INTEGER size{};
    const LARGE_INTEGER start{};
    if (!GetFileSizeEx(file, &size) || !SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return result;
    const auto length = static_cast<std::uint64_t>(size.QuadPart);
    if (length > limit || length > SIZE_MAX) {
        result.tooLarge = true;
        return result;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        return result;
    }
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + done, want, &got, nullptr) || got == 0) return result;
        done += got;
    }
    result.bytes = std::move(bytes);
    return result;
}

bool writeWholeFile(HANDLE file, const void* bytes, std::size_t size) {
    const LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return false;
    const auto* from = static_cast<const std::uint8_t*>(bytes);
    for (std::size_t done = 0; done < size;) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        DWORD wrote = 0;
        if (!WriteFile(file, from + done, want, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    return true;
}

handles::ComRef<IPicture> pictureFromBytes(const std::vector<std::uint8_t>& bytes) {
    handles::ComRef<IPicture> picture;
    if (bytes.empty()) return picture;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr) return picture;
    void* at = GlobalLock(memory);
    if (at == nullptr) {
        GlobalFree(memory);
        return picture;
    }
    std::memcpy(at, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    handles::ComRef<IStream> stream;
    // The stream frees the memory when it goes.
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, reinterpret_cast<IStream**>(stream.out())))) {
        GlobalFree(memory);
        return picture;
    }
    OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture, picture.out());
    return picture;
}

}  // namespace fulmina
