#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "common/handles_win32.h"
#include "common/memory_bitmap_win32.h"
#include "forms/windowless_win32.h"

namespace forms {

// A bitmap resource of this program as a DIB section; empty when there is none.
handles::Bitmap loadBitmapResource(int id);

// Writes 24-bit pixels (rows bottom-up, each padded to 4 bytes, as a DIB
// section holds them) as a BMP file; false on failure. The path is ANSI
// text, or wide for a name the code page cannot spell.
bool writeBmp24(const char* path, int width, int height, const void* bits);
bool writeBmp24(const wchar_t* path, int width, int height, const void* bits);

// A windowless image control: its picture at its natural size from its
// top-left corner, cut to the control's size (never stretched), and a click.
class Image : public Windowless {
public:
    // Owns its picture and takes its size.
    Image(Container& container, handles::Bitmap picture, int left = 0, int top = 0);
    // Empty until a picture is set.
    Image(Container& container, int left, int top, int width, int height);

    // Shows a picture that another owns (as one image's picture is given to
    // another); null shows nothing.
    void setPicture(HBITMAP picture);
    HBITMAP picture() const { return shown; }

    std::function<void()> Click;

protected:
    void UserControl_Paint(HDC dc) override;
    void UserControl_Click() override {
        if (Click) Click();
    }

private:
    handles::Bitmap owned;
    HBITMAP shown = nullptr;
};

// A picture box: a persistent back image of its size over a background
// colour, which code draws into and the form shows; it can be saved as a
// Windows bitmap file.
class PictureBox : public Windowless {
public:
    PictureBox(Container& container, int left, int top, int width, int height, COLORREF background,
               const handles::Bitmap& picture = handles::Bitmap());

    // Draw here, then Refresh.
    HDC imageDc() const { return image.dc(); }
    // Writes the persistent image as a 24-bit BMP file; false on failure.
    bool SavePicture(const char* path) const;
    // The bytes of that file; empty when there is no image.
    std::vector<std::uint8_t> PictureFileBytes() const;

protected:
    void UserControl_Paint(HDC target) override;

private:
    handles::MemoryBitmap image;  // 24-bit, bottom-up as a BMP file keeps it
};

}  // namespace forms
