#include "forms/image_win32.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "common/bmp_file.h"

namespace forms {

handles::Bitmap loadBitmapResource(int id) {
    return handles::Bitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

namespace {
SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || !GetObject(bitmap, sizeof(info), &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}
}  // namespace

Image::Image(Container& container, handles::Bitmap picture, int left, int top)
    : Windowless(container, left, top, bitmapSize(picture.get()).cx, bitmapSize(picture.get()).cy),
      owned(std::move(picture)) {
    shown = owned.get();
}

Image::Image(Container& container, int left, int top, int width, int height)
    : Windowless(container, left, top, width, height) {}

void Image::setPicture(HBITMAP picture) {
    shown = picture;
    Refresh();
}

void Image::UserControl_Paint(HDC dc) {
    const SIZE size = bitmapSize(shown);
    if (size.cx == 0) return;
    handles::MemoryDc source(CreateCompatibleDC(dc));
    handles::Selection selected(source.get(), shown);
    BitBlt(dc, Left(), Top(), std::min<int>(Width(), size.cx), std::min<int>(Height(), size.cy), source.get(), 0, 0,
           SRCCOPY);
}

PictureBox::PictureBox(Container& container, int left, int top, int w, int h, COLORREF background,
                       const handles::Bitmap& picture)
    : Windowless(container, left, top, w, h), image(w, h, 24, handles::MemoryBitmap::Rows::bottomUp) {
    if (!image) return;
    RECT all{0, 0, w, h};
    handles::Brush brush(CreateSolidBrush(background));
    FillRect(image.dc(), &all, brush.get());
    if (picture) {
        handles::MemoryDc source(CreateCompatibleDC(image.dc()));
        handles::Selection fromPicture(source.get(), picture.get());
        BitBlt(image.dc(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
}

void PictureBox::UserControl_Paint(HDC target) {
    if (image) BitBlt(target, Left(), Top(), Width(), Height(), image.dc(), 0, 0, SRCCOPY);
}

namespace {
bool writeBmp24To(FILE* f, int width, int height, const void* bits) {
    if (f == nullptr) return false;
    const std::vector<std::uint8_t> file = bmp::file24(width, height, static_cast<const std::uint8_t*>(bits));
    const bool ok = !file.empty() && std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}
}  // namespace

bool writeBmp24(const char* path, int width, int height, const void* bits) {
    return writeBmp24To(std::fopen(path, "wb"), width, height, bits);
}

bool writeBmp24(const wchar_t* path, int width, int height, const void* bits) {
    return writeBmp24To(_wfopen(path, L"wb"), width, height, bits);
}

bool PictureBox::SavePicture(const char* path) const {
    if (!image) return false;
    GdiFlush();
    return writeBmp24(path, image.width(), image.height(), image.bits());
}

std::vector<std::uint8_t> PictureBox::PictureFileBytes() const {
    if (!image) return {};
    GdiFlush();
    return bmp::file24(image.width(), image.height(), static_cast<const std::uint8_t*>(image.bits()));
}

}  // namespace forms
