#include "renderer/display_pace_win32.h"

#include "renderer/extension_list.h"
#include "renderer/gl_api.h"

namespace fulmina {

namespace {
constexpr const char* swapControl = "WGL_EXT_swap_control";

template <typename Function>
Function wglFunction(const char* name) {
    // Through the generic function type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

// The extension is named in the WGL list or, by older drivers, in OpenGL's.
bool hasSwapControl() {
    using ExtensionsString = const char*(WINAPI*)();
    const auto wglExtensions = wglFunction<ExtensionsString>("wglGetExtensionsStringEXT");
    if (wglExtensions != nullptr && extensionListed(wglExtensions(), swapControl)) return true;
    return extensionListed(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), swapControl);
}
}  // namespace

void startPacing(FramePacer& pacer, HDC dc) {
    const int refreshHz = GetDeviceCaps(dc, VREFRESH);
    if (hasSwapControl()) {
        using SwapInterval = BOOL(WINAPI*)(int);
        const auto setInterval = wglFunction<SwapInterval>("wglSwapIntervalEXT");
        if (setInterval != nullptr) setInterval(swapIntervalFor(refreshHz));
    }
    pacer.start(refreshHz);
}

}  // namespace fulmina
