#include "renderer/frame_pacer.h"

#include <algorithm>
#include <cstdlib>

namespace fulmina {

namespace {
constexpr int designedRate = 60;
// No display refreshes faster; a larger figure from a driver is taken as this.
constexpr int fastestRefresh = 1000;

// Whether refresh / b is closer to the designed rate than refresh / a.
bool closer(int refreshHz, int b, int a) {
    return std::abs(refreshHz - designedRate * b) * a < std::abs(refreshHz - designedRate * a) * b;
}
}  // namespace

int swapIntervalFor(int refreshHz) {
    if (refreshHz <= 1) return 1;
    refreshHz = std::min(refreshHz, fastestRefresh);
    // The best interval is one of the two around refresh / 60.
    const int below = std::max(1, refreshHz / designedRate);
    return closer(refreshHz, below + 1, below) ? below + 1 : below;
}

void FramePacer::start(int refreshHz) {
    const int refresh = refreshHz > 1 ? std::min(refreshHz, fastestRefresh) : designedRate;
    swapMicros = 1000000LL * swapIntervalFor(refreshHz) / refresh;
    trustSwap = true;
    judgementStart = clock.nowMicros();
    judgedFrames = 0;
    nextDue = judgementStart;
}

bool FramePacer::frameDue() {
    if (trustSwap) return true;
    const std::int64_t now = clock.nowMicros();
    if (now >= nextDue) return true;
    clock.waitMicros(nextDue - now);
    return false;
}

void FramePacer::frameSwapped() {
    const std::int64_t now = clock.nowMicros();
    if (!trustSwap) {
        // Due a sixtieth of a second after the last frame was due, so that an
        // early or late wake-up does not shift the frames after it; a frame
        // that took longer than that is followed at once, without catching up.
        nextDue = std::max(nextDue + frameMicros, now);
        return;
    }
    ++judgedFrames;
    // A swap that waits cannot show these frames faster than the display
    // refreshes, once the driver's queue is full.
    if (judgedFrames >= framesBeforeJudging &&
        now - judgementStart < (judgedFrames - queuedSwaps) * swapMicros) {
        trustSwap = false;
        nextDue = now;
        return;
    }
    if (judgedFrames < framesPerJudgement) return;
    judgementStart = now;
    judgedFrames = 0;
}

}  // namespace fulmina
