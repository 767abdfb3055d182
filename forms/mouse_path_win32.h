#pragma once
#include <windows.h>

#include <memory>

namespace forms {

class Container;
class Windowless;

enum class MouseEvent { down, move, up };

// The mouse of one container's window (a form, a user control): the one path
// for its windowless controls and its own events. A press is first told as
// the pointer arriving at its point (a move), then the container takes its
// own step (a user control takes the focus), then the press itself. A press
// takes the capture before anyone is told of it, so that its release comes
// back here wherever it happens; the pairing (whom the press began on, which
// buttons it holds) decides who hears a release, and a left release over
// that same control is its click. The capture goes back before the last
// release is told: a handler may open a modal box, which needs the mouse.
// WM_CANCELMODE, or another window taking the capture, ends the pairing: no
// release will come.
// A handler that fails is skipped and the next event runs; nothing is told to
// a control, or through a container, that a handler has destroyed.
class MousePath {
public:
    explicit MousePath(Container& container) : container(container) {}
    ~MousePath() { *alive = false; }
    MousePath(const MousePath&) = delete;
    MousePath& operator=(const MousePath&) = delete;

    // The window's mouse buttons and moves, WM_CANCELMODE and
    // WM_CAPTURECHANGED; false for any other message.
    bool message(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // A windowless control is going: it hears nothing more.
    void forget(const Windowless& control);
    // No release will come (the window is gone, or the capture).
    void cancel();

private:
    enum class Holder { nobody, own, control };
    void pressAt(HWND window, int button, int shift, int x, int y, int buttons);
    void press(HWND window, int button, int shift, int x, int y);
    void release(HWND window, int button, int shift, int x, int y, int buttons);
    void move(int shift, int x, int y, int buttons);
    void tell(Holder to, Windowless* control, MouseEvent event, int button, int shift, int x, int y);

    Container& container;
    Holder holder = Holder::nobody;  // whom the held press began on
    Windowless* control = nullptr;   // that control, while it exists
    int pressed = 0;                 // the buttons of the press
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

// Mouse buttons as events carry them: 1 left, 2 right, 4 middle.
int mouseButtonsOf(WPARAM keys);
// The shift argument of mouse events: 1 Shift, 2 Ctrl, 4 Alt.
int shiftStateOf(WPARAM keys);

}  // namespace forms
