// The command button on a real form under Wine: its face's pixels, the real
// mouse through the system's input queue, the pointer-leave poll, the
// disabled look, and its stored properties.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "assets/button_skins.h"
#include "forms/font_win32.h"
#include "forms/form_win32.h"
#include "forms/image_win32.h"
#include "host/resource_ids.h"
#include "host/settings/command_win32.h"
#include "tests/support/message_pump_win32.h"

namespace {

using testing_support::pump;

using namespace fulmina;


// Real input: through the system's queue, hit testing and capture.
void mouseTo(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
    pump(60);
}

void mouseButton(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(in));
    pump(60);
}

struct Rgb {
    int r, g, b;
};
Rgb rgbOf(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

class TestForm : public forms::Form {
public:
    TestForm() : Form({L"Command test", WS_POPUP, 0, RGB(200, 200, 200)}) {}
};

class CommandTest : public ::testing::Test {
protected:
    static constexpr int formX = 100, formY = 100, left = 20, top = 30, width = 81, height = 25;

    void SetUp() override {
        ASSERT_TRUE(form.Load());
        form.Move(formX, formY, 240, 120);
        form.Show();
        SetForegroundWindow(form.hwnd());
        button.Click = [this] { ++clicks; };
        button.onPropertyChanged = [this](const std::string& name) { changed.push_back(name); };
        button.ReadProperties(forms::PropertyBag());
        mouseTo(10, 10);  // well away from the button
    }

    // The face as the window shows it.
    Rgb face(int x, int y) const { return rgbOf(GetPixel(button.shownDc(), x, y)); }
    Rgb skin(Skin s, int x, int y) const {
        handles::Bitmap picture = forms::loadBitmapResource(IDB_SKIN_NORMAL + static_cast<int>(s));
        handles::MemoryDc dc(CreateCompatibleDC(nullptr));
        handles::Selection selected(dc.get(), picture.get());
        return rgbOf(GetPixel(dc.get(), x, y));
    }
    // The border is the skin's: corners as they are, edges stretched.
    void expectFrame(Skin s) const {
        struct Probe {
            int fx, fy, sx, sy;
        } probes[] = {{0, 0, 0, 0},   {3, 3, 3, 3},     {40, 1, 30, 1},  {80, 0, 63, 0},  {79, 12, 62, 12},
                      {78, 23, 61, 23}, {40, 22, 20, 22}, {0, 24, 0, 24}, {2, 12, 2, 12}};
        for (const Probe& p : probes) {
            const Rgb f = face(p.fx, p.fy), k = skin(s, p.sx, p.sy);
            EXPECT_TRUE(f.r == k.r && f.g == k.g && f.b == k.b)
                << "face " << p.fx << "," << p.fy << " is " << f.r << "," << f.g << "," << f.b << "; skin "
                << static_cast<int>(s) << " has " << k.r << "," << k.g << "," << k.b;
        }
    }
    // Column 6 between the frame's rows runs linearly from vertex 0's colour
    // (row 0) to vertex 1's (row 24).
    void expectGradient(bool hover) const {
        const Rgb white{255, 255, 255}, lavender{198, 197, 215};
        const Rgb top = hover ? lavender : white, bottom = hover ? white : lavender;
        for (int y : {4, 12, 20}) {
            const Rgb f = face(6, y);
            EXPECT_NEAR(f.r, top.r + (bottom.r - top.r) * y / 24.0, 3) << "row " << y;
            EXPECT_NEAR(f.b, top.b + (bottom.b - top.b) * y / 24.0, 3) << "row " << y;
        }
    }
    POINT centre() const { return {formX + left + width / 2, formY + top + height / 2}; }

    TestForm form;
    Command button{form, left, top, width, height};
    int clicks = 0;
    std::vector<std::string> changed;
};

TEST_F(CommandTest, IdleAndHoveredFacesAreAGradientInTheSkinsFrame) {
    expectFrame(Skin::Normal);
    expectGradient(false);
    // The skin's inside never reaches the face.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb f = face(x, y);
            ASSERT_FALSE(f.r == assets::skinInside[0] && f.g == assets::skinInside[1] && f.b == assets::skinInside[2])
                << x << "," << y;
        }
    button.Initialize();
    mouseTo(centre().x, centre().y);
    EXPECT_EQ(button.fields().ButtonState, 2);
    expectFrame(Skin::HighLight);
    expectGradient(true);
    // What the window shows is the face.
    handles::WindowDc screen;
    const Rgb seen = rgbOf(GetPixel(screen.get(), formX + left + 6, formY + top + 4));
    EXPECT_NEAR(seen.r, face(6, 4).r, 2);
}

