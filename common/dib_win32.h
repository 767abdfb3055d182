#pragma once
// A DIB section: pixels in memory that GDI draws into and code reads.
#include <windows.h>

#include <cstring>

#include "common/handles_win32.h"

namespace handles {

// width x height pixels of bitsPerPixel bits, uncompressed; a positive height
// keeps the rows bottom-up, a negative one top-down. An optional colour table
// of up to 256 entries. The pixels' address goes to *bits (null on failure).
inline Bitmap createDibSection(HDC dc, long width, long height, int bitsPerPixel, void** bits,
                               const RGBQUAD* colours = nullptr, int colourCount = 0) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    if (colours != nullptr && colourCount > 0 && colourCount <= 256) {
        info.header.biClrUsed = static_cast<DWORD>(colourCount);
        std::memcpy(info.colours, colours, sizeof(RGBQUAD) * static_cast<std::size_t>(colourCount));
    }
    *bits = nullptr;
    return Bitmap(CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits, nullptr, 0));
}

}  // namespace handles
