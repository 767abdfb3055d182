// Picture files become textures through the system's OLE picture loader
// (BMP, JPEG and GIF files), decoded from the bytes the renderer read itself
// from a file of the user's own: the loader never opens a file by its name.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "common/dib_win32.h"
#include "common/file_bytes_win32.h"
#include "common/handles_win32.h"
#include "renderer/gl_api.h"
#include "renderer/own_file_win32.h"
#include "renderer/picture_check.h"
#include "renderer/texture_loader.h"
#include "renderer/texture_size.h"

namespace fulmina {

namespace {
constexpr int pathLength = 260;
constexpr LONG himetricPerInch = 2540;
// The glow picture takes 48 KiB: a file many times larger is not read.
constexpr std::uint64_t fileLimit = 4u << 20;
}  // namespace

// Whatever way the load ends, the picture, the DCs and the DIB section go in
// reverse order of acquisition, the DIB deselected first.
bool loadPictureTexture(const char* path, unsigned* textureName) {
    if (path == nullptr || textureName == nullptr) return false;
    WCHAR widePath[pathLength];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, pathLength) == 0) return false;

    const std::optional<std::vector<std::uint8_t>> bytes = readOwnFile(widePath, fileLimit);
    if (!bytes || !isDecodablePicture(bytes->data(), bytes->size())) return false;
    const handles::ComRef<IPicture> picture = pictureFromBytes(*bytes);
    if (!picture) return false;
    handles::WindowDc screen;
    handles::MemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!memory) return false;

    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);
    const int width =
        powerOfTwoSide(MulDiv(himetricWidth, GetDeviceCaps(memory.get(), LOGPIXELSX), himetricPerInch), maxSide);
    const int height =
        powerOfTwoSide(MulDiv(himetricHeight, GetDeviceCaps(memory.get(), LOGPIXELSY), himetricPerInch), maxSide);
    if (width < 1 || height < 1) return false;

    void* bits = nullptr;
    // A positive height: rows bottom-up, as OpenGL wants them.
    handles::Bitmap dib = handles::createDibSection(memory.get(), width, height, 32, &bits);
    if (!dib || bits == nullptr) return false;

    handles::Selection intoDib(memory.get(), dib.get());
    picture->Render(memory.get(), 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight, nullptr);
    GdiFlush();
    bgrxToRgba(static_cast<std::uint8_t*>(bits), static_cast<std::size_t>(width) * height);

    glGenTextures(1, textureName);
    glBindTexture(GL_TEXTURE_2D, *textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, bits);
    return true;
}

}  // namespace fulmina
