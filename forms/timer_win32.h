#pragma once
#include <windows.h>

#include <functional>

namespace forms {

class Form;

// A window-message timer of a form. It ticks while the form is loaded and the
// timer is enabled; the tick runs onTimer on the form's thread.
class Timer {
public:
    Timer(Form& owner, UINT interval, bool enabled, std::function<void()> onTimer);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return enabled; }
    void setEnabled(bool on);

private:
    friend class Form;
    void attach();  // the form's window exists
    void detach();  // the form's window is going
    void start();
    void stop();
    static void CALLBACK tick(HWND window, UINT message, UINT_PTR id, DWORD time);

    Form& owner;
    UINT interval;
    bool enabled;
    bool running = false;
    std::function<void()> onTimer;
};

}  // namespace forms
