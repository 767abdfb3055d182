#include "forms/combo_box_win32.h"

#include <algorithm>

#include "forms/font_win32.h"
#include "forms/form_win32.h"
#include "forms/text_win32.h"

namespace forms {

ComboBox::ComboBox(Form& container, int l, int t, int w, int h) : form(container), left(l), top(t), width(w), height(h) {
    form.comboBoxes.push_back(this);
    if (form.hwnd() != nullptr) create();
}

ComboBox::~ComboBox() {
    auto& list = form.comboBoxes;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (window != nullptr && IsWindow(window)) DestroyWindow(window);
}

// Until the window exists, the text, the list and the enabled state wait
// here and go into it when it is made.
bool ComboBox::create() {
    if (window != nullptr) return true;
    // The height covers the dropped list as well as the field.
    window = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                             left, top, width, height + 200, form.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return false;
    font = createFont(form.ambientFont());
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    for (const std::string& item : items) SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
    SetWindowTextW(window, wide(text).c_str());
    EnableWindow(window, enabled);
    return true;
}

std::string ComboBox::Text() const {
    if (window == nullptr) return text;
    const int n = GetWindowTextLengthW(window);
    std::wstring buffer(static_cast<std::size_t>(n) + 1, L'\0');
    GetWindowTextW(window, buffer.data(), n + 1);
    buffer.resize(static_cast<std::size_t>(n));
    return utf8(buffer);
}

void ComboBox::setText(const std::string& value) {
    text = value;
    if (window != nullptr) SetWindowTextW(window, wide(value).c_str());
}

void ComboBox::AddItem(const std::string& item) {
    items.push_back(item);
    if (window != nullptr) SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
}

int ComboBox::ListCount() const { return static_cast<int>(items.size()); }
std::string ComboBox::List(int index) const {
    return index >= 0 && index < ListCount() ? items[static_cast<std::size_t>(index)] : std::string();
}

void ComboBox::setEnabled(bool on) {
    enabled = on;
    if (window != nullptr) EnableWindow(window, on);
}

}  // namespace forms