TEST_F(CommandTest, TheCaptionIsCentredInTheFaceInAJapaneseFont) {
    button.setCaption("設定");
    // Dark caption pixels, centred left to right and a little above the middle.
    int minX = width, maxX = -1, minY = height, maxY = -1;
    for (int y = 4; y < height - 4; ++y)
        for (int x = 4; x < width - 4; ++x) {
            const Rgb f = face(x, y);
            if (f.r + f.g + f.b < 300) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
        }
    ASSERT_GE(maxX, 0) << "no caption drawn";
    EXPECT_LE(std::abs((minX + maxX) - (width - 1)), 3);
    EXPECT_LE(std::abs((minY + maxY) - (height - 1)), 4);
    // The face the caption is drawn with has the characters: no boxes.
    handles::Font font = forms::createFont(Command::designFont());
    handles::WindowDc screen;
    handles::Selection selected(screen.get(), font.get());
    WORD glyphs[2] = {};
    ASSERT_EQ(GetGlyphIndicesW(screen.get(), L"設定", 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 2u);
    EXPECT_NE(glyphs[0], 0xFFFF);
    EXPECT_NE(glyphs[1], 0xFFFF);
}

TEST_F(CommandTest, AClickRaisesClickOnceAndLeavesTheFocusedHoveredLook) {
    button.Initialize();
    mouseTo(centre().x, centre().y);  // over the caption, which hands the events on
    mouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(button.fields().ButtonState, 4) << "focus came with the press";
    expectFrame(Skin::Pressed);
    mouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(clicks, 1);
    expectFrame(Skin::HighLightSelect);
}

// The system sends no move for a pointer that comes back to the point it
// left (under Wine, from over no window): the press and its release come to
// a button that believes the pointer away, unfocused or focused.
TEST_F(CommandTest, APressThatNoMoveAnnouncedIsStillAClick) {
    button.Initialize();
    for (bool focused : {false, true}) {
        if (focused) SetFocus(button.hwnd());
        ASSERT_EQ(button.fields().ButtonState, focused ? 3 : 1);
        const LPARAM middle = MAKELPARAM(width / 2, height / 2);
        SendMessageW(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, middle);
        SendMessageW(button.hwnd(), WM_LBUTTONUP, 0, middle);
        EXPECT_EQ(clicks, focused ? 2 : 1) << (focused ? "focused" : "unfocused");
        EXPECT_EQ(button.fields().ButtonState, 4);
        expectFrame(Skin::HighLightSelect);
        SetFocus(form.hwnd());  // the pointer is away: idle again
        pump(250);
    }
}

TEST_F(CommandTest, DraggingOffAFocusedButtonBeforeReleasingRaisesNothing) {
    button.Initialize();
    mouseTo(centre().x, centre().y);
    mouseButton(MOUSEEVENTF_LEFTDOWN);
    mouseTo(formX + 200, formY + 100);  // onto the form
    pump(250);
    mouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(button.fields().ButtonState, 3);
    expectFrame(Skin::Selected);
}

// The release of a press that began elsewhere (the second click of a
// double-click that closed a window over the button, say) is nobody's click.
TEST_F(CommandTest, AReleaseWhosePressBeganElsewhereRaisesNothing) {
    button.Initialize();
    for (DWORD button_ : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN}) {
        mouseTo(formX + 200, formY + 100);  // the form's own background
        mouseButton(button_);
        mouseTo(centre().x, centre().y);
        mouseButton(button_ == MOUSEEVENTF_LEFTDOWN ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
        EXPECT_EQ(clicks, 0) << "after the release of " << button_;
    }
    // A press on the button itself still counts.
    mouseButton(MOUSEEVENTF_LEFTDOWN);
    mouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(clicks, 1);
}

TEST_F(CommandTest, ARightClickRaisesClickWithoutThePressedLook) {
    button.Initialize();
    mouseTo(centre().x, centre().y);
    mouseButton(MOUSEEVENTF_RIGHTDOWN);
    expectFrame(Skin::HighLight);
    mouseButton(MOUSEEVENTF_RIGHTUP);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button.fields().ButtonState, 2);
}

