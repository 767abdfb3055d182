#include "forms/picture_win32.h"

#include <cstdint>
#include <utility>

#include "common/file_bytes_win32.h"

namespace forms {

PictureFile LoadPicture(const std::wstring& path, std::uint64_t limit) {
    PictureFile result;
    const handles::KernelObject file = handles::fileHandle(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return result;
    fulmina::FileBytes read = fulmina::readWholeFile(file.get(), limit);
    result.tooLarge = read.tooLarge;
    if (read.bytes) result.picture = Picture{std::move(*read.bytes)};
    return result;
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
