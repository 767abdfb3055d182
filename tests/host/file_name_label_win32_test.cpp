// The settings dialog's file-name label on a real form: a path longer than
// the label is cut to it, and a shorter one after it leaves nothing behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "forms/form_win32.h"
#include "forms/label_win32.h"
#include "tests/support/message_pump_win32.h"

namespace {

using testing_support::pump;

constexpr int formX = 100, formY = 100, formW = 320, formH = 60;
constexpr RECT labelBox{20, 20, 20 + 150, 20 + 21};

// The form's pixels on the screen as 0x00RRGGBB, row by row.
std::vector<std::uint32_t> shown() {
    pump(200);
    handles::WindowDc screen;
    handles::Bitmap copy(CreateCompatibleBitmap(screen.get(), formW, formH));
    {
        handles::MemoryDc memory(CreateCompatibleDC(screen.get()));
        handles::Selection selected(memory.get(), copy.get());
        BitBlt(memory.get(), 0, 0, formW, formH, screen.get(), formX, formY, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), formW, -formH, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> px(static_cast<size_t>(formW) * formH);
    GetDIBits(screen.get(), copy.get(), 0, formH, px.data(), &info, DIB_RGB_COLORS);
    return px;
}

int darkPixels(const std::vector<std::uint32_t>& px, bool insideLabel) {
    int n = 0;
    for (int y = 0; y < formH; ++y)
        for (int x = 0; x < formW; ++x) {
            const POINT p{x, y};
            const std::uint32_t c = px[static_cast<size_t>(y) * formW + x];
            if ((PtInRect(&labelBox, p) != 0) == insideLabel && (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) < 384) ++n;
        }
    return n;
}

TEST(FileNameLabel, ALongPathStaysInsideTheLabelAndAShortOneReplacesItWhole) {
    class WhiteForm : public forms::Form {
    public:
        WhiteForm() : Form({L"File name label", WS_POPUP, 0, RGB(255, 255, 255)}) {}
    } form;
    forms::Label name(form, labelBox.left, labelBox.top, labelBox.right - labelBox.left,
                             labelBox.bottom - labelBox.top, "", forms::Label::Alignment::left);
    name.setPathEllipsis(true);
    ASSERT_TRUE(form.Load());
    form.Move(formX, formY, formW, formH);
    form.Show();

    const std::string shortPath = "C:\\a.mp3";
    std::string longPath = "C:";
    for (int i = 0; i < 8; ++i) longPath += "\\a folder with a long name";
    longPath += "\\the song.mp3";

    name.setCaption(shortPath);
    const std::vector<std::uint32_t> shortAlone = shown();
    EXPECT_GT(darkPixels(shortAlone, true), 20);
    name.setCaption(longPath);
    InvalidateRect(form.hwnd(), nullptr, FALSE);  // all of the form, as when a window passes over it
    const std::vector<std::uint32_t> longShown = shown();
    EXPECT_EQ(darkPixels(longShown, false), 0) << "the path runs out of its label";
    EXPECT_GT(darkPixels(longShown, true), darkPixels(shortAlone, true));
    name.setCaption(shortPath);
    EXPECT_TRUE(shown() == shortAlone) << "the long path's text stays on the form";
}

}  // namespace
