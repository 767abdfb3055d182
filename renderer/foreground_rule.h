#pragma once
// When the renderer ends because the keyboard is not its own. Its full-screen
// window covers everything, so Escape reaches it only while it is the
// foreground window: it ends, as on Escape, when another program takes the
// foreground from it (a log-on prompt, a program that asks for the keyboard),
// and when it has not held the foreground within keyboardWaitMs of its opening
// (the system refused it, as Windows does while another program holds it).
// A window with a frame is an ordinary window the user can click and close:
// neither applies to it. A window being destroyed gives up nothing.
#include <cstdint>

namespace fulmina {

class ForegroundRule {
public:
    static constexpr std::uint32_t keyboardWaitMs = 2000;

    // A new window is about to open, full screen or framed, at this tick.
    void opened(bool fullScreen, std::uint32_t nowTick);
    // The window holds the foreground.
    void activated() { held = true; }
    // The window lost the foreground: true when the renderer should end.
    bool deactivated() const { return fullScreen && held && !closing; }
    // The window is being destroyed: its deactivation is no other program's doing.
    void closed() { closing = true; }

    // Whether the opening still waits for the foreground (the caller then asks
    // the system each frame whether it holds it).
    bool waitingForKeyboard() const { return fullScreen && !held && !closing; }
    // What the system said at this tick: true when the wait is over without
    // the foreground, and the renderer should end.
    bool keyboardCheck(bool holdsForeground, std::uint32_t nowTick);

private:
    bool fullScreen = false;
    bool held = false;
    bool closing = false;
    std::uint32_t openedTick = 0;
};

}  // namespace fulmina
