// The renderer window's message handling, on a real (windowed) renderer window.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/saver_contract.h"
#include "renderer/gl_api.h"
#include "renderer/renderer_state.h"
#include "renderer/renderer_window_win32.h"
#include "renderer/strike_scene.h"

namespace {

using namespace fulmina;

class RendererWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.instance = GetModuleHandleA(nullptr);
        ASSERT_TRUE(registerRendererClass(app));
        w.keys = &keys;
        w.app = &app;
        w.fullScreen = 0;  // leave the test display as it is
        rendererState = {};
        rendererState.keepRunning = true;
        ASSERT_TRUE(openRendererWindow(w));
        drain();
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

TEST(RendererWindowFallback, AFailedFullScreenSwitchGivesAnUnadjustedWindow) {
    using namespace fulmina;
    RendererApp app;
    app.instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(registerRendererClass(app));
    KeyTable keys{};
    RendererWindow w;
    w.keys = &keys;
    w.app = &app;
    w.width = 1000;  // a mode the display does not have
    w.height = 700;
    DEVMODEA before{};
    before.dmSize = sizeof(before);
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &before);
    ASSERT_TRUE(openRendererWindow(w));
    EXPECT_EQ(w.fullScreen, 0);
    EXPECT_FALSE(GetWindowLongA(w.window, GWL_STYLE) & WS_POPUP);
    EXPECT_FALSE(GetWindowLongA(w.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT outer;
    GetWindowRect(w.window, &outer);
    EXPECT_EQ(outer.right - outer.left, 1000) << "the nominal size is the outer size";
    RECT client;
    GetClientRect(w.window, &client);
    EXPECT_LT(client.right, 1000) << "so the client area comes out smaller";
    closeRendererWindow(w);
    DEVMODEA after{};
    after.dmSize = sizeof(after);
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &after);
    EXPECT_EQ(after.dmPelsWidth, before.dmPelsWidth);
    EXPECT_EQ(after.dmPelsHeight, before.dmPelsHeight);
    UnregisterClassA(app.className, app.instance);
}

}  // namespace

namespace {

// The cursor's display counter, left as it was.
int cursorCounter() {
    const int counter = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return counter - 1;
}

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
