#include "controls/gif/gif_clock.h"

namespace fulmina::gif {

void GifClock::load(std::vector<std::int32_t> frameDelays) {
    startTimer(TimerMode::stop);
    delays = std::move(frameDelays);
    current = delays.empty() ? 0 : 1;
    loops = 0;
}

unsigned GifClock::interval() const {
    const std::int32_t delay = delays[static_cast<std::size_t>(current - 1)];
    return static_cast<unsigned>(delay >= MinFrameDelay ? delay : MinFrameDelay);
}

bool GifClock::startTimer(TimerMode mode) {
    if (mode == TimerMode::stop) {
        if (userMode) timer.killTimer();
        state = Playing::stopped;
        finishing = false;
        return true;
    }
    if (state == Playing::playing) return false;
    state = Playing::stopped;
    const bool finish = mode == TimerMode::finishLoading;
    if (!loaded() || !userMode || (delays.size() < 2 && !finish)) return false;
    const auto callback = finish ? GifTimerPort::Callback::finishDelayedLoad : GifTimerPort::Callback::advanceFrame;
    if (!timer.containerWindow()) return false;
    if (!timer.setTimer(60000, callback)) return false;  // can a timer be had at all
    timer.killTimer();
    timer.setTimer(finish ? 20 : interval(), callback);
    state = Playing::playing;
    finishing = finish;
    return true;
}

void GifClock::advanceFrame() {
    timer.killTimer();  // each interval is one shot, re-armed below
    if (!loaded()) return;
    bool wrapped = false;
    if (++current > static_cast<std::int32_t>(delays.size())) {
        current = 1;
        wrapped = true;
    }
    bool rearm = true;
    if (delays.size() == 1) {
        loops = 1;
        state = Playing::stopped;
        rearm = false;
    } else if (wrapped && Loops != 0) {
        if (++loops >= Loops) {
            state = Playing::stopped;
            loops = 0;
            rearm = false;
        }
    }
    if (repaint) repaint();
    if (rearm) {
        timer.setTimer(interval(), GifTimerPort::Callback::advanceFrame);
    } else if (LoopsEnded) {
        LoopsEnded();
    }
}

void GifClock::finishDelayedLoad() {
    startTimer(TimerMode::stop);
    if (buildRemainingFrames) buildRemainingFrames();
}

void GifClock::command(Command what) {
    if (!userMode || !loaded()) return;
    if (finishing) finishDelayedLoad();
    switch (what) {
        case Command::stop:
        case Command::restart:
            startTimer(TimerMode::stop);
            loops = 0;
            current = 1;
            if (repaint) repaint();
            if (what == Command::restart) startTimer(TimerMode::animate);
            break;
        case Command::play:
            startTimer(TimerMode::animate);
            break;
        case Command::pause:
            if (state != Playing::stopped) {
                startTimer(TimerMode::stop);
                state = Playing::paused;
            }
            break;
        case Command::step:
            startTimer(TimerMode::stop);
            if (++current > static_cast<std::int32_t>(delays.size())) current = 1;
            state = Playing::paused;
            if (repaint) repaint();
            break;
    }
}

std::int32_t GifClock::LoopsRemaining() const {
    if (!loaded()) return -1;
    if (Loops == 0) return 0;
    return Loops - loops;
}

}  // namespace fulmina::gif
