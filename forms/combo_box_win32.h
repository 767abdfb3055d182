#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/handles_win32.h"
#include "forms/container_win32.h"

namespace forms {

// A combo box with an edit field and a drop-down list: a system control,
// a child window of its form, in the form's font. What it holds outlives
// its window: a form loaded again shows the same text, list and state.
class ComboBox : public ChildWindow {
public:
    ComboBox(Container& container, int left, int top, int width, int height);

    // The text in the edit field (UTF-8).
    std::string Text() const;
    void setText(const std::string& text);
    void AddItem(const std::string& item);
    int ListCount() const;
    std::string List(int index) const;
    bool Enabled() const { return enabled; }
    void setEnabled(bool on);

private:
    HWND createWindow(HWND parent) override;
    void windowCreated() override;

    int left, top, width, height;
    handles::Font font;
    bool enabled = true;
    std::string text;
    std::vector<std::string> items;
};

}  // namespace forms
