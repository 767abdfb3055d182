#include "forms/label_win32.h"

#include "forms/font_win32.h"
#include "forms/text_win32.h"

namespace forms {

Label::Label(std::string caption_, const FontDescription& description, Alignment alignment_)
    : caption(std::move(caption_)), text(wide(caption)), fontDescription(description), font(createFont(description)),
      alignment(alignment_) {
    measureFont();
}

void Label::notify() const {
    if (changed) changed();
}

void Label::setCaption(const std::string& value) {
    caption = value;
    text = wide(value);
    notify();
}

void Label::setFont(const FontDescription& description) {
    fontDescription = description;
    font = createFont(description);
    measureFont();
    notify();
}

void Label::setForeColor(COLORREF colour) {
    if (colour == foreColor) return;
    foreColor = colour;
    notify();
}

void Label::setEnabled(bool on) {
    if (on == enabled) return;
    enabled = on;
    notify();
}

void Label::Move(int l, int t, int w, int h) {
    if (l == left && t == top && w == width && h == height) return;
    left = l;
    top = t;
    width = w;
    height = h;
    notify();
}

void Label::measureFont() {
    handles::WindowDc screen;
    handles::Selection selected(screen.get(), font.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    fontLineHeight = metrics.tmHeight;
}

void Label::paint(HDC dc) const {
    if (width <= 0 || height <= 0 || text.empty()) return;
    handles::Selection selected(dc, font.get());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    // A label one line high keeps its text on that line, running past its
    // right edge rather than breaking: fonts differ in width from system to
    // system, and a broken line would fall outside the label.
    const bool oneLine = height < 2 * fontLineHeight;
    const UINT format = DT_NOPREFIX | (oneLine ? DT_SINGLELINE | DT_NOCLIP : DT_WORDBREAK) |
                        (alignment == Alignment::centre ? DT_CENTER : DT_LEFT);
    RECT box{left, top, left + width, top + height};
    const COLORREF oldColour = GetTextColor(dc);
    if (enabled) {
        SetTextColor(dc, foreColor);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    } else {
        // Embossed, as the system draws disabled text: a highlight one pixel
        // down and right, the grey text over it.
        RECT shadow = box;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

LabelControl::LabelControl(Form& container, int left, int top, int width, int height, std::string caption,
                           Label::Alignment alignment)
    : Windowless(container, left, top, width, height), label(std::move(caption), ambientFont(), alignment) {
    label.Move(left, top, width, height);
    label.changed = [this] { Refresh(); };
}

void LabelControl::UserControl_Paint(HDC dc) { label.paint(dc); }

}  // namespace forms
