#pragma once
#include <cstdint>

namespace fulmina {

// The scene advances per frame and is designed for about 60 frames a second.
// The pacer keeps it there: where the buffer swap waits for the display it
// leaves the pace to the swap; where frames come faster than the display could
// show them (vertical sync off, or overridden by the driver), it waits out the
// rest of each sixtieth of a second.

// What the pacer reads the time from and waits on.
class PaceClock {
public:
    virtual ~PaceClock() = default;
    // A steadily rising time in microseconds, finer than GetTickCount.
    virtual std::int64_t nowMicros() = 0;
    // Returns after that many microseconds, or sooner when input arrives.
    virtual void waitMicros(std::int64_t micros) = 0;
};

// The swap interval n whose rate (refreshHz / n) is closest to 60 frames a
// second, the faster one on a tie; 1 where the refresh rate is not known. A
// rate above 1000 Hz counts as 1000 Hz.
int swapIntervalFor(int refreshHz);

class FramePacer {
public:
    static constexpr std::int64_t frameMicros = 16667;  // 60 frames a second
    // The swap's pace is judged over stretches of this many frames, from the
    // tenth frame of each on, allowing for the swaps that a driver takes into
    // its queue without waiting while that queue fills (at the start, after a
    // long frame): a swap that does not wait is found within ten frames where
    // frames are quick, and within a stretch where they take most of a frame.
    static constexpr int framesPerJudgement = 60;
    static constexpr int framesBeforeJudging = 10;
    static constexpr int queuedSwaps = 4;

    explicit FramePacer(PaceClock& clock) : clock(clock) {}

    // A window was opened on a display of refreshHz (0 or 1: not known). The
    // swap is trusted to wait for every swapIntervalFor(refreshHz)-th refresh
    // until its frames come faster than that: the swap does not wait, or waits
    // for every refresh where that interval could not be asked for, and the
    // pacer paces them.
    void start(int refreshHz);

    // True when the next frame is due. Otherwise waits until it is, or until
    // input arrives, and returns false: take the messages, then ask again.
    bool frameDue();

    // The frame has been swapped.
    void frameSwapped();

    bool swapWaits() const { return trustSwap; }

private:
    PaceClock& clock;
    std::int64_t swapMicros = frameMicros;  // a frame's time where the swap waits
    bool trustSwap = true;
    std::int64_t nextDue = 0;
    std::int64_t judgementStart = 0;
    int judgedFrames = 0;
};

}  // namespace fulmina
