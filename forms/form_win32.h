#pragma once
#include <windows.h>

#include "common/handles_win32.h"

#include <string>
#include <vector>

namespace forms {

class Timer;
class Image;

// A top-level form: loaded (window made, hidden) before it is shown, with
// load, query-unload and unload events. It owns its window.
class Form {
public:
    struct Design {
        std::wstring caption;
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = 0;
        COLORREF background = RGB(0, 0, 0);
    };

    explicit Form(Design design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Makes the window (hidden), starts the timers enabled at design time
    // and runs Form_Load. False when the window cannot be made.
    bool Load();
    // Shows the form without waiting for it (loads it first if need be).
    void Show();
    // Runs Form_QueryUnload and Form_Unload and destroys the window.
    void Unload();

    bool isLoaded() const { return window != nullptr; }
    HWND hwnd() const { return window; }
    // Places the form, in pixels, within its parent (or the screen).
    void Move(int left, int top, int width, int height);

protected:
    virtual void Form_Load() {}
    virtual void Form_QueryUnload() {}
    virtual void Form_Unload() {}

private:
    friend class Timer;
    friend class Image;
    static void registerClass();
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void destroyed();

    Design design;
    HWND window = nullptr;
    handles::Brush backgroundBrush;
    bool unloading = false;
    std::vector<Timer*> timers;
    std::vector<Image*> images;
};

}  // namespace forms
