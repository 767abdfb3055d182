#pragma once
// The animated GIF control's playback clock: which frame is on screen, when
// the next one comes, loop counting, and the Action commands. Its one timer
// is behind a narrow interface, which the control implements with SetTimer
// on its container's window and a test scripts.
#include <cstdint>
#include <functional>
#include <vector>

namespace fulmina::gif {

class GifTimerPort {
public:
    enum class Callback { advanceFrame, finishDelayedLoad };
    virtual ~GifTimerPort() = default;
    // The container has a window to own the timer.
    virtual bool containerWindow() = 0;
    // SetTimer with the control's id: one timer at a time, whichever callback.
    virtual bool setTimer(unsigned milliseconds, Callback callback) = 0;
    virtual void killTimer() = 0;
};

class GifClock {
public:
    enum class Playing { stopped = 0, playing = 1, paused = 2 };
    enum class TimerMode { stop, animate, finishLoading };
    enum class Command { stop = 0, play = 1, pause = 2, step = 3, restart = 4 };

    explicit GifClock(GifTimerPort& timer) : timer(timer) {}

    // What the control gives the clock.
    std::function<void()> repaint;
    std::function<void()> LoopsEnded;
    // Decodes the frames a delayed load left; may start the animation.
    std::function<void()> buildRemainingFrames;

    // A new GIF (delays in milliseconds, one a frame; none for an empty
    // control): frame 1 on screen, the loop count afresh, stopped.
    void load(std::vector<std::int32_t> frameDelays);

    bool startTimer(TimerMode mode);
    void advanceFrame();
    void finishDelayedLoad();

    // A command finishes a pending delayed load first: the rest of the
    // frames are decoded whatever the command.
    void command(Command what);
    Playing playing() const { return state; }
    std::int32_t LoopsRemaining() const;
    void Show() { startTimer(TimerMode::animate); }
    void Hide() { command(Command::pause); }

    std::int32_t currentFrame() const { return current; }
    std::int32_t loopCounter() const { return loops; }

    // Properties the control keeps (their checks are the control's).
    std::int32_t Loops = 0;           // passes to play; 0 without end
    std::int16_t MinFrameDelay = 50;  // milliseconds
    bool userMode = true;

private:
    bool loaded() const { return !delays.empty(); }
    unsigned interval() const;

    GifTimerPort& timer;
    std::vector<std::int32_t> delays;
    std::int32_t current = 0;  // 1-based; 0 when empty
    Playing state = Playing::stopped;
    bool finishing = false;  // the pending timer is the finish-loading one
    // Counted passes; 32 bits, so that it reaches any Loops without wrapping.
    std::int32_t loops = 0;
};

}  // namespace fulmina::gif
