#include "forms/user_control_win32.h"

#include <algorithm>

#include "forms/application_win32.h"
#include "forms/form_win32.h"

namespace forms {

namespace {
constexpr wchar_t controlClass[] = L"FulminaUserControl";
constexpr UINT firstResizeMessage = WM_USER + 1;

handles::MemoryBitmap surface(int width, int height) {
    return handles::MemoryBitmap(std::max(width, 1), std::max(height, 1), 32, handles::MemoryBitmap::Rows::topDown);
}
}  // namespace

void UserControl::registerClass() {
    static const bool registered = registerWindowClass(controlClass, windowProc, CS_DBLCLKS);
    (void)registered;
}

UserControl::UserControl(Form& container, int l, int t, int w, int h)
    : ChildWindow(container), form(container), left(l), top(t), width(w), height(h), image(surface(w, h)),
      shown(surface(w, h)) {
    if (create()) firstResizeDue = PostMessageW(hwnd(), firstResizeMessage, 0, 0) != 0;
    constructed = true;
}

UserControl::~UserControl() {
    stopTimers();
    if (HWND window = hwnd()) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
        windowGone();
    }
}

HWND UserControl::createWindow(HWND parent) {
    registerClass();
    return CreateWindowExW(0, controlClass, L"", WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0), left, top,
                           width, height, parent, nullptr, GetModuleHandleW(nullptr), this);
}

void UserControl::windowCreated() {
    startTimers();
    if (constructed) UserControl_Resize();
}

void UserControl::windowDestroyed() {
    stopTimers();
    mousePath().cancel();
}

double UserControl::ScaleWidth() const { return width * twipsPerPixelX(); }
double UserControl::ScaleHeight() const { return height * twipsPerPixelY(); }

const FontDescription& UserControl::ambientFont() const { return form.ambientFont(); }
bool UserControl::ambientUserMode() const { return form.ambientUserMode(); }
void UserControl::invalidate(const RECT&) { show(); }

void UserControl::PropertyChanged(const std::string& name) {
    if (onPropertyChanged) onPropertyChanged(name);
}

void UserControl::Move(int l, int t, int w, int h) {
    const bool resized = w != width || h != height;
    left = l;
    top = t;
    width = w;
    height = h;
    if (resized) {
        // The image keeps what fits of its old content, as a persistent image does.
        handles::MemoryBitmap resizedImage = surface(w, h);
        BitBlt(resizedImage.dc(), 0, 0, w, h, image.dc(), 0, 0, SRCCOPY);
        image = std::move(resizedImage);
        shown = surface(w, h);
    }
    if (HWND window = hwnd()) MoveWindow(window, l, t, w, h, TRUE);
    if (resized) {
        firstResizeDue = false;
        UserControl_Resize();
    }
}

void UserControl::show() {
    BitBlt(shown.dc(), 0, 0, width, height, image.dc(), 0, 0, SRCCOPY);
    windowless().paint(shown.dc());
    GdiFlush();
    if (HWND window = hwnd()) InvalidateRect(window, nullptr, FALSE);
}

void UserControl::setVisible(bool on) {
    visible = on;
    if (HWND window = hwnd()) ShowWindow(window, on ? SW_SHOWNA : SW_HIDE);
}

void UserControl::ownMouse(MouseEvent event, int button, int shift, int x, int y) {
    const double tx = x * twipsPerPixelX(), ty = y * twipsPerPixelY();
    switch (event) {
        case MouseEvent::down: UserControl_MouseDown(button, shift, tx, ty); break;
        case MouseEvent::move: UserControl_MouseMove(button, shift, tx, ty); break;
        case MouseEvent::up: UserControl_MouseUp(button, shift, tx, ty); break;
    }
}

// A GotFocus handler may destroy this control, and its window with it: the
// mouse path then tells the press to nobody.
void UserControl::pressing(int button) {
    if (button == 1) SetFocus(hwnd());
}

LRESULT CALLBACK UserControl::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* control = reinterpret_cast<UserControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (control == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    // An event that fails is skipped; nothing unwinds through the system.
    try {
        return control->handle(window, message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT UserControl::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            handles::PaintDc dc(window);
            BitBlt(dc.get(), 0, 0, width, height, shown.dc(), 0, 0, SRCCOPY);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the paint covers everything
        case WM_SETFOCUS:
            UserControl_GotFocus();
            return 0;
        case WM_KILLFOCUS:
            UserControl_LostFocus();
            return 0;
        // A label under the pointer has the mouse first; what none takes is
        // the control's own.
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE:
            mousePath().message(window, message, wParam, lParam);
            return 0;
        case firstResizeMessage:
            if (firstResizeDue) {
                firstResizeDue = false;
                UserControl_Resize();
            }
            return 0;
        case WM_NCDESTROY:
            windowGone();
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace forms
