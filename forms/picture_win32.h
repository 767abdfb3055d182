#pragma once
// Pictures as the forms layer hands them around: the bytes of the file they
// were loaded from (a GIF, an icon, a cursor), which is also what a property
// bag keeps; common/file_bytes_win32 makes the platform's picture object of
// them when one is needed.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/handles_win32.h"

namespace forms {

struct Picture {
    std::vector<std::uint8_t> bytes;
};

// A picture file, read whole: no picture when it cannot be read. A file of
// more than limit bytes is refused before anything is read (tooLarge).
struct PictureFile {
    std::optional<Picture> picture;
    bool tooLarge = false;
};
PictureFile LoadPicture(const std::wstring& path, std::uint64_t limit);

// A mouse cursor from the bytes of a .cur or .ico file (its first image);
// empty when they are not one.
struct CursorTraits {
    static void close(HCURSOR cursor) { DestroyCursor(cursor); }
};
using Cursor = handles::Owned<HCURSOR, CursorTraits>;
Cursor cursorFromBytes(const std::vector<std::uint8_t>& bytes);

}  // namespace forms
