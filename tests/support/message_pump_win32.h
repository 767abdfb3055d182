#pragma once
// A test's own message loop: for a while, or until something has happened.
#include <windows.h>

#include <functional>

namespace testing_support {

inline void pump(DWORD millis) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(2);
    } while (GetTickCount() - start < millis);
}

inline bool pumpUntil(const std::function<bool()>& done, DWORD millis = 5000) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < millis) pump(10);
    return done();
}

}  // namespace testing_support
