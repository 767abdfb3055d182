#pragma once
#include <windows.h>

namespace forms {

class Form;

// A bitmap resource of this program as a DIB section (the caller owns it), or
// null when there is none.
HBITMAP loadBitmapResource(int id);

// A windowless image control: its container paints it, at its natural size
// from its top-left corner and cut to the control's size (never stretched).
class Image {
public:
    Image(Form& container, HBITMAP picture);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    void Move(int left, int top, int width, int height);

private:
    friend class Form;
    void paint(HDC dc) const;

    Form& container;
    HBITMAP picture;  // owned
    int left = 0, top = 0, width = 0, height = 0;
};

// A picture box's persistent image: a picture drawn over a background colour,
// kept in memory and saved as a Windows bitmap file.
class PictureBox {
public:
    PictureBox(int width, int height, COLORREF background, HBITMAP picture);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // Writes the persistent image as a 24-bit BMP file; false on failure.
    bool SavePicture(const char* path) const;

private:
    HBITMAP image = nullptr;  // a 24-bit DIB section
    void* bits = nullptr;
    int width, height;
};

}  // namespace forms
