#include "forms/combo_box_win32.h"

#include "forms/font_win32.h"
#include "forms/text_win32.h"

namespace forms {

ComboBox::ComboBox(Container& container, int l, int t, int w, int h)
    : ChildWindow(container), left(l), top(t), width(w), height(h) {
    create();
}

HWND ComboBox::createWindow(HWND parent) {
    // The height covers the dropped list as well as the field.
    return CreateWindowExW(0, L"COMBOBOX", L"",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, left, top,
                           width, height + 200, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Until the window exists, the text, the list and the enabled state wait
// here and go into it when it is made.
void ComboBox::windowCreated() {
    font = createFont(container().ambientFont());
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    for (const std::string& item : items) SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
    SetWindowTextW(hwnd(), wide(text).c_str());
    EnableWindow(hwnd(), enabled);
}

std::string ComboBox::Text() const {
    const HWND window = hwnd();
    if (window == nullptr) return text;
    const int n = GetWindowTextLengthW(window);
    std::wstring buffer(static_cast<std::size_t>(n) + 1, L'\0');
    GetWindowTextW(window, buffer.data(), n + 1);
    buffer.resize(static_cast<std::size_t>(n));
    return utf8(buffer);
}

void ComboBox::setText(const std::string& value) {
    text = value;
    if (hwnd() != nullptr) SetWindowTextW(hwnd(), wide(value).c_str());
}

void ComboBox::AddItem(const std::string& item) {
    items.push_back(item);
    if (hwnd() != nullptr) SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
}

int ComboBox::ListCount() const { return static_cast<int>(items.size()); }
std::string ComboBox::List(int index) const {
    return index >= 0 && index < ListCount() ? items[static_cast<std::size_t>(index)] : std::string();
}

void ComboBox::setEnabled(bool on) {
    enabled = on;
    if (hwnd() != nullptr) EnableWindow(hwnd(), on);
}

}  // namespace forms
