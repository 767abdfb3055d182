#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/font_description.h"
#include "forms/mouse_path_win32.h"

namespace forms {

class Container;

// A windowless control: it has no window of its own. Its container (a form
// or a user control) paints it over the container's background in z-order
// (it draws only what it wants seen), sends it the mouse by hit test through
// the container's MousePath, and shows its mouse pointer while the pointer is
// over it.
class Windowless {
public:
    // Position and size in the container's pixels.
    Windowless(Container& container, int left, int top, int width, int height);
    virtual ~Windowless();
    Windowless(const Windowless&) = delete;
    Windowless& operator=(const Windowless&) = delete;

    Container& container() const { return owner; }
    int Left() const { return left; }
    int Top() const { return top; }
    int Width() const { return width; }
    int Height() const { return height; }
    // Places the control; a change of size raises Resize.
    void Move(int left, int top, int width, int height);
    // Repaints the control's rectangle of the container.
    void Refresh();

    bool ambientUserMode() const;
    const FontDescription& ambientFont() const;
    HWND containerWindow() const;

    // Told the name of each property that changes.
    std::function<void(const std::string& name)> onPropertyChanged;

protected:
    void PropertyChanged(const std::string& name);
    // The pointer shown over the control; null for the container's own.
    virtual HCURSOR cursor() const { return nullptr; }
    // Whether the control takes the mouse at all; one that does not lets
    // what lies under it have it.
    virtual bool takesMouse() const { return true; }

    // Events, in the container's pixels for painting and in the control's
    // own pixels for the mouse.
    virtual void UserControl_Paint(HDC /*dc*/) {}
    virtual bool UserControl_HitTest(int /*x*/, int /*y*/) const { return true; }
    virtual void UserControl_Resize() {}
    virtual void UserControl_Show() {}
    virtual void UserControl_Hide() {}
    virtual void UserControl_Click() {}
    virtual void UserControl_MouseDown(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    virtual void UserControl_MouseMove(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    virtual void UserControl_MouseUp(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}

private:
    friend class WindowlessSet;
    friend class MousePath;
    bool contains(int x, int y) const;

    Container& owner;
    int left, top, width, height;
    // False once the control has gone: what a handler destroyed hears no more.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

// The windowless controls of one container, in z-order (the topmost last):
// painting, hit testing, showing and hiding. A handler may add or remove
// controls meanwhile: one removed before its turn is not told.
class WindowlessSet {
public:
    void add(Windowless& control) { controls.push_back(&control); }
    void remove(Windowless& control);
    const std::vector<Windowless*>& all() const { return controls; }

    // The topmost control that takes the mouse at this point, or null.
    Windowless* at(int x, int y) const;
    void paint(HDC dc) const;
    void show() const;
    void hide() const;
    // The pointer of the control under the point; null for the container's.
    HCURSOR cursorAt(int x, int y) const;

private:
    // Each control that is still there, in the order they were when it began.
    template <typename Tell>
    void tellEach(Tell&& tell) const;

    std::vector<Windowless*> controls;
};

}  // namespace forms
