// The renderer window's message handling, on a real (windowed) renderer window.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "common/saver_contract.h"
#include "renderer/frame_loop_win32.h"
#include "renderer/gl_api.h"
#include "renderer/letterbox.h"
#include "renderer/renderer_state.h"
#include "renderer/renderer_window_win32.h"
#include "renderer/strike_scene.h"

namespace {

using namespace fulmina;

class RendererWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.fullScreen = 0;  // leave the test display as it is
        open();
        drain();
    }
    // Opens the window as configured in w.
    void open() {
        app.instance = GetModuleHandleA(nullptr);
        ASSERT_TRUE(registerRendererClass(app));
        w.keys = &keys;
        w.app = &app;
        rendererState = {};
        rendererState.keepRunning = true;
        ASSERT_TRUE(openRendererWindow(w));
    }
    void TearDown() override {
        closeRendererWindow(w);
        UnregisterClassA(app.className, app.instance);
    }
    LRESULT send(UINT message, WPARAM wParam, LPARAM lParam = 0) {
        return SendMessageA(w.window, message, wParam, lParam);
    }
    // Removes what the opening queued; true when a WM_QUIT was among it.
    bool drain() {
        bool quit = false;
        MSG msg;
        while (PeekMessageA(&msg, w.window, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) quit = true;
            else DispatchMessageA(&msg);
        }
        return quit;
    }

    RendererApp app;
    KeyTable keys{};
    RendererWindow w;
};

TEST_F(RendererWindowTest, OpeningMakesAVisibleTitledWindowWithACurrentContext) {
    char title[64] = {};
    GetWindowTextA(w.window, title, sizeof(title));
    EXPECT_STREQ(title, contract::windowTitle);
    char className[64] = {};
    GetClassNameA(w.window, className, sizeof(className));
    EXPECT_STREQ(className, contract::windowClass);
    EXPECT_TRUE(IsWindowVisible(w.window));
    EXPECT_EQ(w.visible, 1);
    EXPECT_EQ(wglGetCurrentContext(), w.context);
    // The opening sets the projection to the nominal size, whatever the client area.
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);
    // Windowed: the frame is added around the nominal client width (the
    // height may be cut to what the screen can hold).
    RECT client;
    GetClientRect(w.window, &client);
    EXPECT_EQ(client.right, 1024);
    EXPECT_FALSE(GetWindowLongA(w.window, GWL_STYLE) & WS_POPUP);
}

TEST_F(RendererWindowTest, KeysUpToTwoHundredFiftyFiveAreTracked) {
    EXPECT_EQ(send(WM_KEYDOWN, VK_ESCAPE), 0);
    EXPECT_EQ(keys[VK_ESCAPE], 1);
    send(WM_KEYUP, VK_ESCAPE);
    EXPECT_EQ(keys[VK_ESCAPE], 0);
    const KeyTable before = keys;
    send(WM_KEYDOWN, 300);
    EXPECT_EQ(keys, before);
}

