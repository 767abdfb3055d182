#include "controls/gif/gif_clock.h"

namespace fulmina::gif {

void GifClock::load(std::vector<std::int32_t> frameDelays) {
    startTimer(0);
    delays = std::move(frameDelays);
    current = delays.empty() ? 0 : 1;
    loops = 0;
}

unsigned GifClock::interval() const {
    const std::int32_t delay = delays[static_cast<std::size_t>(current - 1)];
    return static_cast<unsigned>(delay >= MinFrameDelay ? delay : MinFrameDelay);
}

bool GifClock::startTimer(int mode) {
    if (mode == 0) {
        if (userMode) timer.killTimer();
        state = stopped;
        return true;
    }
    if (state == playing) return false;
    state = stopped;
    if (!loaded() || !userMode || (delays.size() < 2 && mode != 2)) return false;
    const auto callback = mode == 2 ? GifTimerPort::Callback::finishDelayedLoad : GifTimerPort::Callback::advanceFrame;
    if (!timer.containerWindow()) return false;
    if (!timer.setTimer(60000, callback)) return false;  // can a timer be had at all
    timer.killTimer();
    timer.setTimer(mode == 2 ? 20 : interval(), callback);
    state = playing;
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
        state = stopped;
        rearm = false;
    } else if (wrapped && Loops != 0) {
        if (++loops >= Loops) {
            state = stopped;
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
    startTimer(0);
    if (buildRemainingFrames) buildRemainingFrames();
}

void GifClock::setAction(int command) {
    if (!userMode || !loaded()) return;
    switch (command) {
        case 0:
        case 4:
            startTimer(0);
            loops = 0;
            current = 1;
            if (repaint) repaint();
            if (command == 4) startTimer(1);
            break;
        case 1:
            startTimer(1);
            break;
        case 2:
            if (state != stopped) {
                startTimer(0);
                state = paused;
            }
            break;
        case 3:
            startTimer(0);
            if (++current > static_cast<std::int32_t>(delays.size())) current = 1;
            state = paused;
            if (repaint) repaint();
            break;
        default:
            break;
    }
}

std::int32_t GifClock::LoopsRemaining() const {
    if (!loaded()) return -1;
    if (Loops == 0) return 0;
    return Loops - loops;
}

}  // namespace fulmina::gif
