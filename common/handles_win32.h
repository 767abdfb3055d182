#pragma once
// Owning wrappers for the Windows handles both programs use, in the manner of
// WTL's managed handle classes: ownership is written in the type, each owner
// releases its handle exactly once, and a selection into a DC gives back what
// it replaced. A raw handle passed around never owns anything.
#include <windows.h>
#include <unknwn.h>

namespace handles {

// A handle that Traits::close releases when its owner goes. Move-only.
template <typename Handle, typename Traits>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }
    // Gives up ownership: the caller releases the handle now.
    Handle release() {
        Handle h = handle;
        handle = nullptr;
        return h;
    }
    void reset(Handle replacement = nullptr) {
        if (handle != nullptr) Traits::close(handle);
        handle = replacement;
    }

private:
    Handle handle = nullptr;
};

struct GdiObjectTraits {
    static void close(HGDIOBJ object) { DeleteObject(object); }
};
struct MemoryDcTraits {
    static void close(HDC dc) { DeleteDC(dc); }
};
struct KernelObjectTraits {
    static void close(HANDLE object) { CloseHandle(object); }
};
struct WindowTraits {
    static void close(HWND window) { DestroyWindow(window); }
};
struct LocalMemoryTraits {
    static void close(HLOCAL memory) { LocalFree(memory); }
};

using Bitmap = Owned<HBITMAP, GdiObjectTraits>;
using Brush = Owned<HBRUSH, GdiObjectTraits>;
using Font = Owned<HFONT, GdiObjectTraits>;
// A DC from CreateCompatibleDC.
using MemoryDc = Owned<HDC, MemoryDcTraits>;
// A process, thread, event or file handle.
using KernelObject = Owned<HANDLE, KernelObjectTraits>;
// A window that its owner's thread created and destroys.
using Window = Owned<HWND, WindowTraits>;
// What the system allocated for the caller with LocalAlloc (a security
// descriptor that GetSecurityInfo returned, for one).
using LocalMemory = Owned<HLOCAL, LocalMemoryTraits>;

// The owner of what CreateFile or ReOpenFile gave back: empty when they
// failed (INVALID_HANDLE_VALUE, which is no handle to close).
inline KernelObject fileHandle(HANDLE file) { return KernelObject(file == INVALID_HANDLE_VALUE ? nullptr : file); }

// The DC of a window, or of the screen for no window, from GetDC; released
// with ReleaseDC when the scope ends.
class WindowDc {
public:
    explicit WindowDc(HWND window = nullptr) : window(window), dc(GetDC(window)) {}
    ~WindowDc() {
        if (dc != nullptr) ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc; }

private:
    HWND window;
    HDC dc;
};

// BeginPaint and EndPaint around a WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window(window), dc(BeginPaint(window, &paint)) {}
    ~PaintDc() { EndPaint(window, &paint); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc; }

private:
    HWND window;
    PAINTSTRUCT paint{};
    HDC dc;
};

// An object selected into a DC for a scope; the object it replaced goes back
// in when the scope ends, so that the DC can be deleted and the object freed.
// Declared after its DC and its object, it ends before both.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object)
        : dc(dc), previous(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous != nullptr && previous != HGDI_ERROR) SelectObject(dc, previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    bool ok() const { return previous != nullptr && previous != HGDI_ERROR; }

private:
    HDC dc;
    HGDIOBJ previous;
};

// A COM interface pointer that releases its reference when it goes.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (pointer != nullptr) pointer->Release();
    }
    ComRef(ComRef&& other) noexcept : pointer(other.pointer) { other.pointer = nullptr; }
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            if (pointer != nullptr) pointer->Release();
            pointer = other.pointer;
            other.pointer = nullptr;
        }
        return *this;
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    Interface* get() const { return pointer; }
    Interface* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }
    // Where a creating call stores the new reference; the old one goes first.
    void** out() {
        if (pointer != nullptr) pointer->Release();
        pointer = nullptr;
        return reinterpret_cast<void**>(&pointer);
    }

private:
    Interface* pointer = nullptr;
};

}  // namespace handles
