#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/handles_win32.h"
#include "forms/container_win32.h"
#include "forms/font_description.h"

namespace forms {

// The font a Japanese form starts with; its controls take it as their ambient font.
FontDescription defaultFormFont();

// A top-level form: loaded (window made, hidden) before it is shown, with
// load, query-unload and unload events. It owns its window; its user
// controls' windows are its children. Showing and hiding it tells its
// windowless controls (UserControl_Show, UserControl_Hide).
class Form : public Container {
public:
    struct Design {
        std::wstring caption;
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = 0;
        COLORREF background = RGB(0, 0, 0);
        FontDescription font = defaultFormFont();
    };

    explicit Form(Design design);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Makes the window (hidden) and its controls' windows, starts the timers
    // enabled at design time and runs Form_Load. False when the window
    // cannot be made.
    bool Load();
    // Shows the form without waiting for it (loads it first if need be).
    void Show();
    // Shows the form and returns when it has been unloaded. No key has a
    // meaning of its own: Enter and Escape go to the control with the focus.
    void ShowModal();
    // Hides the form; it stays loaded.
    void Hide();
    // Runs Form_QueryUnload and Form_Unload and destroys the window.
    void Unload();

    bool isLoaded() const { return window != nullptr; }
    HWND hwnd() const override { return window; }
    // Places the form, in pixels, within its parent (or the screen).
    void Move(int left, int top, int width, int height);

    // What its controls read as ambient properties: the form's font, and
    // whether the program runs (always, here: there is no designer).
    const FontDescription& ambientFont() const override { return design.font; }
    void invalidate(const RECT& area) override;

protected:
    // The controls read their stored properties: after the windows are made
    // and before Form_Load, as a form loads them.
    virtual void readStoredProperties() {}
    virtual void Form_Load() {}
    virtual void Form_QueryUnload() {}
    virtual void Form_Unload() {}

private:
    static void registerClass();
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND self, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void destroyed();
    bool setCursor();

    Design design;
    HWND window = nullptr;
    handles::Brush backgroundBrush;
    bool unloading = false;
};

}  // namespace forms
