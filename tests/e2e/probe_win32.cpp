// A small Windows helper that the end-to-end tests drive from outside: it
// looks at and talks to the renderer's window the way Windows would.
//   probe find                      the renderer's window (class and title): class, rectangle, style,
//                                   its program's DPI awareness (0 unaware, 1 system, 2 per monitor)
//   probe count                     how many renderer windows there are
//   probe wait-window MS            wait for it to exist (exit 1 on timeout)
//   probe wait-gone MS              wait for it to be gone (exit 1 on timeout)
//   probe syscommand WPARAM         send WM_SYSCOMMAND and print the answer
//   probe post close|switch         post WM_CLOSE or the display-switch message
//   probe mode                      the current display mode: width height bits
//   probe manifest PATH             the program's application manifest as stored (type 24, number 1)
//   probe acp                       the ANSI code page
//   probe monitors                  one line per monitor: left top right bottom primary (1 or 0)
//   probe dark                      the renderer's dark windows, one line each: left top right bottom
//                                   visible topmost noactivate (1 or 0)
//   probe displaychange             broadcast WM_DISPLAYCHANGE with the current mode, as Windows does
//                                   when a monitor comes or goes (Wine does not, for changes made
//                                   outside it)
//   probe titled TEXT               how many top-level windows are captioned TEXT
//   probe window X Y W H MS [RGB]   hold a white window (a desktop's window), or one of colour RRGGBB,
//                                   there for MS
//   probe caption-window TEXT MS    hold a top-level window captioned TEXT for MS
//   probe foreground MS             hold a window captioned "Foreground" that asks for the
//                                   foreground once shown, as a program wanting the keyboard does
//   probe pane MS                   hold a 152 x 112 window at 100,100 as a preview pane for MS,
//                                   printing its handle in decimal; then destroy it
//   probe child HANDLE              the first child window of HANDLE: caption (blanks as _), size, styles
//   probe describe PATH             the program's description (string 1) and its version
//                                   resource's FileDescription, one line each
//   probe messagebox MS             wait for a message box; print its caption and text
//                                   (UTF-8, one line each), then press its OK button
//   probe hold-file PATH MS         hold the file open for writing (others may read and write it) for MS
//   probe trample PATH PICTURE MS   another account's program at PATH for MS: puts PICTURE's bytes
//                                   there, then over and over writes them into the file and renames
//                                   a copy of it over the file; prints how many of each succeeded:
//                                   writes OK/TRIED swaps OK/TRIED
//   probe client TEXT               the client area of the top-level window captioned TEXT, in
//                                   screen pixels: left top width height, and 1 when it is
//                                   shown and takes input
// Started under the name recorder.exe it stands in for the web browser: it
// writes its command line to C:\browser.txt.
// Started under the name Program.exe it only leaves C:\decoy_ran behind: it
// stands where an unquoted command line with blanks would start a program.
// Started under the name Fulmina.dll it is a slow renderer: no window for
// 1.5 s, a window "Fulmina_VC" for 2 s, none for 1.5 s (as in a display
// switch, only longer), the window again for 2 s, then it ends.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "common/file_bytes_win32.h"
#include "common/handles_win32.h"
#include "common/saver_contract.h"

