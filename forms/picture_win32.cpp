#include "forms/picture_win32.h"

#include <olectl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace forms {

PictureFile LoadPicture(const std::wstring& path, std::uint64_t limit) {
    PictureFile result;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return result;
    const handles::KernelObject owned(file);  // a valid handle: closed like any kernel object
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) return result;
    const auto length = static_cast<std::uint64_t>(size.QuadPart);
    if (length > limit || length > SIZE_MAX) {
        result.tooLarge = true;
        return result;
    }
    Picture picture;
    try {
        picture.bytes.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        return result;
    }
    for (std::size_t done = 0; done < picture.bytes.size();) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(picture.bytes.size() - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file, picture.bytes.data() + done, want, &got, nullptr) || got == 0) return result;
        done += got;
    }
    result.picture = std::move(picture);
    return result;
}

handles::ComRef<IPicture> loadPictureFromBytes(const std::vector<std::uint8_t>& bytes) {
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

// An icon or cursor file: a directory, then the images. A cursor's entry
// carries its hot spot, which the resource form of the image wants first.
Cursor cursorFromBytes(const std::vector<std::uint8_t>& bytes) {
    auto word = [&](std::size_t at) { return static_cast<unsigned>(bytes[at] | (bytes[at + 1] << 8)); };
    auto dword = [&](std::size_t at) { return word(at) | (word(at + 2) << 16); };
    if (bytes.size() < 22 || word(0) != 0 || (word(2) != 1 && word(2) != 2) || word(4) == 0) return Cursor();
    const bool isCursor = word(2) == 2;
    const unsigned hotX = isCursor ? word(10) : 0, hotY = isCursor ? word(12) : 0;
    const std::size_t size = dword(14), offset = dword(18);
    if (offset > bytes.size() || size > bytes.size() - offset || size == 0) return Cursor();
    std::vector<std::uint8_t> resource;
    if (isCursor) resource = {std::uint8_t(hotX), std::uint8_t(hotX >> 8), std::uint8_t(hotY), std::uint8_t(hotY >> 8)};
    resource.insert(resource.end(), bytes.begin() + static_cast<long>(offset),
                    bytes.begin() + static_cast<long>(offset + size));
    return Cursor(CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), isCursor ? FALSE : TRUE,
                                           0x00030000, 0, 0, LR_DEFAULTCOLOR));
}

}  // namespace forms
