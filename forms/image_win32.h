#pragma once
#include <windows.h>

#include "common/handles_win32.h"

namespace forms {

class Form;

// A bitmap resource of this program as a DIB section; empty when there is none.
handles::Bitmap loadBitmapResource(int id);

// A windowless image control: its container paints it, at its natural size
// from its top-left corner and cut to the control's size (never stretched).
class Image {
public:
    Image(Form& container, handles::Bitmap picture);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    void Move(int left, int top, int width, int height);

private:
    friend class Form;
    void paint(HDC dc) const;

    Form& container;
    handles::Bitmap picture;
    int left = 0, top = 0, width = 0, height = 0;
};

// A picture box's persistent image: a picture drawn over a background colour,
// kept in memory and saved as a Windows bitmap file.
class PictureBox {
public:
    PictureBox(int width, int height, COLORREF background, const handles::Bitmap& picture);
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // Writes the persistent image as a 24-bit BMP file; false on failure.
    bool SavePicture(const char* path) const;

private:
    handles::Bitmap image;  // a 24-bit DIB section
    void* bits = nullptr;
    int width, height;
};

}  // namespace forms
