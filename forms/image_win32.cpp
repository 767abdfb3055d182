#include "forms/image_win32.h"

#include <algorithm>
#include <cstdio>

#include "forms/form_win32.h"

namespace forms {

HBITMAP loadBitmapResource(int id) {
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

Image::Image(Form& container, HBITMAP picture) : container(container), picture(picture) {
    container.images.push_back(this);
    BITMAP info{};
    if (picture != nullptr && GetObject(picture, sizeof(info), &info)) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
}

Image::~Image() {
    auto& list = container.images;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (picture != nullptr) DeleteObject(picture);
}

void Image::Move(int l, int t, int w, int h) {
    left = l;
    top = t;
    width = w;
    height = h;
    if (container.hwnd() != nullptr) InvalidateRect(container.hwnd(), nullptr, FALSE);
}

void Image::paint(HDC dc) const {
    if (picture == nullptr) return;
    BITMAP info{};
    GetObject(picture, sizeof(info), &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, picture);
    BitBlt(dc, left, top, std::min<int>(width, info.bmWidth), std::min<int>(height, info.bmHeight), source, 0, 0,
           SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

PictureBox::PictureBox(int w, int h, COLORREF background, HBITMAP picture) : width(w), height(h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    image = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC target = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (image != nullptr && target != nullptr) {
        HGDIOBJ previousTarget = SelectObject(target, image);
        RECT all{0, 0, w, h};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(target, &all, brush);
        DeleteObject(brush);
        if (picture != nullptr) {
            HDC source = CreateCompatibleDC(target);
            HGDIOBJ previousSource = SelectObject(source, picture);
            BitBlt(target, 0, 0, w, h, source, 0, 0, SRCCOPY);
            SelectObject(source, previousSource);
            DeleteDC(source);
        }
        SelectObject(target, previousTarget);
        GdiFlush();
    }
    if (target != nullptr) DeleteDC(target);
    if (picture != nullptr) DeleteObject(picture);
}

PictureBox::~PictureBox() {
    if (image != nullptr) DeleteObject(image);
}

bool PictureBox::SavePicture(const char* path) const {
    if (image == nullptr || bits == nullptr) return false;
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
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(&file, sizeof(file), 1, f) == 1 && std::fwrite(&info, sizeof(info), 1, f) == 1 &&
                    std::fwrite(bits, 1, dataSize, f) == dataSize;
    return std::fclose(f) == 0 && ok;
}

}  // namespace forms
