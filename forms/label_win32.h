#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/handles_win32.h"
#include "forms/font_description.h"
#include "forms/windowless_win32.h"

namespace forms {

// A windowless label: its container draws it over the container's image, with
// a transparent background, the text left-aligned or centred and broken at
// words. A disabled label shows its text in the system's disabled-text style.
// Mouse events reach it by hit test, in pixels relative to the label.
class Label {
public:
    enum class Alignment { left, centre };
    using MouseHandler = std::function<void(int button, int shift, double x, double y)>;

    Label(std::string caption, const FontDescription& font, Alignment alignment);
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;

    const std::string& Caption() const { return caption; }
    void setCaption(const std::string& text);
    const FontDescription& Font() const { return fontDescription; }
    void setFont(const FontDescription& description);
    COLORREF ForeColor() const { return foreColor; }
    void setForeColor(COLORREF colour);
    bool Enabled() const { return enabled; }
    void setEnabled(bool on);

    // Position and size in the container's pixels.
    void Move(int left, int top, int width, int height);
    int Left() const { return left; }
    int Top() const { return top; }
    int Width() const { return width; }
    int Height() const { return height; }
    // The height of one line of its text, in pixels.
    int lineHeight() const { return fontLineHeight; }

    bool contains(int x, int y) const { return x >= left && x < left + width && y >= top && y < top + height; }
    void paint(HDC dc) const;

    MouseHandler MouseDown, MouseMove, MouseUp;
    // Told after every change that shows: the container redraws.
    std::function<void()> changed;

private:
    void notify() const;
    void measureFont();

    std::string caption;
    std::wstring text;
    FontDescription fontDescription;
    handles::Font font;
    int fontLineHeight = 0;
    Alignment alignment;
    COLORREF foreColor = RGB(0, 0, 0);
    bool enabled = true;
    int left = 0, top = 0, width = 0, height = 0;
};

// A label on a form: a windowless control showing a Label, with a click.
class LabelControl : public Windowless {
public:
    LabelControl(Form& container, int left, int top, int width, int height, std::string caption,
                 Label::Alignment alignment);
    Label label;
    std::function<void()> Click;

protected:
    void UserControl_Paint(HDC dc) override;
    void UserControl_Click() override {
        if (Click) Click();
    }
};

}  // namespace forms
