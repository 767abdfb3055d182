#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "forms/font_description.h"

namespace forms {

class Form;

// A windowless control: it has no window of its own. Its form paints it
// over the form's background in z-order (it draws only what it wants seen),
// sends it the mouse by hit test, with the mouse captured from a press to
// its release, and shows its mouse pointer while the pointer is over it.
class Windowless {
public:
    // Position and size in the form's pixels.
    Windowless(Form& container, int left, int top, int width, int height);
    virtual ~Windowless();
    Windowless(const Windowless&) = delete;
    Windowless& operator=(const Windowless&) = delete;

    Form& container() const { return form; }
    int Left() const { return left; }
    int Top() const { return top; }
    int Width() const { return width; }
    int Height() const { return height; }
    // Places the control; a change of size raises Resize.
    void Move(int left, int top, int width, int height);
    // Repaints the control's rectangle of the form.
    void Refresh();

    bool ambientUserMode() const;
    const FontDescription& ambientFont() const;
    HWND containerWindow() const;

    // Told the name of each property that changes.
    std::function<void(const std::string& name)> onPropertyChanged;

protected:
    void PropertyChanged(const std::string& name);
    // The pointer shown over the control; null for the form's own.
    virtual HCURSOR cursor() const { return nullptr; }

    // Events, in the form's client pixels for painting and in the control's
    // own pixels for the mouse.
    virtual void UserControl_Paint(HDC /*dc*/) {}
    virtual bool UserControl_HitTest(int /*x*/, int /*y*/) const { return true; }
    virtual void UserControl_Resize() {}
    virtual void UserControl_Show() {}
    virtual void UserControl_Click() {}
    virtual void UserControl_MouseDown(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    virtual void UserControl_MouseMove(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    virtual void UserControl_MouseUp(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}

private:
    friend class Form;
    bool contains(int x, int y) const;

    Form& form;
    int left, top, width, height;
};

}  // namespace forms
