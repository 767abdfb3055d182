#include "forms/container_win32.h"

#include <algorithm>

namespace forms {

ChildWindow::ChildWindow(Container& container) : owner(container) { owner.children.push_back(this); }

ChildWindow::~ChildWindow() {
    auto& list = owner.children;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (window != nullptr && IsWindow(window)) DestroyWindow(window);
}

bool ChildWindow::create() {
    if (window != nullptr) return true;
    if (owner.hwnd() == nullptr) return false;
    window = createWindow(owner.hwnd());
    if (window == nullptr) return false;
    windowCreated();
    return true;
}

void ChildWindow::windowGone() {
    if (window == nullptr) return;
    window = nullptr;
    windowDestroyed();
}

void Container::createChildren() {
    for (ChildWindow* child : std::vector<ChildWindow*>(children)) child->create();
}

void Container::childrenGone() {
    for (ChildWindow* child : std::vector<ChildWindow*>(children)) child->windowGone();
    mouse.cancel();
}

}  // namespace forms