TEST_F(CommandTest, ThePointerLeavingIsNoticedWithinAPollOrTwo) {
    button.Initialize();
    for (POINT away : {POINT{formX + 200, formY + 100}, POINT{600, 600}}) {  // the form, then the desktop
        mouseTo(centre().x, centre().y);
        ASSERT_EQ(button.fields().ButtonState, 2);
        mouseTo(away.x, away.y);
        const DWORD start = GetTickCount();
        while (button.fields().ButtonState != 1 && GetTickCount() - start < 1000) pump(10);
        EXPECT_EQ(button.fields().ButtonState, 1);
        EXPECT_LT(GetTickCount() - start, 250u) << "polled every 100 ms";
        expectFrame(Skin::Normal);
    }
}

TEST_F(CommandTest, ADisabledButtonShowsDisableWithAGreyedCaptionAndIgnoresTheMouse) {
    button.Initialize();
    button.setEnabled(false);
    EXPECT_EQ(changed, (std::vector<std::string>{"Enabled"}));
    expectFrame(Skin::Disable);
    const Rgb grey = rgbOf(GetSysColor(COLOR_GRAYTEXT));
    int greyPixels = 0, blackPixels = 0;
    for (int y = 4; y < height - 4; ++y)
        for (int x = 4; x < width - 4; ++x) {
            const Rgb f = face(x, y);
            greyPixels += std::abs(f.r - grey.r) < 8 && std::abs(f.g - grey.g) < 8 && std::abs(f.b - grey.b) < 8;
            blackPixels += f.r + f.g + f.b < 60;
        }
    EXPECT_GT(greyPixels, 5);
    EXPECT_EQ(blackPixels, 0);
    mouseTo(centre().x, centre().y);
    mouseButton(MOUSEEVENTF_LEFTDOWN);
    mouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(clicks, 0);
    expectFrame(Skin::Disable);
}

TEST_F(CommandTest, AButtonStoredDisabledShowsDisableFromTheStart) {
    TestForm other;
    Command stored{other, 10, 10, width, height};
    stored.ReadProperties(*forms::PropertyBag::parse("Enabled=1:0\n"));
    ASSERT_TRUE(other.Load());
    const Rgb f = rgbOf(GetPixel(stored.shownDc(), 40, 1)), k = skin(Skin::Disable, 30, 1);
    EXPECT_TRUE(f.r == k.r && f.g == k.g && f.b == k.b);
}

TEST_F(CommandTest, PropertiesRoundTripThroughABagThatHoldsOnlyWhatDiffers) {
    forms::PropertyBag bag;
    button.WriteProperties(bag);
    EXPECT_EQ(bag.size(), 0u) << "a button at its defaults stores nothing";
    EXPECT_EQ(button.Caption(), "Command1");
    button.setCaption("ｷｬﾝｾﾙ");
    button.setFontColour(RGB(0, 0, 128));
    forms::FontDescription bold = button.Font();
    bold.weight = 700;
    button.setFont(bold);
    button.setEnabled(false);
    EXPECT_EQ(changed, (std::vector<std::string>{"Caption", "FontColour", "Font", "Enabled"}));
    button.WriteProperties(bag);
    EXPECT_EQ(bag.size(), 4u);
    Command copy{form, 20, 70, 81, 25};
    copy.ReadProperties(*forms::PropertyBag::parse(bag.serialize()));
    EXPECT_EQ(copy.Caption(), "ｷｬﾝｾﾙ");
    EXPECT_EQ(copy.FontColour(), RGB(0, 0, 128));
    EXPECT_EQ(copy.Font(), bold);
    EXPECT_FALSE(copy.Enabled());
}

}  // namespace
