#pragma once
#include <windows.h>

#include <vector>

#include "forms/font_description.h"
#include "forms/timer_win32.h"
#include "forms/windowless_win32.h"

namespace forms {

class Container;

// A control with a window of its own, a child of its container's window:
// made when the container's window exists (at once, or when the container
// loads) and forgotten when the container's window goes, which takes its
// children with it. It is then made again at the next load.
class ChildWindow {
public:
    explicit ChildWindow(Container& container);
    virtual ~ChildWindow();
    ChildWindow(const ChildWindow&) = delete;
    ChildWindow& operator=(const ChildWindow&) = delete;

    HWND hwnd() const { return window; }
    Container& container() const { return owner; }

protected:
    // Makes the window as a child of parent; null on failure.
    virtual HWND createWindow(HWND parent) = 0;
    // Makes the window if the container's exists; derived constructors call
    // it, and the container does when it loads. True when the window exists.
    bool create();
    // The window was made (the first Resize of a user control, say).
    virtual void windowCreated() {}
    // The window has gone.
    virtual void windowDestroyed() {}
    // A window procedure of a derived class tells it here that its window is
    // gone (WM_NCDESTROY); a system control learns it from its container.
    void windowGone();

private:
    friend class Container;

    Container& owner;
    HWND window = nullptr;
};

// What holds controls: a form, or a user control holding its own labels.
// It has a window (while loaded), timers, windowless controls painted over
// its background, the one mouse path of its window, and child windows, and
// it lends its controls its font and its user mode as ambient properties.
class Container : public TimerHost {
public:
    Container() = default;
    ~Container() override = default;
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    virtual const FontDescription& ambientFont() const = 0;
    virtual bool ambientUserMode() const { return true; }
    // Repaints an area of the container, in its pixels.
    virtual void invalidate(const RECT& area) = 0;

    WindowlessSet& windowless() { return windowlessControls; }
    const WindowlessSet& windowless() const { return windowlessControls; }
    // The mouse of the container's window: capture and pairing.
    MousePath& mousePath() { return mouse; }

protected:
    friend class MousePath;
    // The container's own mouse events: what no windowless control takes, in
    // the container's pixels. A form has none.
    virtual bool takesOwnMouse() const { return false; }
    virtual void ownMouse(MouseEvent /*event*/, int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    // A press of this button comes, after the pointer's arrival at its point
    // and before the press itself is told.
    virtual void pressing(int /*button*/) {}

    // The container's window exists: its child windows are made.
    void createChildren();
    // The container's window has gone, and its children with it.
    void childrenGone();

private:
    friend class ChildWindow;
    WindowlessSet windowlessControls;
    std::vector<ChildWindow*> children;
    MousePath mouse{*this};
};

}  // namespace forms
