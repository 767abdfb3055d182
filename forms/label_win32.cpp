#include "forms/label_win32.h"

#include "forms/application_win32.h"
#include "forms/font_win32.h"
#include "forms/text_win32.h"

namespace forms {

Label::Label(Container& container, int left, int top, int width, int height, std::string caption_,
             Alignment alignment_)
    : Windowless(container, left, top, width, height), caption(std::move(caption_)), text(wide(caption)),
      fontDescription(ambientFont()), font(createFont(fontDescription)), alignment(alignment_) {
    measureFont();
}

Label::Label(Container& container, std::string caption_, const FontDescription& description, Alignment alignment_)
    : Windowless(container, 0, 0, 0, 0), caption(std::move(caption_)), text(wide(caption)),
      fontDescription(description), font(createFont(description)), alignment(alignment_) {
    measureFont();
}

void Label::setCaption(const std::string& value) {
    caption = value;
    text = wide(value);
    Refresh();
}

void Label::setFont(const FontDescription& description) {
    fontDescription = description;
    font = createFont(description);
    measureFont();
    Refresh();
}

void Label::setForeColor(COLORREF colour) {
    if (colour == foreColor) return;
    foreColor = colour;
    Refresh();
}

void Label::setEnabled(bool on) {
    if (on == enabled) return;
    enabled = on;
    Refresh();
}

void Label::setPathEllipsis(bool on) {
    if (on == pathEllipsis) return;
    pathEllipsis = on;
    Refresh();
}

void Label::measureFont() {
    handles::WindowDc screen;
    handles::Selection selected(screen.get(), font.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    fontLineHeight = metrics.tmHeight;
}

int Label::textWidth() const {
    handles::WindowDc screen;
    handles::Selection selected(screen.get(), font.get());
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void Label::UserControl_Paint(HDC dc) {
    const int width = Width(), height = Height();
    if (width <= 0 || height <= 0 || text.empty()) return;
    handles::Selection selected(dc, font.get());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    // A label one line high keeps its text on that line, running past its
    // right edge rather than breaking: fonts differ in width from system to
    // system, and a broken line would fall outside the label.
    const bool oneLine = height < 2 * fontLineHeight;
    const UINT lines = pathEllipsis ? DT_SINGLELINE | DT_PATH_ELLIPSIS
                       : oneLine    ? DT_SINGLELINE | DT_NOCLIP
                                    : DT_WORDBREAK;
    const UINT format = DT_NOPREFIX | lines | (alignment == Alignment::centre ? DT_CENTER : DT_LEFT);
    RECT box{Left(), Top(), Left() + width, Top() + height};
    // A path label draws nothing outside itself, its embossed shadow included.
    const int saved = pathEllipsis ? SaveDC(dc) : 0;
    if (pathEllipsis) IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
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
    if (saved != 0) RestoreDC(dc, saved);
}

// The handlers measure in twips, as the controls that hold labels do.
void Label::UserControl_MouseDown(int button, int shift, int x, int y) {
    if (MouseDown) MouseDown(button, shift, x * twipsPerPixelX(), y * twipsPerPixelY());
}
void Label::UserControl_MouseMove(int button, int shift, int x, int y) {
    if (MouseMove) MouseMove(button, shift, x * twipsPerPixelX(), y * twipsPerPixelY());
}
void Label::UserControl_MouseUp(int button, int shift, int x, int y) {
    if (MouseUp) MouseUp(button, shift, x * twipsPerPixelX(), y * twipsPerPixelY());
}
void Label::UserControl_Click() {
    if (Click) Click();
}

}  // namespace forms