namespace {

// The renderer's own window: another program's of the same title is not it.
HWND rendererWindow() { return FindWindowA(fulmina::contract::windowClass, fulmina::contract::windowTitle); }

bool waitFor(bool present, DWORD millis) {
    const DWORD start = GetTickCount();
    do {
        if ((rendererWindow() != nullptr) == present) return true;
        Sleep(10);
    } while (GetTickCount() - start < millis);
    return false;
}

int dpiAwareness(HWND w);

int find() {
    HWND w = rendererWindow();
    if (w == nullptr) {
        std::puts("none");
        return 1;
    }
    char className[64] = {};
    GetClassNameA(w, className, sizeof(className));
    RECT r;
    GetWindowRect(w, &r);
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(w, GWL_EXSTYLE);
    std::printf(
        "class=%s left=%ld top=%ld right=%ld bottom=%ld popup=%d topmost=%d visible=%d foreground=%d awareness=%d\n",
        className, r.left, r.top, r.right, r.bottom, (style & WS_POPUP) != 0, (exStyle & WS_EX_TOPMOST) != 0,
        IsWindowVisible(w) != 0, GetForegroundWindow() == w, dpiAwareness(w));
    return 0;
}

std::string utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

// An argument as the program received it, in the ANSI code page.
std::wstring wideArgument(const char* text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
    return out;
}

// How the window's program is DPI aware (0 unaware, 1 system, 2 per monitor),
// or -1 where the system cannot tell.
int dpiAwareness(HWND w) {
    using ContextOf = HANDLE(WINAPI*)(HWND);
    using AwarenessOf = int(WINAPI*)(HANDLE);
    const HMODULE user = GetModuleHandleA("user32.dll");
    const auto contextOf = reinterpret_cast<ContextOf>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetWindowDpiAwarenessContext")));
    const auto awarenessOf = reinterpret_cast<AwarenessOf>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    if (contextOf == nullptr || awarenessOf == nullptr) return -1;
    return awarenessOf(contextOf(w));
}

// A program's application manifest (resource type 24, number 1), as it is stored.
int printManifest(const char* path) {
    const HMODULE image =
        LoadLibraryExW(wideArgument(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (image == nullptr) return 1;
    int result = 1;
    if (const HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const HGLOBAL loaded = LoadResource(image, found);
        const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
        if (bytes != nullptr) {
            std::fwrite(bytes, 1, SizeofResource(image, found), stdout);
            result = 0;
        }
    }
    FreeLibrary(image);
    return result;
}

BOOL CALLBACK countRenderer(HWND window, LPARAM count) {
    char className[64] = {}, title[64] = {};
    GetClassNameA(window, className, sizeof(className));
    GetWindowTextA(window, title, sizeof(title));
    if (std::strcmp(className, fulmina::contract::windowClass) == 0 &&
        std::strcmp(title, fulmina::contract::windowTitle) == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Keeps a window with this caption and style for a while, pumping messages.
int holdWindow(const std::wstring& caption, DWORD style, int x, int y, int w, int h, DWORD millis, bool print,
               bool takeForeground = false, COLORREF colour = RGB(255, 255, 255)) {
    const handles::Brush background(CreateSolidBrush(colour));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = background.get();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = L"ProbeWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, L"ProbeWindow", caption.c_str(), style | WS_VISIBLE | WS_CLIPCHILDREN, x, y, w,
                                  h, nullptr, nullptr, wc.hInstance, nullptr);
    if (window == nullptr) return 1;
    if (takeForeground) SetForegroundWindow(window);
    if (print) {
        std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
        std::fflush(stdout);
    }
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < millis) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
    DestroyWindow(window);
    return 0;
}

BOOL CALLBACK collectText(HWND child, LPARAM param) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Static") == 0) {
        wchar_t text[512] = {};
        GetWindowTextW(child, text, 512);
        if (text[0] != 0) *reinterpret_cast<std::wstring*>(param) += text;
    }
    return TRUE;
}

int messageBox(DWORD millis) {
    const DWORD start = GetTickCount();
    HWND box = nullptr;
    while ((box = FindWindowW(L"#32770", nullptr)) == nullptr && GetTickCount() - start < millis) Sleep(20);
    if (box == nullptr) return 1;
    Sleep(200);  // let it finish opening
    wchar_t caption[256] = {};
    GetWindowTextW(box, caption, 256);
    std::wstring text;
    EnumChildWindows(box, collectText, reinterpret_cast<LPARAM>(&text));
    std::printf("%s\n%s\n", utf8(caption).c_str(), utf8(text.c_str()).c_str());
    std::fflush(stdout);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}

// Listens for the system's setting-change broadcasts for a while: prints
// "ready" once listening, then one line per WM_SETTINGCHANGE (its action).
LRESULT CALLBACK settingListener(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE) {
        std::printf("setting-change %u\n", static_cast<unsigned>(wParam));
        std::fflush(stdout);
    }
    return DefWindowProcW(w, message, wParam, lParam);
}

int settingChanges(DWORD millis) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = settingListener;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ProbeListener";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, L"ProbeListener", L"listener", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    if (window == nullptr) return 1;
    std::puts("ready");
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < millis) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    DestroyWindow(window);
    return 0;
}

bool startedAs(const char* fileName) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const char* name = std::strrchr(self, '\\');
    return name != nullptr && lstrcmpiA(name + 1, fileName) == 0;
}

BOOL CALLBACK printMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right, r.bottom, (info.dwFlags & MONITORINFOF_PRIMARY) != 0);
    return TRUE;
}

struct TitleCount {
    std::wstring title;
    int count = 0;
};

BOOL CALLBACK countTitled(HWND window, LPARAM param) {
    auto* c = reinterpret_cast<TitleCount*>(param);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (c->title == text) ++c->count;
    return TRUE;
}

