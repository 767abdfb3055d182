#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/memory_bitmap_win32.h"
#include "forms/container_win32.h"
#include "forms/font_description.h"
#include "forms/property_bag.h"

namespace forms {

class Form;

// A user control: a child window of a form with a persistent back image. The
// control draws into its image (imageDc) and calls show(), which composes the
// image with the control's windowless controls (its labels) and repaints the
// window; the window's paint only copies what show() composed. Events arrive
// through the virtual handlers (coordinates in twips, as the control
// measures), a release only after its press on the control; property changes
// go to the container by name, and the container's font and user mode are
// the control's ambient properties.
class UserControl : public Container, public ChildWindow {
public:
    // Position and size in the container's pixels.
    UserControl(Form& container, int left, int top, int width, int height);
    ~UserControl() override;

    HWND hwnd() const override { return ChildWindow::hwnd(); }
    Form& container() const { return form; }
    void Move(int left, int top, int width, int height);
    int pixelWidth() const { return width; }
    int pixelHeight() const { return height; }
    // The inside in twips, the control's own scale.
    double ScaleWidth() const;
    double ScaleHeight() const;

    // The back image: draw here, then show().
    HDC imageDc() const { return image.dc(); }
    void show();
    // What the window shows now: the image with the labels over it.
    HDC shownDc() const { return shown.dc(); }

    // Hidden controls keep their image but show nothing.
    void setVisible(bool on);
    bool isVisible() const { return visible; }

    // Ambient properties, from the container.
    const FontDescription& ambientFont() const override;
    bool ambientUserMode() const override;
    // Its labels changed: compose again.
    void invalidate(const RECT& area) override;

    // The container loads and saves the control's properties through these.
    void ReadProperties(const PropertyBag& bag) { UserControl_ReadProperties(bag); }
    void WriteProperties(PropertyBag& bag) { UserControl_WriteProperties(bag); }

    // Told the name of each property that changes.
    std::function<void(const std::string& name)> onPropertyChanged;

protected:
    void PropertyChanged(const std::string& name);

    virtual void UserControl_Resize() {}
    virtual void UserControl_GotFocus() {}
    virtual void UserControl_LostFocus() {}
    virtual void UserControl_MouseDown(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void UserControl_MouseMove(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void UserControl_MouseUp(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void UserControl_ReadProperties(const PropertyBag& /*bag*/) {}
    virtual void UserControl_WriteProperties(PropertyBag& /*bag*/) {}

private:
    HWND createWindow(HWND parent) override;
    // Made on the container's load: the control's first Resize, after the
    // control exists whole.
    void windowCreated() override;
    void windowDestroyed() override;
    // What no label takes is the control's own, in twips.
    bool takesOwnMouse() const override { return true; }
    void ownMouse(MouseEvent event, int button, int shift, int x, int y) override;
    // Only the left button takes the focus, before the press itself is told.
    void pressing(int button) override;
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void registerClass();

    Form& form;
    int left, top, width, height;
    bool visible = true;
    bool constructed = false;
    // Made when its form was loaded already: the first Resize is posted, to
    // come once the whole control exists.
    bool firstResizeDue = false;
    handles::MemoryBitmap image;
    handles::MemoryBitmap shown;
};

}  // namespace forms
