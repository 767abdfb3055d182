#include "forms/windowless_win32.h"

#include <algorithm>

#include "forms/form_win32.h"

namespace forms {

Windowless::Windowless(Form& container, int l, int t, int w, int h)
    : form(container), left(l), top(t), width(w), height(h) {
    form.windowless.push_back(this);
}

Windowless::~Windowless() {
    auto& list = form.windowless;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (form.captured == this) form.captured = nullptr;
}

void Windowless::Move(int l, int t, int w, int h) {
    const bool resized = w != width || h != height;
    Refresh();
    left = l;
    top = t;
    width = w;
    height = h;
    Refresh();
    if (resized) UserControl_Resize();
}

void Windowless::Refresh() {
    if (form.hwnd() == nullptr) return;
    const RECT area{left, top, left + width, top + height};
    InvalidateRect(form.hwnd(), &area, FALSE);
}

bool Windowless::ambientUserMode() const { return form.ambientUserMode(); }
const FontDescription& Windowless::ambientFont() const { return form.ambientFont(); }
HWND Windowless::containerWindow() const { return form.hwnd(); }

void Windowless::PropertyChanged(const std::string& name) {
    if (onPropertyChanged) onPropertyChanged(name);
}

bool Windowless::contains(int x, int y) const {
    return x >= left && x < left + width && y >= top && y < top + height && UserControl_HitTest(x - left, y - top);
}

}  // namespace forms
