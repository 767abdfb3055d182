#include "host/settings/command_win32.h"

#include <cmath>

#include "forms/application_win32.h"
#include "forms/form_win32.h"
#include "forms/image_win32.h"
#include "host/resource_ids.h"
#include "host/settings/command_face.h"

namespace fulmina {

namespace {
constexpr const char* defaultCaption = "Command1";

TRIVERTEX vertex(LONG x, LONG y, const GradientColour& c) {
    TRIVERTEX v{};
    v.x = x;
    v.y = y;
    v.Red = c.red;
    v.Green = c.green;
    v.Blue = c.blue;
    v.Alpha = 0;
    return v;
}
}  // namespace

forms::FontDescription Command::designFont() {
    forms::FontDescription font;
    font.name = "ＭＳ Ｐゴシック";
    font.size = 9.75;
    font.charset = 128;
    return font;
}

Command::Command(forms::Form& container, int left, int top, int width, int height)
    : UserControl(container, left, top, width, height),
      LblMsg(*this, "Command", designFont(), forms::Label::Alignment::centre),
      TmrMouse(*this, 100, false, [this] { TmrMouse_Timer(); }) {
    for (int i = 0; i < static_cast<int>(skins.size()); ++i)
        skins[i] = handles::MemoryBitmap::holding(forms::loadBitmapResource(IDB_SKIN_NORMAL + i));
    // The caption never swallows a mouse event: it hands each on, in the
    // button's own twips, so that a release is over the button or not alike.
    auto onButton = [this](void (Command::*handler)(int, int, double, double)) {
        return [this, handler](int b, int s, double x, double y) {
            (this->*handler)(b, s, x + LblMsg.Left() * forms::twipsPerPixelX(),
                             y + LblMsg.Top() * forms::twipsPerPixelY());
        };
    };
    LblMsg.MouseDown = onButton(&Command::UserControl_MouseDown);
    LblMsg.MouseMove = onButton(&Command::UserControl_MouseMove);
    LblMsg.MouseUp = onButton(&Command::UserControl_MouseUp);
    LblMsg.Move(0, 0, width, LblMsg.lineHeight());
}

void Command::Initialize() {
    states.Initialize();
    TmrMouse.setInterval(100);
    TmrMouse.setEnabled(true);
}

// The caption's look first, then each face, then Click: a handler of Click
// sees the face as the event left it.
void Command::run(const CommandReaction& r) {
    if (r.captionBlack) LblMsg.setForeColor(RGB(0, 0, 0));
    if (r.captionEnabled) LblMsg.setEnabled(*r.captionEnabled);
    for (Skin skin : r.draws) DrawSkin(skin);
    if (r.click && Click) Click();
}

void Command::FillGradient() {
    const LONG w = pixelWidth();
    const LONG h = pixelHeight();
    const GradientColour white = *gradientColour(gradientTop);
    const GradientColour lavender = *gradientColour(gradientBottom);
    TRIVERTEX vertices[2] = {vertex(0, 0, states.HoverLook ? lavender : white),
                             vertex(w - 1, h - 1, states.HoverLook ? white : lavender)};
    GRADIENT_RECT mesh{0, 1};
    GradientFill(imageDc(), vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
}

void Command::DrawSkin(Skin skin) {
    const double tppX = forms::twipsPerPixelX();
    const double tppY = forms::twipsPerPixelY();
    const long W = static_cast<long>(ScaleWidth());
    const long H = static_cast<long>(ScaleHeight());
    RECT all{0, 0, pixelWidth(), pixelHeight()};
    FillRect(imageDc(), &all, GetSysColorBrush(COLOR_BTNFACE));
    FillGradient();
    const handles::MemoryBitmap& holder = skins[static_cast<int>(skin)];
    if (holder) {
        SetStretchBltMode(imageDc(), COLORONCOLOR);
        for (const auto& piece : skinPieces(W, H)) {
            if (!piece) continue;
            const FaceRect to = toPixels(piece->destination, tppX, tppY);
            const FaceRect from = toPixels(piece->source, tppX, tppY);
            StretchBlt(imageDc(), to.x, to.y, to.width, to.height, holder.dc(), from.x, from.y, from.width,
                       from.height, SRCCOPY);
        }
    }
    show();
    const int labelHeight = LblMsg.lineHeight();
    const double top = captionTop(static_cast<double>(H), labelHeight * tppY);
    LblMsg.Move(0, static_cast<int>(std::lround(top / tppY)), pixelWidth(), labelHeight);
}

void Command::TmrMouse_Timer() {
    // Only a hovered, enabled button can notice anything: spare the queries.
    const CommandStates& s = states;
    if (!s.Enabled || (s.ButtonState != 2 && s.ButtonState != 4)) return;
    POINT p{};
    GetCursorPos(&p);
    const HWND under = WindowFromPoint(p);
    // Over the form, or over any window but this button's own: the pointer
    // has left (the caption has no window, so it counts as the button).
    if (under == container().hwnd() || under != hwnd()) run(states.MouseHasLeft());
}

std::uint8_t Command::Visible() {
    if (!opaque) return 0;
    RefreshFace();
    return 255;
}

void Command::setVisible(std::uint8_t value) {
    opaque = value != 0;
    UserControl::setVisible(opaque);
    if (opaque) RefreshFace();
    PropertyChanged("Visible");
}

COLORREF Command::FontColour() {
    const COLORREF colour = LblMsg.ForeColor();
    RefreshFace();
    return colour;
}

void Command::setFontColour(COLORREF colour) {
    LblMsg.setForeColor(colour);
    RefreshFace();
    PropertyChanged("FontColour");
}

bool Command::Enabled() {
    run(states.ReadEnabled());
    return states.Enabled;
}

void Command::setEnabled(bool value) {
    const CommandReaction r = states.WriteEnabled(value);
    PropertyChanged("Enabled");
    run(r);
}

void Command::setCaption(const std::string& text) {
    LblMsg.setCaption(text);
    PropertyChanged("Caption");
}

void Command::setFont(const forms::FontDescription& font) {
    LblMsg.setFont(font);
    PropertyChanged("Font");
}

void Command::UserControl_Resize() { run(states.Resize()); }
void Command::UserControl_GotFocus() { run(states.GotFocus()); }
void Command::UserControl_LostFocus() { run(states.LostFocus()); }
void Command::UserControl_MouseDown(int button, int, double, double) { run(states.MouseDown(button)); }
void Command::UserControl_MouseMove(int, int, double, double) { run(states.MouseMove()); }
void Command::UserControl_MouseUp(int button, int, double x, double y) {
    const bool over = x >= 0 && y >= 0 && x < ScaleWidth() && y < ScaleHeight();
    run(states.MouseUp(button, over));
}

// Each value that does not read as its kind is skipped, as a failing step is.
void Command::UserControl_ReadProperties(const forms::PropertyBag& bag) {
    const std::string ambient = forms::fontText(ambientFont());
    states.Enabled = bag.ReadProperty("Enabled", true);
    LblMsg.setCaption(bag.ReadProperty("Caption", std::string_view(defaultCaption)));
    if (const auto font = forms::fontFromText(bag.ReadProperty("Font", std::string_view(ambient))))
        LblMsg.setFont(*font);
    const long firstRun = bag.ReadProperty("FirstRun", 1L);
    if (firstRun >= 0 && firstRun <= 255) states.FirstRun = static_cast<std::uint8_t>(firstRun);
    LblMsg.setForeColor(static_cast<COLORREF>(bag.ReadProperty("FontColour", 0L)));
    const long visible = bag.ReadProperty("Visible", 1L);
    if (visible == 0 || visible == 1) {
        opaque = visible == 1;
        UserControl::setVisible(opaque);
    }
    RefreshFace();
}

void Command::UserControl_WriteProperties(forms::PropertyBag& bag) {
    bag.WriteProperty("Enabled", states.Enabled, true);
    bag.WriteProperty("Caption", LblMsg.Caption(), defaultCaption);
    bag.WriteProperty("FirstRun", static_cast<long>(states.FirstRun), 1L);
    bag.WriteProperty("Font", forms::fontText(LblMsg.Font()), forms::fontText(ambientFont()));
    bag.WriteProperty("FontColour", static_cast<long>(LblMsg.ForeColor()), 0L);
    bag.WriteProperty("Visible", opaque ? 1L : 0L, 1L);
    RefreshFace();
}

}  // namespace fulmina
