#include "forms/form_win32.h"

#include "forms/application_win32.h"

namespace forms {

namespace {
constexpr wchar_t formClass[] = L"FulminaForm";
}  // namespace

FontDescription defaultFormFont() {
    FontDescription font;
    font.name = "ＭＳ Ｐゴシック";
    font.size = 9;
    font.charset = 128;
    return font;
}

void Form::registerClass() {
    static const bool registered = registerWindowClass(formClass, windowProc);
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
    createChildren();
    startTimers();
    readStoredProperties();
    Form_Load();
    return true;
}

void Form::Show() {
    if (!Load()) return;
    ShowWindow(window, SW_SHOW);  // its controls are told in WM_SHOWWINDOW
}

void Form::ShowModal() {
    Show();
    MSG msg;
    while (isLoaded() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Form::Hide() {
    if (window != nullptr) ShowWindow(window, SW_HIDE);
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

void Form::invalidate(const RECT& area) {
    if (window != nullptr) InvalidateRect(window, &area, FALSE);
}

void Form::paint() {
    handles::PaintDc dc(window);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc.get(), &client, backgroundBrush.get());
    windowless().paint(dc.get());
}

bool Form::setCursor() {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(window, &p);
    const HCURSOR pointer = windowless().cursorAt(p.x, p.y);
    if (pointer == nullptr) return false;
    SetCursor(pointer);
    return true;
}

// The window is gone: by Unload, or because its parent was destroyed.
void Form::destroyed() {
    stopTimers();
    childrenGone();
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
        if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        // An event that fails is skipped; nothing unwinds through the system.
        try {
            return form->handle(window, message, wParam, lParam);
        } catch (...) {
            if (message == WM_NCDESTROY) return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Form::handle(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painted in WM_PAINT
        case WM_SHOWWINDOW:
            if (wParam) windowless().show();
            else windowless().hide();
            break;
        case WM_CLOSE:
            Unload();
            return 0;
        case WM_CANCELMODE: {
            // Sent to the form alone (a modal box disables it): a user
            // control of the form that holds the mouse is told as well.
            const HWND holder = GetCapture();
            mousePath().message(self, message, wParam, lParam);
            if (holder != nullptr && holder != self && IsChild(self, holder)) SendMessageW(holder, message, 0, 0);
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_CAPTURECHANGED:
            mousePath().message(self, message, wParam, lParam);
            return 0;
        case WM_SETCURSOR:
            if (HCURSOR screenWide = screenMousePointer()) {
                SetCursor(screenWide);
                return TRUE;
            }
            if (LOWORD(lParam) == HTCLIENT && setCursor()) return TRUE;
            break;
        case WM_ENDSESSION:  // log-off or shut-down unloads every form
            if (wParam) Unload();
            return 0;
        case WM_NCDESTROY:
            destroyed();
            break;
        default:
            break;
    }
    return DefWindowProcW(self, message, wParam, lParam);
}

}  // namespace forms