TEST_F(RendererWindowTest, AnEscapeTapWhoseKeyUpComesBeforeTheFrameStillEndsIt) {
    StrikeScene scene;
    FrameContext frame;
    frame.scene = &scene;
    frameSetup(frame, keys);
    EXPECT_FALSE(frameUpdate(frame, 16));
    PostMessageA(w.window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(w.window, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    drain();  // one pass of the pump takes both
    EXPECT_EQ(keys[VK_ESCAPE], 0);
    EXPECT_TRUE(frameUpdate(frame, 16));
}

TEST_F(RendererWindowTest, ScreenSaverAndMonitorPowerCommandsAreSwallowed) {
    EXPECT_EQ(send(WM_SYSCOMMAND, 0xF140), 0);
    EXPECT_EQ(send(WM_SYSCOMMAND, 0xF170, 2), 0);
    EXPECT_TRUE(IsWindow(w.window));
    EXPECT_TRUE(rendererState.keepRunning);
}

TEST_F(RendererWindowTest, CloseRequestEndsTheLoop) {
    EXPECT_EQ(send(WM_CLOSE, 0), 0);
    EXPECT_FALSE(rendererState.keepRunning);
    EXPECT_TRUE(IsWindow(w.window)) << "the window goes in the closing step, not here";
    EXPECT_TRUE(drain()) << "a WM_QUIT for the pump";
}

TEST_F(RendererWindowTest, SwitchDisplayFlipsTheChoiceAndEndsOnlyThisWindow) {
    send(msgSwitchDisplay, 0);
    EXPECT_FALSE(rendererState.wantFullScreen);
    EXPECT_TRUE(rendererState.keepRunning);
    EXPECT_TRUE(drain());
    send(msgSwitchDisplay, 0);
    EXPECT_TRUE(rendererState.wantFullScreen);
}

TEST_F(RendererWindowTest, MinimisingStopsFramesAndRestoringSetsTheProjection) {
    send(WM_SIZE, SIZE_MINIMIZED);
    EXPECT_EQ(w.visible, 0);
    send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
    EXPECT_EQ(w.visible, 1);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
}

TEST_F(RendererWindowTest, ClosingReleasesContextDcAndWindow) {
    HWND window = w.window;
    closeRendererWindow(w);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(w.window, nullptr);
    EXPECT_EQ(w.dc, nullptr);
    EXPECT_EQ(w.context, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

}  // namespace

namespace {

using namespace fulmina;

// The cursor's display counter, left as it was.
int cursorCounter() {
    const int counter = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return counter - 1;
}

DEVMODEA currentMode() {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return mode;
}

// A full-screen opening in a mode the display does not have (1000 x 700), as
// on a remote session where no mode can be switched.
class RendererWindowWithoutModeSwitch : public RendererWindowTest {
protected:
    void SetUp() override {
        w.width = 1000;
        w.height = 700;
        before = currentMode();
        cursorBefore = cursorCounter();
        open();
    }
    void TearDown() override {
        RendererWindowTest::TearDown();
        const DEVMODEA after = currentMode();
        EXPECT_EQ(after.dmPelsWidth, before.dmPelsWidth);
        EXPECT_EQ(after.dmPelsHeight, before.dmPelsHeight);
        EXPECT_EQ(cursorCounter(), cursorBefore) << "the cursor was not given back";
    }
    // The window is the scene's 4 : 3 in the middle of the primary monitor,
    // its client area the viewport; the dark windows cover the rest.
    void expectLetterboxedOnThePrimary() {
        RECT outer;
        GetWindowRect(w.window, &outer);
        const ScreenRect placed{outer.left, outer.top, outer.right, outer.bottom};
        EXPECT_EQ(placed, letterbox(1000, 700, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
        GLint v[4] = {};
        glGetIntegerv(GL_VIEWPORT, v);
        EXPECT_EQ((std::vector<GLint>(v, v + 4)), (std::vector<GLint>{0, 0, outer.right - outer.left,
                                                                      outer.bottom - outer.top}));
        const std::vector<ScreenRect> bands = darkRectangles(monitorRectangles(), placed);
        ASSERT_EQ(w.darkMonitors.count(), bands.size());
        for (std::size_t i = 0; i < bands.size(); ++i) {
            RECT r;
            GetWindowRect(w.darkMonitors.window(i), &r);
            EXPECT_EQ((ScreenRect{r.left, r.top, r.right, r.bottom}), bands[i]);
        }
    }

    DEVMODEA before{};
    int cursorBefore = 0;
};

TEST_F(RendererWindowWithoutModeSwitch, TheSceneIsLetterboxedOnThePrimaryTheRestDarkAndNoPointer) {
    EXPECT_EQ(w.fullScreen, 1);
    EXPECT_FALSE(w.modeSwitched);
    EXPECT_TRUE(GetWindowLongA(w.window, GWL_STYLE) & WS_POPUP);
    EXPECT_TRUE(GetWindowLongA(w.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    expectLetterboxedOnThePrimary();
    EXPECT_LT(cursorCounter(), cursorBefore) << "the pointer shows over the saver";
}

TEST_F(RendererWindowWithoutModeSwitch, ADisplayChangePlacesItOverThePrimaryAgain) {
    SetWindowPos(w.window, nullptr, 100, 100, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(w.window, WM_DISPLAYCHANGE, 16, MAKELPARAM(1024, 768));
    expectLetterboxedOnThePrimary();
}

TEST_F(RendererWindowWithoutModeSwitch, AFrameEndsAWindowThatNeverGotTheKeyboard) {
    StrikeScene scene;
    FrameContext frame;
    frame.scene = &scene;
    frameSetup(frame, keys);
    SetForegroundWindow(w.window);
    lightningFrame(w, frame);
    EXPECT_TRUE(rendererState.keepRunning) << "ended while it held the keyboard";

    // Another window of this thread takes the foreground (no WM_ACTIVATEAPP
    // within one thread), and the wait is made to have begun long ago.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                 app.instance, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    ASSERT_NE(GetForegroundWindow(), w.window);
    w.foreground.opened(true, GetTickCount() - ForegroundRule::keyboardWaitMs);
    lightningFrame(w, frame);
    EXPECT_FALSE(rendererState.keepRunning);
    DestroyWindow(other);
}

}  // namespace

namespace {

TEST(RendererWindowFallback, AnOpeningThatFailsAfterTheSwitchGivesTheCursorAndDisplayBack) {
    using namespace fulmina;
    RendererApp app;
    app.instance = GetModuleHandleA(nullptr);
    app.className = "NoSuchWindowClass";  // the window cannot be made
    KeyTable keys{};
    RendererWindow w;
    w.keys = &keys;
    w.app = &app;
    const int before = cursorCounter();
    EXPECT_FALSE(openRendererWindow(w));
    EXPECT_EQ(w.window, nullptr);
    EXPECT_EQ(cursorCounter(), before) << "the cursor stays hidden after a failed opening";
    DEVMODEA now{};
    now.dmSize = sizeof(now);
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &now);
    DEVMODEA registry{};
    registry.dmSize = sizeof(registry);
    EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &registry);
    EXPECT_EQ(now.dmPelsWidth, registry.dmPelsWidth);
    EXPECT_EQ(now.dmBitsPerPel, registry.dmBitsPerPel);
}

}  // namespace
