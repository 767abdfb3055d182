#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/handles_win32.h"
#include "forms/font_description.h"
#include "forms/windowless_win32.h"

namespace forms {

// A windowless label of a form or a user control: its container draws it
// with a transparent background, the text left-aligned or centred and broken
// at words. A disabled label shows its text in the system's disabled-text
// style. It takes the mouse only when it has a handler for it; mouse events
// arrive in pixels relative to the label.
class Label : public Windowless {
public:
    enum class Alignment { left, centre };
    using MouseHandler = std::function<void(int button, int shift, double x, double y)>;

    // In the container's font, placed in the container's pixels.
    Label(Container& container, int left, int top, int width, int height, std::string caption, Alignment alignment);
    // In a font of its own, placed later.
    Label(Container& container, std::string caption, const FontDescription& font, Alignment alignment);

    const std::string& Caption() const { return caption; }
    void setCaption(const std::string& text);
    const FontDescription& Font() const { return fontDescription; }
    void setFont(const FontDescription& description);
    COLORREF ForeColor() const { return foreColor; }
    void setForeColor(COLORREF colour);
    bool Enabled() const { return enabled; }
    void setEnabled(bool on);
    // A one-line label that shows a path: cut to the label, the middle of
    // the path given up for an ellipsis when it does not fit.
    void setPathEllipsis(bool on);
    // The height of one line of its text, in pixels.
    int lineHeight() const { return fontLineHeight; }
    // The width of its text on one line, in pixels.
    int textWidth() const;

    MouseHandler MouseDown, MouseMove, MouseUp;
    std::function<void()> Click;

protected:
    bool takesMouse() const override { return MouseDown || MouseMove || MouseUp || Click; }
    void UserControl_Paint(HDC dc) override;
    void UserControl_MouseDown(int button, int shift, int x, int y) override;
    void UserControl_MouseMove(int button, int shift, int x, int y) override;
    void UserControl_MouseUp(int button, int shift, int x, int y) override;
    void UserControl_Click() override;

private:
    void measureFont();

    std::string caption;
    std::wstring text;
    FontDescription fontDescription;
    handles::Font font;
    int fontLineHeight = 0;
    Alignment alignment;
    COLORREF foreColor = RGB(0, 0, 0);
    bool enabled = true;
    bool pathEllipsis = false;
};

}  // namespace forms
