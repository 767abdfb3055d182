#pragma once
// A bitmap kept selected in a memory DC of its own: the back images, strips
// and canvases that code draws into with GDI, reads and writes as pixels,
// and copies to the screen from.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/dib_win32.h"
#include "common/handles_win32.h"

namespace handles {

class MemoryBitmap {
public:
    enum class Rows { topDown, bottomUp };

    // Empty: no DC, no bitmap.
    MemoryBitmap() = default;
    // A DIB section of width x height pixels at bitsPerPixel, with an
    // optional colour table; empty when the system refuses it.
    MemoryBitmap(int width, int height, int bitsPerPixel, Rows rows, const RGBQUAD* colours = nullptr,
                 int colourCount = 0) {
        auto made = std::make_unique<State>();
        made->dc.reset(CreateCompatibleDC(nullptr));
        if (!made->dc || width <= 0 || height <= 0) return;
        void* pixels = nullptr;
        made->bitmap = createDibSection(made->dc.get(), width, rows == Rows::topDown ? -height : height, bitsPerPixel,
                                        &pixels, colours, colourCount);
        if (!made->bitmap || pixels == nullptr) return;
        made->bits = static_cast<std::uint8_t*>(pixels);
        made->width = width;
        made->height = height;
        made->bitsPerPixel = bitsPerPixel;
        made->rows = rows;
        if (!select(*made)) return;
        state = std::move(made);
    }

    // Holds a bitmap made elsewhere (a resource, say) to copy from.
    static MemoryBitmap holding(Bitmap picture) {
        MemoryBitmap held;
        BITMAP info{};
        if (!picture || !GetObject(picture.get(), sizeof(info), &info)) return held;
        auto made = std::make_unique<State>();
        made->dc.reset(CreateCompatibleDC(nullptr));
        made->bitmap = std::move(picture);
        made->width = info.bmWidth;
        made->height = info.bmHeight;
        made->bitsPerPixel = info.bmBitsPixel;
        if (!made->dc || !select(*made)) return held;
        held.state = std::move(made);
        return held;
    }

    explicit operator bool() const { return state != nullptr; }
    HDC dc() const { return state ? state->dc.get() : nullptr; }
    HBITMAP bitmap() const { return state ? state->bitmap.get() : nullptr; }
    int width() const { return state ? state->width : 0; }
    int height() const { return state ? state->height : 0; }
    int bitsPerPixel() const { return state ? state->bitsPerPixel : 0; }
    // Bytes per row in memory: whole 32-bit words.
    std::ptrdiff_t stride() const {
        return state ? ((static_cast<std::ptrdiff_t>(state->width) * state->bitsPerPixel + 31) / 32) * 4 : 0;
    }
    // The pixels as they lie in memory, for a DIB section (null otherwise);
    // GdiFlush before reading what GDI drew.
    std::uint8_t* bits() const { return state ? state->bits : nullptr; }
    Rows rows() const { return state ? state->rows : Rows::topDown; }
    // Row y counted from the top of the picture.
    std::uint8_t* row(int y) const {
        if (bits() == nullptr || y < 0 || y >= state->height) return nullptr;
        const int index = state->rows == Rows::topDown ? y : state->height - 1 - y;
        return state->bits + stride() * index;
    }

private:
    struct State {
        MemoryDc dc;
        Bitmap bitmap;
        HGDIOBJ replaced = nullptr;
        std::uint8_t* bits = nullptr;
        int width = 0, height = 0, bitsPerPixel = 0;
        Rows rows = Rows::topDown;
        // The DC gives back what it held before it goes, then the bitmap goes.
        ~State() {
            if (replaced != nullptr && dc) SelectObject(dc.get(), replaced);
            dc.reset();
        }
    };
    static bool select(State& s) {
        const HGDIOBJ previous = SelectObject(s.dc.get(), s.bitmap.get());
        if (previous == nullptr || previous == HGDI_ERROR) return false;
        s.replaced = previous;
        return true;
    }

    std::unique_ptr<State> state;
};

}  // namespace handles
