#include "forms/timer_win32.h"

#include <algorithm>

#include "forms/form_win32.h"

namespace forms {

Timer::Timer(Form& owner, UINT interval, bool enabled, std::function<void()> onTimer)
    : owner(owner), interval(interval), enabled(enabled), onTimer(std::move(onTimer)) {
    owner.timers.push_back(this);
}

Timer::~Timer() {
    stop();
    auto& list = owner.timers;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void Timer::setEnabled(bool on) {
    enabled = on;
    if (on) start();
    else stop();
}

void Timer::attach() {
    if (enabled) start();
}

void Timer::detach() { stop(); }

// The timer's own address is its id: the tick finds the instance from it.
void Timer::start() {
    if (owner.window == nullptr) return;
    running = SetTimer(owner.window, reinterpret_cast<UINT_PTR>(this), interval, tick) != 0;
}

void Timer::stop() {
    if (running && owner.window != nullptr) KillTimer(owner.window, reinterpret_cast<UINT_PTR>(this));
    running = false;
}

void CALLBACK Timer::tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto* timer = reinterpret_cast<Timer*>(id);
    if (timer->enabled && timer->onTimer) timer->onTimer();
}

}  // namespace forms
