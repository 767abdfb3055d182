#pragma once
#include <windows.h>

#include <functional>
#include <vector>

namespace forms {

class Timer;

// What timers tick on: a form or a user control, whose window exists while
// it is loaded.
class TimerHost {
public:
    virtual ~TimerHost() = default;
    virtual HWND hwnd() const = 0;

protected:
    // Its window has just been made, or is about to go.
    void startTimers();
    void stopTimers();

private:
    friend class Timer;
    std::vector<Timer*> timers;
};

// A window-message timer of a form or a control. It ticks while its host's
// window exists and the timer is enabled; the tick runs onTimer on the
// host's thread. The timer's own address is its id on the host's window; a
// tick reaches it only while it runs on that window, and only a tick made
// since it started there.
// An exception from onTimer ends with the tick: none crosses the callback.
class Timer {
public:
    Timer(TimerHost& owner, UINT interval, bool enabled, std::function<void()> onTimer);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return enabled; }
    void setEnabled(bool on);
    UINT Interval() const { return interval; }
    // Enabled, and the system gave it its timer.
    bool Running() const { return running; }
    void setInterval(UINT milliseconds);

private:
    friend class TimerHost;
    void start();
    void stop();
    static void CALLBACK tick(HWND window, UINT message, UINT_PTR id, DWORD time);

    TimerHost& owner;
    UINT interval;
    bool enabled;
    bool running = false;
    DWORD startedAt = 0;  // GetTickCount when the system gave it its timer
    std::function<void()> onTimer;
};

}  // namespace forms
