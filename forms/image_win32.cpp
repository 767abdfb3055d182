#include "common/dib_win32.h"
#include "forms/image_win32.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "forms/form_win32.h"

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

Image::Image(Form& container, handles::Bitmap picture, int left, int top)
    : Windowless(container, left, top, bitmapSize(picture.get()).cx, bitmapSize(picture.get()).cy),
      owned(std::move(picture)) {
    shown = owned.get();
}

Image::Image(Form& container, int left, int top, int width, int height)
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

PictureBox::PictureBox(Form& container, int left, int top, int w, int h, COLORREF background,
                       const handles::Bitmap& picture)
    : Windowless(container, left, top, w, h), dc(CreateCompatibleDC(nullptr)) {
    image = handles::createDibSection(dc.get(), w, h, 24, &bits);
    if (!image || !dc) return;
    selected.emplace(dc.get(), image.get());
    RECT all{0, 0, w, h};
    handles::Brush brush(CreateSolidBrush(background));
    FillRect(dc.get(), &all, brush.get());
    if (picture) {
        handles::MemoryDc source(CreateCompatibleDC(dc.get()));
        handles::Selection fromPicture(source.get(), picture.get());
        BitBlt(dc.get(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
}

void PictureBox::UserControl_Paint(HDC target) {
    if (image) BitBlt(target, Left(), Top(), Width(), Height(), dc.get(), 0, 0, SRCCOPY);
}

namespace {
bool writeBmp24To(FILE* f, int width, int height, const void* bits) {
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD dataSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + dataSize;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = dataSize;
    if (f == nullptr) return false;
    const bool ok = std::fwrite(&file, sizeof(file), 1, f) == 1 && std::fwrite(&info, sizeof(info), 1, f) == 1 &&
                    std::fwrite(bits, 1, dataSize, f) == dataSize;
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
    if (!image || bits == nullptr) return false;
    GdiFlush();
    return writeBmp24(path, Width(), Height(), bits);
}

}  // namespace forms
