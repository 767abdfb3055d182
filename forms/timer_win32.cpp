#include "forms/timer_win32.h"

#include <algorithm>
#include <set>

namespace forms {

namespace {
// The timers that exist. KillTimer leaves a WM_TIMER already in the queue,
// so a tick checks its timer is still here before using it.
std::set<const Timer*>& liveTimers() {
    static std::set<const Timer*> timers;
    return timers;
}
}  // namespace

void TimerHost::startTimers() {
    for (Timer* t : timers)
        if (t->enabled) t->start();
}

void TimerHost::stopTimers() {
    for (Timer* t : timers) t->stop();
}

Timer::Timer(TimerHost& owner, UINT interval, bool enabled, std::function<void()> onTimer)
    : owner(owner), interval(interval), enabled(enabled), onTimer(std::move(onTimer)) {
    owner.timers.push_back(this);
    liveTimers().insert(this);
    if (enabled) start();  // its host may be loaded already
}

Timer::~Timer() {
    liveTimers().erase(this);
    stop();
    auto& list = owner.timers;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void Timer::setEnabled(bool on) {
    enabled = on;
    if (on) start();
    else stop();
}

void Timer::setInterval(UINT milliseconds) {
    interval = milliseconds;
    if (running) start();  // SetTimer with the same id replaces the interval
}

void Timer::start() {
    if (owner.hwnd() == nullptr) return;
    startedAt = GetTickCount();
    running = SetTimer(owner.hwnd(), reinterpret_cast<UINT_PTR>(this), interval, tick) != 0;
}

void Timer::stop() {
    if (running && owner.hwnd() != nullptr) KillTimer(owner.hwnd(), reinterpret_cast<UINT_PTR>(this));
    running = false;
}

void CALLBACK Timer::tick(HWND window, UINT, UINT_PTR id, DWORD) {
    auto* timer = reinterpret_cast<Timer*>(id);
    if (liveTimers().count(timer) == 0) return;
    // A new timer may live where a killed one did, whose tick was queued:
    // only a running timer on the tick's own window takes it, and only a
    // tick made since it started. The callback's own time is when it is
    // dispatched; the message's (GetMessageTime, wrapping after 49 days) is
    // when it was made, and never before a genuine tick's timer started.
    if (!timer->running || timer->owner.hwnd() != window) return;
    if (static_cast<LONG>(static_cast<DWORD>(GetMessageTime()) - timer->startedAt) < 0) return;
    if (!timer->enabled || !timer->onTimer) return;
    // A tick that fails is skipped; nothing unwinds through the system.
    try {
        timer->onTimer();
    } catch (...) {
    }
}

}  // namespace forms
