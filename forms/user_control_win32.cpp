#include "common/dib_win32.h"
#include "forms/user_control_win32.h"

#include <algorithm>

#include "forms/application_win32.h"
#include "forms/form_win32.h"

namespace forms {

namespace {
constexpr wchar_t controlClass[] = L"FulminaUserControl";

// The shift argument of mouse events: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(WPARAM keys) {
    return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}
}  // namespace

UserControl::Surface::Surface(int w, int h) : dc(CreateCompatibleDC(nullptr)) {
    void* bits = nullptr;
    bitmap = handles::createDibSection(dc.get(), std::max(w, 1), -std::max(h, 1), 32, &bits);  // top-down
    selected.emplace(dc.get(), bitmap.get());
}

void UserControl::registerClass() {
    static const bool registered = registerWindowClass(controlClass, windowProc, CS_DBLCLKS);
    (void)registered;
}

UserControl::UserControl(Form& container, int l, int t, int w, int h)
    : form(container), left(l), top(t), width(w), height(h),
      image(std::make_unique<Surface>(w, h)), shown(std::make_unique<Surface>(w, h)) {
    form.controls.push_back(this);
    if (form.hwnd() != nullptr) create();
}

UserControl::~UserControl() {
    stopTimers();
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    auto& list = form.controls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool UserControl::create() {
    if (window != nullptr) return true;
    registerClass();
    window = CreateWindowExW(0, controlClass, L"", WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0), left,
                             top, width, height, form.hwnd(), nullptr, GetModuleHandleW(nullptr), this);
    if (window == nullptr) return false;
    startTimers();
    return true;
}

double UserControl::ScaleWidth() const { return width * twipsPerPixelX(); }
double UserControl::ScaleHeight() const { return height * twipsPerPixelY(); }

const FontDescription& UserControl::ambientFont() const { return form.ambientFont(); }
bool UserControl::ambientUserMode() const { return form.ambientUserMode(); }

void UserControl::PropertyChanged(const std::string& name) {
    if (onPropertyChanged) onPropertyChanged(name);
}

void UserControl::addLabel(Label& label) {
    labels.push_back(&label);
    label.changed = [this] { show(); };
}

void UserControl::Move(int l, int t, int w, int h) {
    const bool resized = w != width || h != height;
    left = l;
    top = t;
    width = w;
    height = h;
    if (resized) {
        // The image keeps what fits of its old content, as a persistent image does.
        auto resizedImage = std::make_unique<Surface>(w, h);
        BitBlt(resizedImage->dc.get(), 0, 0, w, h, image->dc.get(), 0, 0, SRCCOPY);
        image = std::move(resizedImage);
        shown = std::make_unique<Surface>(w, h);
    }
    if (window != nullptr) MoveWindow(window, l, t, w, h, TRUE);
    if (resized) UserControl_Resize();
}

void UserControl::show() {
    BitBlt(shown->dc.get(), 0, 0, width, height, image->dc.get(), 0, 0, SRCCOPY);
    for (const Label* label : labels) label->paint(shown->dc.get());
    GdiFlush();
    if (window != nullptr) InvalidateRect(window, nullptr, FALSE);
}

void UserControl::setVisible(bool on) {
    visible = on;
    if (window != nullptr) ShowWindow(window, on ? SW_SHOWNA : SW_HIDE);
}

// A label under the pointer has the event first; its handler may hand it on.
void UserControl::mouse(MouseEvent event, int button, WPARAM keys, LPARAM position) {
    const int x = static_cast<short>(LOWORD(position));
    const int y = static_cast<short>(HIWORD(position));
    const int shift = shiftState(keys);
    const double tppX = twipsPerPixelX();
    const double tppY = twipsPerPixelY();
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
        Label& label = **it;
        if (!label.contains(x, y)) continue;
        const Label::MouseHandler& handler =
            event == MouseEvent::down ? label.MouseDown : event == MouseEvent::move ? label.MouseMove : label.MouseUp;
        if (!handler) break;
        handler(button, shift, (x - label.Left()) * tppX, (y - label.Top()) * tppY);
        return;
    }
    if (event == MouseEvent::down) UserControl_MouseDown(button, shift, x * tppX, y * tppY);
    if (event == MouseEvent::move) UserControl_MouseMove(button, shift, x * tppX, y * tppY);
    if (event == MouseEvent::up) UserControl_MouseUp(button, shift, x * tppX, y * tppY);
}

LRESULT CALLBACK UserControl::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* control = reinterpret_cast<UserControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (control == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    constexpr WPARAM anyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
    switch (message) {
        case WM_PAINT: {
            handles::PaintDc dc(window);
            BitBlt(dc.get(), 0, 0, control->width, control->height, control->shown->dc.get(), 0, 0, SRCCOPY);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the paint covers everything
        case WM_SETFOCUS:
            control->UserControl_GotFocus();
            return 0;
        case WM_KILLFOCUS:
            control->UserControl_LostFocus();
            return 0;
        // A press captures the mouse, so the release reaches the control
        // wherever it happens. Only the left button takes the focus, before
        // the press itself is told.
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(window);
            SetCapture(window);
            control->mouse(MouseEvent::down, 1, wParam, lParam);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            SetCapture(window);
            control->mouse(MouseEvent::down, 2, wParam, lParam);
            return 0;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            SetCapture(window);
            control->mouse(MouseEvent::down, 4, wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const int button = message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4;
            if ((wParam & anyButton) == 0 && GetCapture() == window) ReleaseCapture();
            control->mouse(MouseEvent::up, button, wParam, lParam);
            return 0;
        }
        case WM_MOUSEMOVE: {
            const int button = ((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
                               ((wParam & MK_MBUTTON) ? 4 : 0);
            control->mouse(MouseEvent::move, button, wParam, lParam);
            return 0;
        }
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            control->stopTimers();
            control->window = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace forms
