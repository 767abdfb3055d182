// The preview set-up on a pane of this process, where the screen can be read
// back (a pane of another process is the real case; see the end-to-end test).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "forms/application_win32.h"
#include "forms/image_win32.h"
#include "host/preview_win32.h"
#include "host/resource_ids.h"
#include "tests/support/message_pump_win32.h"

namespace {

using testing_support::pump;

using namespace fulmina;


// 32-bit BGRX pixels of a bitmap, top-down.
std::vector<std::uint8_t> pixelsOf(HBITMAP bitmap, int w, int h) {
    std::vector<std::uint8_t> px(static_cast<size_t>(w) * h * 4);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    handles::WindowDc screen;
    GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS);
    return px;
}

std::vector<std::uint8_t> screenPixels(int x, int y, int w, int h) {
    handles::WindowDc screen;
    handles::Bitmap copy(CreateCompatibleBitmap(screen.get(), w, h));
    {
        handles::MemoryDc memory(CreateCompatibleDC(screen.get()));
        handles::Selection selected(memory.get(), copy.get());
        BitBlt(memory.get(), 0, 0, w, h, screen.get(), x, y, SRCCOPY);
    }
    return pixelsOf(copy.get(), w, h);
}

HWND makePane(int w, int h) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"TestPane";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"TestPane", L"Pane", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, w, h,
                           nullptr, nullptr, wc.hInstance, nullptr);
}

TEST(Preview, FillsThePaneWithThePreviewPictureAndGoesWithIt) {
    HWND pane = makePane(152, 112);
    ASSERT_NE(pane, nullptr);
    FulminaR preview;
    ASSERT_TRUE(setUpPreview(preview, pane));
    pump(800);
    EXPECT_EQ(GetParent(preview.hwnd()), pane);
    const LONG style = GetWindowLongW(preview.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & WS_POPUP);
    EXPECT_TRUE(IsWindowVisible(preview.hwnd()));
    RECT client;
    GetClientRect(preview.hwnd(), &client);
    EXPECT_EQ(client.right, 152);
    EXPECT_EQ(client.bottom, 112);

    const handles::Bitmap picture = forms::loadBitmapResource(IDB_PREVIEW);
    ASSERT_TRUE(picture);
    const auto expected = pixelsOf(picture.get(), 152, 112);
    const auto seen = screenPixels(100, 100, 152, 112);
    long long diff = 0;
    for (size_t i = 0; i < expected.size(); i += 4)
        for (int c = 0; c < 3; ++c) diff += std::abs(int(seen[i + c]) - int(expected[i + c]));
    EXPECT_LT(double(diff) / (152.0 * 112 * 3), 4.0) << "the pane does not show the preview picture";

    const int formsBefore = forms::loadedFormCount();
    DestroyWindow(pane);
    EXPECT_FALSE(preview.isLoaded()) << "the preview outlived its pane";
    EXPECT_EQ(forms::loadedFormCount(), formsBefore - 1);
}

// The control panel may destroy its pane between the host's look at it and
// the set-up: the preview then ends instead of staying on the desktop.
TEST(Preview, APaneGoneBeforeTheSetUpLeavesNoPreview) {
    HWND pane = makePane(152, 112);
    ASSERT_NE(pane, nullptr);
    DestroyWindow(pane);
    FulminaR preview;
    EXPECT_FALSE(setUpPreview(preview, pane));
    pump(100);
    EXPECT_FALSE(preview.isLoaded() && IsWindowVisible(preview.hwnd())) << "a preview on the desktop, without its pane";
}

TEST(Preview, ALargerPaneShowsBlackBeyondThePicture) {
    HWND pane = makePane(200, 150);
    FulminaR preview;
    ASSERT_TRUE(setUpPreview(preview, pane));
    pump(800);
    const auto seen = screenPixels(100, 100, 200, 150);
    auto at = [&](int x, int y) { return &seen[(static_cast<size_t>(y) * 200 + x) * 4]; };
    for (auto [x, y] : {std::pair{170, 20}, {20, 130}, {190, 140}})
        EXPECT_EQ(at(x, y)[0] + at(x, y)[1] + at(x, y)[2], 0) << x << "," << y;
    EXPECT_GT(at(76, 56)[0], 150) << "no glow in the middle of the picture";
    DestroyWindow(pane);
}

}  // namespace
