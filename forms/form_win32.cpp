#include "forms/form_win32.h"

#include "forms/application_win32.h"
#include "forms/combo_box_win32.h"
#include "forms/image_win32.h"
#include "forms/timer_win32.h"
#include "forms/user_control_win32.h"
#include "forms/windowless_win32.h"

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
    for (UserControl* control : controls)
        if (control->create()) control->sited();
    for (ComboBox* box : comboBoxes) box->create();
    startTimers();
    readStoredProperties();
    Form_Load();
    return true;
}

void Form::Show() {
    if (!Load()) return;
    ShowWindow(window, SW_SHOW);
    for (Windowless* control : std::vector<Windowless*>(windowless)) control->UserControl_Show();
}

void Form::ShowModal() {
    Show();
    MSG msg;
    while (isLoaded() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
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
    for (Windowless* control : windowless) control->UserControl_Paint(dc.get());  // in z-order
}

Windowless* Form::windowlessAt(int x, int y) const {
    for (auto it = windowless.rbegin(); it != windowless.rend(); ++it)
        if ((*it)->contains(x, y)) return *it;
    return nullptr;
}

// The control under the pointer has the mouse; a press captures it until
// the release, which is a click when it comes over the same control.
void Form::mouse(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    Windowless* target = captured != nullptr ? captured : windowlessAt(x, y);
    if (target == nullptr) return;
    const int shift = ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
    const int cx = x - target->left, cy = y - target->top;
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            const int button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
            captured = target;
            SetCapture(window);
            target->UserControl_MouseDown(button, shift, cx, cy);
            break;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const int button = message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4;
            const bool over = windowlessAt(x, y) == target;
            if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
                captured = nullptr;
                ReleaseCapture();
            }
            target->UserControl_MouseUp(button, shift, cx, cy);
            if (over && button == 1) target->UserControl_Click();
            break;
        }
        default: {
            const int buttons = ((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) | ((wParam & MK_MBUTTON) ? 4 : 0);
            target->UserControl_MouseMove(buttons, shift, cx, cy);
            break;
        }
    }
}

bool Form::setCursor() {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(window, &p);
    const Windowless* target = windowlessAt(p.x, p.y);
    if (target == nullptr || target->cursor() == nullptr) return false;
    SetCursor(target->cursor());
    return true;
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
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
            case WM_MBUTTONUP:
            case WM_MOUSEMOVE:
                form->mouse(message, wParam, lParam);
                return 0;
            case WM_SETCURSOR:
                if (HCURSOR screenWide = screenMousePointer()) {
                    SetCursor(screenWide);
                    return TRUE;
                }
                if (LOWORD(lParam) == HTCLIENT && form->setCursor()) return TRUE;
                break;
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