BOOL CALLBACK printDark(HWND window, LPARAM) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (std::strcmp(className, fulmina::contract::darkWindowClass) != 0) return TRUE;
    RECT r;
    GetWindowRect(window, &r);
    const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    std::printf("%ld %ld %ld %ld %d %d %d\n", r.left, r.top, r.right, r.bottom, IsWindowVisible(window) != 0,
                (exStyle & WS_EX_TOPMOST) != 0, (exStyle & WS_EX_NOACTIVATE) != 0);
    return TRUE;
}

std::string fileBytes(const std::wstring& path) {
    const handles::KernelObject f = handles::fileHandle(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    const std::optional<std::vector<std::uint8_t>> bytes =
        f ? fulmina::readWholeFile(f.get(), 64u << 20).bytes : std::nullopt;
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

bool putBytes(const std::wstring& path, DWORD disposition, const std::string& bytes) {
    const handles::KernelObject f = handles::fileHandle(CreateFileW(
        path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition, 0, nullptr));
    return f && fulmina::writeWholeFile(f.get(), bytes.data(), bytes.size()) && SetEndOfFile(f.get());
}

int trample(const std::wstring& path, const std::string& picture, DWORD millis) {
    if (picture.empty()) return 1;
    const std::wstring copy = path + L".swap";
    int writes = 0, wrote = 0, swaps = 0, swapped = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < millis) {
        ++writes;
        wrote += putBytes(path, OPEN_ALWAYS, picture) ? 1 : 0;
        ++swaps;
        swapped += putBytes(copy, CREATE_ALWAYS, picture) &&
                           MoveFileExW(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)
                       ? 1
                       : 0;
    }
    std::printf("writes %d/%d swaps %d/%d\n", wrote, writes, swapped, swaps);
    return 0;
}

int slowRenderer() {
    Sleep(1500);
    holdWindow(L"Fulmina_VC", WS_POPUP, 0, 0, 64, 64, 2000, false);
    Sleep(1500);
    holdWindow(L"Fulmina_VC", WS_POPUP, 0, 0, 64, 64, 2000, false);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (startedAs("Fulmina.dll")) return slowRenderer();
    if (startedAs("recorder.exe")) {
        HANDLE f = CreateFileA("C:\\browser.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return 1;
        const char* line = GetCommandLineA();
        DWORD written = 0;
        WriteFile(f, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
        CloseHandle(f);
        return 0;
    }
    if (startedAs("Program.exe")) {
        HANDLE f = CreateFileA("C:\\decoy_ran", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
        return 0;
    }
    if (argc < 2) return 2;
    const char* cmd = argv[1];
    const DWORD millis = argc > 2 ? static_cast<DWORD>(std::atol(argv[2])) : 0;
    if (std::strcmp(cmd, "find") == 0) return find();
    if (std::strcmp(cmd, "count") == 0) {
        int count = 0;
        EnumWindows(countRenderer, reinterpret_cast<LPARAM>(&count));
        std::printf("%d\n", count);
        return 0;
    }
    if (std::strcmp(cmd, "wait-window") == 0) return waitFor(true, millis) ? find() : 1;
    if (std::strcmp(cmd, "wait-gone") == 0) return waitFor(false, millis) ? 0 : 1;
    if (std::strcmp(cmd, "syscommand") == 0 && argc > 2) {
        HWND w = rendererWindow();
        if (w == nullptr) return 1;
        const WPARAM wParam = static_cast<WPARAM>(std::strtoul(argv[2], nullptr, 0));
        std::printf("%ld\n", static_cast<long>(SendMessageA(w, WM_SYSCOMMAND, wParam, 0)));
        return 0;
    }
    if (std::strcmp(cmd, "post") == 0 && argc > 2) {
        HWND w = rendererWindow();
        if (w == nullptr) return 1;
        const UINT message = std::strcmp(argv[2], "close") == 0 ? WM_CLOSE : WM_USER + 1;
        return PostMessageA(w, message, 0, 0) ? 0 : 1;
    }
    if (std::strcmp(cmd, "manifest") == 0 && argc > 2) return printManifest(argv[2]);
    if (std::strcmp(cmd, "mode") == 0) {
        DEVMODEA mode{};
        mode.dmSize = sizeof(mode);
        if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 1;
        std::printf("%lu %lu %lu\n", mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
        return 0;
    }
    if (std::strcmp(cmd, "caption-window") == 0 && argc > 3)
        return holdWindow(wideArgument(argv[2]), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                          static_cast<DWORD>(std::atol(argv[3])), false);
    if (std::strcmp(cmd, "foreground") == 0)
        return holdWindow(L"Foreground", WS_OVERLAPPEDWINDOW, 50, 50, 300, 200, millis, false, true);
    if (std::strcmp(cmd, "pane") == 0) return holdWindow(L"Pane", WS_POPUP, 100, 100, 152, 112, millis, true);
    if (std::strcmp(cmd, "messagebox") == 0) return messageBox(millis);
    if (std::strcmp(cmd, "describe") == 0 && argc > 2) {
        // As the display control panel reads a saver's name.
        const std::wstring path = wideArgument(argv[2]);
        HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (module == nullptr) return 1;
        wchar_t description[256] = {};
        LoadStringW(module, 1, description, 256);
        FreeLibrary(module);
        std::string fileDescription;
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        std::string block(size, '\0');
        void* value = nullptr;
        UINT length = 0;
        if (size > 0 && GetFileVersionInfoW(path.c_str(), 0, size, block.data()) &&
            VerQueryValueW(block.data(), L"\\StringFileInfo\\041104B0\\FileDescription", &value, &length))
            fileDescription = utf8(static_cast<const wchar_t*>(value));
        std::printf("%s\n%s\n", utf8(description).c_str(), fileDescription.c_str());
        return 0;
    }
    if (std::strcmp(cmd, "child") == 0 && argc > 2) {
        HWND parent = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoull(argv[2], nullptr, 10)));
        HWND child = GetWindow(parent, GW_CHILD);
        if (child == nullptr) return 1;
        wchar_t caption[128] = {};
        GetWindowTextW(child, caption, 128);
        RECT r;
        GetWindowRect(child, &r);
        RECT p;
        GetWindowRect(parent, &p);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        std::string text = utf8(caption);
        for (char& c : text)
            if (c == ' ') c = '_';  // one word for the reader
        std::printf("caption=%s left=%ld top=%ld width=%ld height=%ld child=%d popup=%d visible=%d\n",
                    text.c_str(), r.left - p.left, r.top - p.top, r.right - r.left, r.bottom - r.top,
                    (style & WS_CHILD) != 0, (style & WS_POPUP) != 0, IsWindowVisible(child) != 0);
        return 0;
    }
    if (std::strcmp(cmd, "client") == 0 && argc > 2) {
        HWND w = FindWindowW(nullptr, wideArgument(argv[2]).c_str());
        if (w == nullptr) return 1;
        RECT r;
        GetClientRect(w, &r);
        POINT origin{0, 0};
        ClientToScreen(w, &origin);
        std::printf("%ld %ld %ld %ld %d\n", origin.x, origin.y, r.right, r.bottom,
                    IsWindowVisible(w) && IsWindowEnabled(w) ? 1 : 0);
        return 0;
    }
    if (std::strcmp(cmd, "setting-changes") == 0) return settingChanges(millis);
    if (std::strcmp(cmd, "hold-file") == 0 && argc > 3) {
        HANDLE f = CreateFileW(wideArgument(argv[2]).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return 1;
        Sleep(static_cast<DWORD>(std::atol(argv[3])));
        CloseHandle(f);
        return 0;
    }
    if (std::strcmp(cmd, "trample") == 0 && argc > 4)
        return trample(wideArgument(argv[2]), fileBytes(wideArgument(argv[3])), static_cast<DWORD>(std::atol(argv[4])));
    if (std::strcmp(cmd, "monitors") == 0) return EnumDisplayMonitors(nullptr, nullptr, printMonitor, 0) ? 0 : 1;
    if (std::strcmp(cmd, "displaychange") == 0) {
        DEVMODEA mode{};
        mode.dmSize = sizeof(mode);
        if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 1;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(HWND_BROADCAST, WM_DISPLAYCHANGE, mode.dmBitsPerPel,
                            MAKELPARAM(mode.dmPelsWidth, mode.dmPelsHeight), SMTO_ABORTIFHUNG, 2000, &ignored);
        return 0;
    }
    if (std::strcmp(cmd, "dark") == 0) return EnumWindows(printDark, 0) ? 0 : 1;
    if (std::strcmp(cmd, "titled") == 0 && argc > 2) {
        TitleCount c{wideArgument(argv[2])};
        EnumWindows(countTitled, reinterpret_cast<LPARAM>(&c));
        std::printf("%d\n", c.count);
        return 0;
    }
    if (std::strcmp(cmd, "window") == 0 && argc > 6) {  // [RRGGBB]: its colour, white by default
        const unsigned long rgb = argc > 7 ? std::strtoul(argv[7], nullptr, 16) : 0xFFFFFFul;
        return holdWindow(L"Desktop", WS_POPUP, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                          std::atoi(argv[5]), static_cast<DWORD>(std::atol(argv[6])), false, false,
                          RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
    if (std::strcmp(cmd, "acp") == 0) {
        std::printf("%u\n", GetACP());
        return 0;
    }
    return 2;
}
