// The playback clock against a scripted timer: how long each frame stays,
// loops, LoopsEnded, the Action commands and delayed loading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/gif/gif_clock.h"

namespace {

using namespace fulmina::gif;
using Mode = GifClock::TimerMode;
using Cmd = GifClock::Command;

// A timer that records what is asked of it and fires on demand.
class ScriptedTimer : public GifTimerPort {
public:
    bool window = true;
    bool refuse = false;
    std::vector<std::string> log;
    unsigned armed = 0;  // the interval of the pending timer, 0 for none
    Callback pending = Callback::advanceFrame;

    bool containerWindow() override { return window; }
    bool setTimer(unsigned ms, Callback callback) override {
        log.push_back("set " + std::to_string(ms));
        if (refuse) return false;
        armed = ms;
        pending = callback;
        return true;
    }
    void killTimer() override {
        log.push_back("kill");
        armed = 0;
    }
};

class Clock : public ::testing::Test {
protected:
    Clock() {
        clock.repaint = [this] { shown.push_back(clock.currentFrame()); };
        clock.LoopsEnded = [this] { ++ended; };
    }
    // Fires the pending timer; returns how long it was armed for.
    unsigned tick() {
        const unsigned ms = timer.armed;
        if (ms == 0) return 0;
        if (timer.pending == GifTimerPort::Callback::advanceFrame) clock.advanceFrame();
        else clock.finishDelayedLoad();
        return ms;
    }
    int action() const { return static_cast<int>(clock.playing()); }
    ScriptedTimer timer;
    GifClock clock{timer};
    std::vector<int> shown;
    int ended = 0;
};

TEST_F(Clock, EachFrameStaysForItsDelayOrTheMinimum) {
    clock.load({0, 50, 1000});
    timer.log.clear();
    ASSERT_TRUE(clock.startTimer(Mode::animate));
    EXPECT_EQ(timer.log, (std::vector<std::string>{"set 60000", "kill", "set 50"}));  // a probe first
    EXPECT_EQ(tick(), 50u);   // frame 1: delay 0
    EXPECT_EQ(tick(), 50u);   // frame 2: delay 50
    EXPECT_EQ(tick(), 1000u); // frame 3
    EXPECT_EQ(shown, (std::vector<int>{2, 3, 1}));
    clock.MinFrameDelay = 10;
    EXPECT_EQ(timer.armed, 50u);  // frame 1's interval was armed before the change
    tick();
    EXPECT_EQ(timer.armed, 50u);  // frame 2 is 50 anyway
    clock.command(Cmd::stop);
    clock.startTimer(Mode::animate);
    EXPECT_EQ(timer.armed, 10u) << "a Delay of 0 with MinFrameDelay 10";
}

TEST_F(Clock, LoopsCountPassesThenStopOnFrameOneAndRaiseLoopsEnded) {
    clock.load({100, 100, 100});
    clock.Loops = 2;
    clock.startTimer(Mode::animate);
    while (tick() != 0) {
    }
    EXPECT_EQ(shown, (std::vector<int>{2, 3, 1, 2, 3, 1}));
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(action(), 0);
    EXPECT_EQ(clock.currentFrame(), 1);
    EXPECT_EQ(clock.LoopsRemaining(), 2);
    // A new load starts the count afresh.
    clock.startTimer(Mode::animate);
    tick(), tick(), tick();
    EXPECT_EQ(clock.LoopsRemaining(), 1);
    clock.load({100, 100, 100});
    EXPECT_EQ(clock.LoopsRemaining(), 2);
}

TEST_F(Clock, LoopsZeroPlaysWithoutEnd) {
    clock.load({100, 100});
    clock.startTimer(Mode::animate);
    for (int i = 0; i < 1000; ++i) ASSERT_NE(tick(), 0u);
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(clock.LoopsRemaining(), 0);
}

TEST_F(Clock, ALoopCountLoweredBelowTheCountStillEnds) {
    clock.load({100, 100});
    clock.Loops = 5;
    clock.startTimer(Mode::animate);
    for (int i = 0; i < 6; ++i) tick();  // three passes
    clock.Loops = 2;
    tick(), tick();
    EXPECT_EQ(ended, 1);
}

TEST_F(Clock, ActionCommands) {
    clock.load({100, 100, 100});
    clock.command(Cmd::pause);
    EXPECT_EQ(action(), 0) << "pausing a stopped clock leaves it stopped";
    clock.command(Cmd::play);
    EXPECT_EQ(action(), 1);
    tick(), tick();
    clock.command(Cmd::pause);
    EXPECT_EQ(action(), 2);
    EXPECT_EQ(timer.armed, 0u);
    clock.command(Cmd::step);  // at frame 3: step to 1, stay paused
    EXPECT_EQ(clock.currentFrame(), 1);
    EXPECT_EQ(action(), 2);
    clock.command(Cmd::step);
    EXPECT_EQ(clock.currentFrame(), 2);
    clock.command(Cmd::play);
    EXPECT_EQ(action(), 1);
    clock.command(Cmd::stop);
    EXPECT_EQ(action(), 0);
    EXPECT_EQ(clock.currentFrame(), 1);
    tick();
    clock.command(Cmd::restart);  // restart: back to 1 and playing
    EXPECT_EQ(clock.currentFrame(), 1);
    EXPECT_EQ(action(), 1);
    clock.Hide();
    EXPECT_EQ(action(), 2);
    clock.Show();
    EXPECT_EQ(action(), 1);
}

TEST_F(Clock, NothingStartsWithoutAUsefulGifAWindowOrATimer) {
    EXPECT_FALSE(clock.startTimer(Mode::animate)) << "nothing loaded";
    clock.command(Cmd::play);
    EXPECT_EQ(action(), 0);
    clock.load({100});
    EXPECT_FALSE(clock.startTimer(Mode::animate)) << "a one-frame GIF never animates";
    clock.load({100, 100});
    clock.userMode = false;
    clock.command(Cmd::play);
    EXPECT_EQ(action(), 0) << "design time";
    clock.userMode = true;
    timer.window = false;
    EXPECT_FALSE(clock.startTimer(Mode::animate));
    timer.window = true;
    timer.refuse = true;
    EXPECT_FALSE(clock.startTimer(Mode::animate));
    EXPECT_EQ(action(), 0);
    EXPECT_EQ(clock.LoopsRemaining(), 0);
    clock.load({});
    EXPECT_EQ(clock.LoopsRemaining(), -1);
}

TEST_F(Clock, DelayedLoadingFinishesOnATwentyMillisecondTimerThenAnimates) {
    // DelayAnimation 1: after the rest is decoded, the animation starts;
    // with bit 2 it waits for Show or Action 1.
    for (bool waits : {false, true}) {
        clock.load({100, 100, 100});
        int built = 0;
        clock.buildRemainingFrames = [&] {
            ++built;
            if (!waits) clock.startTimer(Mode::animate);
        };
        ASSERT_TRUE(clock.startTimer(Mode::finishLoading));
        EXPECT_EQ(action(), 1) << "playing while the load is pending";
        EXPECT_EQ(tick(), 20u);
        EXPECT_EQ(built, 1);
        EXPECT_EQ(action(), waits ? 0 : 1);
        EXPECT_EQ(timer.armed, waits ? 0u : 100u);
        if (waits) {
            clock.Show();
            EXPECT_EQ(action(), 1);
        }
    }
    // A one-frame GIF still finishes loading.
    clock.load({100});
    EXPECT_TRUE(clock.startTimer(Mode::finishLoading));
}

TEST_F(Clock, ACommandWithinTheFinishLoadingWindowFinishesTheLoadFirst) {
    struct Case {
        Cmd command;
        int state, frame;
    } cases[] = {{Cmd::stop, 0, 1}, {Cmd::play, 1, 1}, {Cmd::pause, 2, 1}, {Cmd::step, 2, 2}, {Cmd::restart, 1, 1}};
    for (const Case& c : cases) {
        clock.load({100, 100, 100});
        int built = 0;
        clock.buildRemainingFrames = [&] {
            ++built;
            clock.startTimer(Mode::animate);
        };
        ASSERT_TRUE(clock.startTimer(Mode::finishLoading));
        clock.command(c.command);
        EXPECT_EQ(built, 1) << int(c.command);
        EXPECT_EQ(action(), c.state) << int(c.command);
        EXPECT_EQ(clock.currentFrame(), c.frame) << int(c.command);
        EXPECT_EQ(timer.armed, c.state == 1 ? 100u : 0u) << int(c.command);
        tick();
        EXPECT_EQ(built, 1) << "the load finishes once";
    }
}

}  // namespace
