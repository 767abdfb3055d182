#include "forms/mouse_path_win32.h"

#include "forms/container_win32.h"
#include "forms/windowless_win32.h"

namespace forms {

namespace {
// A failing handler is skipped; the events after it still run.
template <typename Handler>
void skipFailure(Handler&& handler) {
    try {
        handler();
    } catch (...) {
    }
}
}  // namespace

bool MousePath::message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    const int shift = shiftStateOf(wParam), buttons = mouseButtonsOf(wParam);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            pressAt(window, 1, shift, x, y, buttons);
            return true;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            pressAt(window, 2, shift, x, y, buttons);
            return true;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            pressAt(window, 4, shift, x, y, buttons);
            return true;
        case WM_LBUTTONUP:
            release(window, 1, shift, x, y, buttons);
            return true;
        case WM_RBUTTONUP:
            release(window, 2, shift, x, y, buttons);
            return true;
        case WM_MBUTTONUP:
            release(window, 4, shift, x, y, buttons);
            return true;
        case WM_MOUSEMOVE:
            move(shift, x, y, buttons);
            return true;
        case WM_CANCELMODE:  // a modal box opens, say
            cancel();
            if (GetCapture() == window) ReleaseCapture();
            return true;
        case WM_CAPTURECHANGED:  // lParam: the window that has it now
            if (reinterpret_cast<HWND>(lParam) != window) cancel();
            return true;
        default:
            return false;
    }
}

// A press is where the pointer is, whether or not a move said so: the system
// sends no move for a pointer that comes back to the point it last had in the
// window (under Wine, after it was over no window at all), and a control that
// believes the pointer away takes the press for one that was dragged off and
// its release for no click. So the control under the press first hears the
// pointer arrive there, with the buttons held before this one.
void MousePath::pressAt(HWND window, int button, int shift, int x, int y, int buttons) {
    const std::shared_ptr<bool> pathAlive = alive;
    move(shift, x, y, buttons & ~button);
    if (!*pathAlive || !IsWindow(window)) return;  // a handler took the container or its window
    container.pressing(button);
    if (!*pathAlive || !IsWindow(window)) return;
    press(window, button, shift, x, y);
}

void MousePath::press(HWND window, int button, int shift, int x, int y) {
    if (holder == Holder::nobody) {
        control = container.windowless().at(x, y);
        holder = control != nullptr ? Holder::control : container.takesOwnMouse() ? Holder::own : Holder::nobody;
        if (holder == Holder::nobody) return;  // the container's own, which has no mouse
    }
    pressed |= button;
    if (GetCapture() != window) SetCapture(window);
    tell(holder, control, MouseEvent::down, button, shift, x, y);
}

void MousePath::release(HWND window, int button, int shift, int x, int y, int buttons) {
    if (holder == Holder::nobody || (pressed & button) == 0) return;  // its press was elsewhere: nobody's
    const Holder to = holder;
    Windowless* const target = control;
    pressed &= ~button;
    if (pressed == 0 || buttons == 0) {
        cancel();
        if (GetCapture() == window) ReleaseCapture();
    }
    const bool click = target != nullptr && button == 1 && container.windowless().at(x, y) == target;
    const std::shared_ptr<bool> pathAlive = alive;
    const std::shared_ptr<bool> targetAlive = target != nullptr ? target->alive : nullptr;
    tell(to, target, MouseEvent::up, button, shift, x, y);
    if (click && *pathAlive && *targetAlive) skipFailure([&] { target->UserControl_Click(); });
}

void MousePath::move(int shift, int x, int y, int buttons) {
    if (holder != Holder::nobody) {
        tell(holder, control, MouseEvent::move, buttons, shift, x, y);
        return;
    }
    Windowless* under = container.windowless().at(x, y);
    if (under != nullptr) tell(Holder::control, under, MouseEvent::move, buttons, shift, x, y);
    else if (container.takesOwnMouse()) tell(Holder::own, nullptr, MouseEvent::move, buttons, shift, x, y);
}

void MousePath::tell(Holder to, Windowless* target, MouseEvent event, int button, int shift, int x, int y) {
    if (to == Holder::own) {
        skipFailure([&] { container.ownMouse(event, button, shift, x, y); });
        return;
    }
    if (to != Holder::control || target == nullptr) return;
    const int cx = x - target->left, cy = y - target->top;
    skipFailure([&] {
        switch (event) {
            case MouseEvent::down: target->UserControl_MouseDown(button, shift, cx, cy); break;
            case MouseEvent::move: target->UserControl_MouseMove(button, shift, cx, cy); break;
            case MouseEvent::up: target->UserControl_MouseUp(button, shift, cx, cy); break;
        }
    });
}

void MousePath::forget(const Windowless& gone) {
    if (control == &gone) control = nullptr;  // the press stays held, but tells nobody
}

void MousePath::cancel() {
    holder = Holder::nobody;
    control = nullptr;
    pressed = 0;
}

int mouseButtonsOf(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}

int shiftStateOf(WPARAM keys) {
    return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace forms
