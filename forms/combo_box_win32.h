#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/handles_win32.h"

namespace forms {

class Form;

// A combo box with an edit field and a drop-down list: a system control,
// a child window of its form, in the form's font.
class ComboBox {
public:
    ComboBox(Form& container, int left, int top, int width, int height);
    ~ComboBox();
    ComboBox(const ComboBox&) = delete;
    ComboBox& operator=(const ComboBox&) = delete;

    // The text in the edit field (UTF-8).
    std::string Text() const;
    void setText(const std::string& text);
    void AddItem(const std::string& item);
    int ListCount() const;
    std::string List(int index) const;
    bool Enabled() const { return enabled; }
    void setEnabled(bool on);
    HWND hwnd() const { return window; }

private:
    friend class Form;
    bool create();  // the form's window exists

    Form& form;
    int left, top, width, height;
    HWND window = nullptr;
    handles::Font font;
    bool enabled = true;
    std::string text;
    std::vector<std::string> items;
};

}  // namespace forms
