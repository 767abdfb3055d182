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

Image::Image(Form& container, handles::Bitmap picture) : container(container), picture(std::move(picture)) {
    container.images.push_back(this);
    BITMAP info{};
    if (this->picture && GetObject(this->picture.get(), sizeof(info), &info)) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
}

Image::~Image() {
    auto& list = container.images;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void Image::Move(int l, int t, int w, int h) {
    left = l;
    top = t;
    width = w;
    height = h;
    if (container.hwnd() != nullptr) InvalidateRect(container.hwnd(), nullptr, FALSE);
}

void Image::paint(HDC dc) const {
    BITMAP info{};
    if (!picture || !GetObject(picture.get(), sizeof(info), &info)) return;
    handles::MemoryDc source(CreateCompatibleDC(dc));
    handles::Selection selected(source.get(), picture.get());
    BitBlt(dc, left, top, std::min<int>(width, info.bmWidth), std::min<int>(height, info.bmHeight), source.get(), 0,
           0, SRCCOPY);
}

PictureBox::PictureBox(int w, int h, COLORREF background, const handles::Bitmap& picture) : width(w), height(h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    handles::WindowDc screen;
    image.reset(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    handles::MemoryDc target(CreateCompatibleDC(screen.get()));
    if (!image || !target) return;
    handles::Selection intoImage(target.get(), image.get());
    RECT all{0, 0, w, h};
    handles::Brush brush(CreateSolidBrush(background));
    FillRect(target.get(), &all, brush.get());
    if (picture) {
        handles::MemoryDc source(CreateCompatibleDC(target.get()));
        handles::Selection fromPicture(source.get(), picture.get());
        BitBlt(target.get(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
}

bool PictureBox::SavePicture(const char* path) const {
    if (!image || bits == nullptr) return false;
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
