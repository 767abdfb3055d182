#include "forms/form_win32.h"

#include "forms/application_win32.h"
#include "forms/image_win32.h"
#include "forms/timer_win32.h"
#include "forms/user_control_win32.h"

namespace forms {

namespace {
constexpr wchar_t formClass[] = L"FulminaForm";
}  // namespace

FontSpec defaultFormFont() {
    FontSpec font;
    font.name = "ＭＳ Ｐゴシック";
    font.size = 9;
    font.charset = 128;
    return font;
}

void Form::registerClass() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = formClass;
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
}

Form::Form(Design d) : design(std::move(d)) {}

Form::~Form() {
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

bool Form::Load() {
    if (window != nullptr) return true;
    registerClass();
    if (!backgroundBrush) backgroundBrush.reset(CreateSolidBrush(design.background));
    // Its controls' windows are children that the form's painting leaves alone.
    const DWORD style = (design.style | WS_CLIPCHILDREN) & ~WS_VISIBLE;
    window = CreateWindowExW(design.exStyle, formClass, design.caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                             320, 240, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (window == nullptr) return false;
    formLoaded();
    for (UserControl* control : controls)
        if (control->create()) control->sited();
    startTimers();
    Form_Load();
    return true;
}

void Form::Show() {
    if (Load()) ShowWindow(window, SW_SHOW);
}

void Form::Unload() {
    if (window == nullptr || unloading) return;
    unloading = true;
    Form_QueryUnload();
    Form_Unload();
    DestroyWindow(window);  // ends in destroyed()
}

void Form::Move(int left, int top, int width, int height) {
    if (window != nullptr) MoveWindow(window, left, top, width, height, TRUE);
}

void Form::paint() {
    handles::PaintDc dc(window);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc.get(), &client, backgroundBrush.get());
    for (Image* image : images) image->paint(dc.get());  // windowless children, in z-order
}

// The window is gone: by Unload, or because its parent was destroyed.
void Form::destroyed() {
    stopTimers();
    if (!unloading) {
        unloading = true;
        Form_Unload();
    }
    window = nullptr;
    unloading = false;
    formUnloaded();
}

LRESULT CALLBACK Form::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form != nullptr) {
        switch (message) {
            case WM_PAINT:
                form->paint();
                return 0;
            case WM_ERASEBKGND:
                return 1;  // painted in WM_PAINT
            case WM_CLOSE:
                form->Unload();
                return 0;
            case WM_ENDSESSION:  // log-off or shut-down unloads every form
                if (wParam) form->Unload();
                return 0;
            case WM_NCDESTROY:
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                form->destroyed();
                break;
            default:
                break;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace forms
