#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/handles_win32.h"
#include "forms/font_description.h"
#include "forms/label_win32.h"
#include "forms/property_bag.h"
#include "forms/timer_win32.h"

namespace forms {

class Form;

// A user control: a child window of a form with a persistent back image. The
// control draws into its image (imageDc) and calls show(), which composes the
// image with the control's windowless labels and repaints the window; the
// window's paint only copies what show() composed. Events arrive through the
// virtual handlers (coordinates in twips, as the control measures), property
// changes go to the container by name, and the container's font and user
// mode are the control's ambient properties.
class UserControl : public TimerHost {
public:
    // Position and size in the container's pixels.
    UserControl(Form& container, int left, int top, int width, int height);
    ~UserControl() override;
    UserControl(const UserControl&) = delete;
    UserControl& operator=(const UserControl&) = delete;

    HWND hwnd() const override { return window; }
    Form& container() const { return form; }
    void Move(int left, int top, int width, int height);
    int pixelWidth() const { return width; }
    int pixelHeight() const { return height; }
    // The inside in twips, the control's own scale.
    double ScaleWidth() const;
    double ScaleHeight() const;

    // The back image: draw here, then show().
    HDC imageDc() const { return image->dc.get(); }
    void show();
    // What the window shows now: the image with the labels over it.
    HDC shownDc() const { return shown->dc.get(); }

    // Hidden controls keep their image but show nothing.
    void setVisible(bool on);
    bool isVisible() const { return visible; }

    // Ambient properties, from the container.
    const FontDescription& ambientFont() const;
    bool ambientUserMode() const;

    // The container loads and saves the control's properties through these.
    void ReadProperties(const PropertyBag& bag) { UserControl_ReadProperties(bag); }
    void WriteProperties(PropertyBag& bag) { UserControl_WriteProperties(bag); }

    // Told the name of each property that changes.
    std::function<void(const std::string& name)> onPropertyChanged;

protected:
    void PropertyChanged(const std::string& name);
    // A windowless label of the control, drawn in the order added.
    void addLabel(Label& label);

    virtual void UserControl_Resize() {}
    virtual void UserControl_GotFocus() {}
    virtual void UserControl_LostFocus() {}
    virtual void UserControl_MouseDown(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void UserControl_MouseMove(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void UserControl_MouseUp(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void UserControl_ReadProperties(const PropertyBag& /*bag*/) {}
    virtual void UserControl_WriteProperties(PropertyBag& /*bag*/) {}

private:
    friend class Form;
    // A DIB section of the control's size selected into its own memory DC.
    struct Surface {
        Surface(int width, int height);
        handles::MemoryDc dc;
        handles::Bitmap bitmap;
        std::optional<handles::Selection> selected;
    };
    enum class MouseEvent { down, move, up };

    bool create();  // the container's window exists
    // The container has loaded with the control on it: its first Resize,
    // after its properties were read.
    void sited() { UserControl_Resize(); }
    void mouse(MouseEvent event, int button, WPARAM keys, LPARAM position);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void registerClass();

    Form& form;
    HWND window = nullptr;
    int left, top, width, height;
    bool visible = true;
    std::unique_ptr<Surface> image;
    std::unique_ptr<Surface> shown;
    std::vector<Label*> labels;
};

}  // namespace forms
