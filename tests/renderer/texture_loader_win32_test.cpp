// The texture loader under Windows: real files decoded by the system's
// picture loader, uploaded to a real OpenGL context; files that are not the
// user's own, or not whole, refused.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/handles_win32.h"
#include "renderer/gl_api.h"
#include "renderer/texture_loader.h"
#include "tests/renderer/support/gl_window_win32.h"

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

// A picture whose top half is one colour and bottom half another.
std::vector<Rgb> twoHalves(int w, int h, Rgb top, Rgb bottom) {
    std::vector<Rgb> px(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[static_cast<size_t>(y) * w + x] = y < h / 2 ? top : bottom;
    return px;
}

std::string tempPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

// An uncompressed 24-bit BMP file, rows bottom-up as the format stores them.
void writeBmp(const std::string& path, int w, int h, const std::vector<Rgb>& px) {
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride) * h;
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(&file, sizeof(file), 1, f);
    std::fwrite(&info, sizeof(info), 1, f);
    std::vector<std::uint8_t> row(stride, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgb& c = px[static_cast<size_t>(y) * w + x];
            row[x * 3 + 0] = c.b;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.r;
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    std::fclose(f);
}

// A GIF89a file of a picture with at most four colours. Its LZW data never
// lets the code width grow: a clear code follows every two pixels.
void writeGif(const std::string& path, int w, int h, const std::vector<Rgb>& px) {
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> indices;
    for (const Rgb& c : px) {
        size_t i = 0;
        while (i < palette.size() && !(palette[i].r == c.r && palette[i].g == c.g && palette[i].b == c.b)) ++i;
        if (i == palette.size()) palette.push_back(c);
        indices.push_back(static_cast<std::uint8_t>(i));
    }
    ASSERT_LE(palette.size(), 4u);
    palette.resize(4, Rgb{0, 0, 0});
    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto word = [&](int v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    word(w);
    word(h);
    out.insert(out.end(), {0x81, 0, 0});  // global table of 4 colours
    for (const Rgb& c : palette) out.insert(out.end(), {c.r, c.g, c.b});
    out.push_back(0x2C);
    word(0);
    word(0);
    word(w);
    word(h);
    out.push_back(0);
    out.push_back(2);  // minimum code size: clear is 4, end is 5, codes are 3 bits
    std::vector<std::uint8_t> lzw;
    std::uint32_t bits = 0;
    int count = 0;
    auto code = [&](int c) {
        bits |= static_cast<std::uint32_t>(c) << count;
        count += 3;
        while (count >= 8) {
            lzw.push_back(static_cast<std::uint8_t>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i % 2 == 0) code(4);
        code(indices[i]);
    }
    code(5);
    if (count > 0) lzw.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    for (size_t i = 0; i < lzw.size(); i += 255) {
        const size_t n = std::min<size_t>(255, lzw.size() - i);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), lzw.begin() + static_cast<long>(i), lzw.begin() + static_cast<long>(i + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(out.data(), 1, out.size(), f);
    std::fclose(f);
}

// JPEG files through the system's image encoder.
class ImageWriter {
public:
    ImageWriter() {
        Gdiplus::GdiplusStartupInput input;
        ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~ImageWriter() {
        if (ok_) Gdiplus::GdiplusShutdown(token_);
    }
    bool write(const std::string& path, const wchar_t* mimeType, int w, int h, const std::vector<Rgb>& px) {
        CLSID encoder;
        if (!ok_ || !findEncoder(mimeType, &encoder)) return false;
        const int stride = (w * 3 + 3) & ~3;
        std::vector<std::uint8_t> bgr(static_cast<size_t>(stride) * h, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const Rgb& c = px[static_cast<size_t>(y) * w + x];
                std::uint8_t* d = &bgr[static_cast<size_t>(y) * stride + x * 3];
                d[0] = c.b;
                d[1] = c.g;
                d[2] = c.r;
            }
        Gdiplus::GpBitmap* bitmap = nullptr;
        if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(w, h, stride, PixelFormat24bppRGB, bgr.data(),
                                                           &bitmap) != Gdiplus::Ok)
            return false;
        const std::wstring widePath(path.begin(), path.end());
        const bool saved =
            Gdiplus::DllExports::GdipSaveImageToFile(bitmap, widePath.c_str(), &encoder, nullptr) == Gdiplus::Ok;
        Gdiplus::DllExports::GdipDisposeImage(bitmap);
        return saved;
    }

private:
    static bool findEncoder(const wchar_t* mimeType, CLSID* clsid) {
        UINT count = 0, size = 0;
        Gdiplus::GetImageEncodersSize(&count, &size);
        if (size == 0) return false;
        std::vector<std::uint8_t> buffer(size);
        auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
        Gdiplus::GetImageEncoders(count, size, codecs);
        for (UINT i = 0; i < count; ++i)
            if (wcscmp(codecs[i].MimeType, mimeType) == 0) {
                *clsid = codecs[i].Clsid;
                return true;
            }
        return false;
    }
    ULONG_PTR token_ = 0;
    bool ok_ = false;
};

struct Texture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;  // row 0 is t = 0
    const std::uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

Texture boundTexture() {
    Texture t;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &t.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &t.height);
    t.rgba.resize(static_cast<size_t>(t.width) * t.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.rgba.data());
    return t;
}

void expectColour(const std::uint8_t* px, Rgb c, int tolerance, const char* where) {
    EXPECT_NEAR(px[0], c.r, tolerance) << where;
    EXPECT_NEAR(px[1], c.g, tolerance) << where;
    EXPECT_NEAR(px[2], c.b, tolerance) << where;
}

const Rgb red{230, 20, 10};
const Rgb blue{10, 30, 240};

class TextureLoader : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ASSERT_TRUE(gl.ok()) << "no OpenGL context";
    }
    void TearDown() override {
        for (const auto& p : written) DeleteFileA(p.c_str());
        CoUninitialize();
    }
    std::string file(const char* name) {
        written.push_back(tempPath(name));
        return written.back();
    }

    // Loads a file and checks the result: power-of-two size, bottom row first, RGB.
    void loadsUpright(const std::string& path, int w, int h, int tolerance) {
        unsigned name = 0;
        ASSERT_TRUE(fulmina::loadPictureTexture(path.c_str(), &name)) << path;
        EXPECT_NE(name, 0u);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<unsigned>(bound), name) << "the new texture stays bound";
        const Texture t = boundTexture();
        EXPECT_EQ(t.width, w);
        EXPECT_EQ(t.height, h);
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        EXPECT_EQ(filter, GL_LINEAR);
        expectColour(t.at(t.width / 2, t.height / 8), blue, tolerance, "bottom of the picture at t near 0");
        expectColour(t.at(t.width / 2, t.height * 7 / 8), red, tolerance, "top of the picture at t near 1");
    }

    testgl::HiddenGlWindow gl;
    ImageWriter images;
    std::vector<std::string> written;
};

TEST_F(TextureLoader, LoadsABitmapUprightAtItsOwnPowerOfTwoSize) {
    const std::string path = file("fulmina_test_128.bmp");
    writeBmp(path, 128, 128, twoHalves(128, 128, red, blue));
    loadsUpright(path, 128, 128, 2);
}

TEST_F(TextureLoader, LoadsAJpegAndAGifThroughThePictureLoader) {
    const std::string jpeg = file("fulmina_test.jpg");
    const std::string gif = file("fulmina_test.gif");
    ASSERT_TRUE(images.write(jpeg, L"image/jpeg", 128, 64, twoHalves(128, 64, red, blue)));
    writeGif(gif, 128, 64, twoHalves(128, 64, red, blue));
    loadsUpright(jpeg, 128, 64, 40);
    loadsUpright(gif, 128, 64, 2);
}

TEST_F(TextureLoader, SidesRoundToTheNearestPowerOfTwoEachOnItsOwn) {
    const std::string path = file("fulmina_test_724x725.bmp");
    writeBmp(path, 724, 725, twoHalves(724, 725, red, blue));
    loadsUpright(path, 512, 1024, 2);
}

TEST_F(TextureLoader, ASideAboveTheLargestTextureSizeIsScaledDownToIt) {
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    ASSERT_GT(max, 0);
    const std::string path = file("fulmina_test_wide.bmp");
    writeBmp(path, max + 1, 8, twoHalves(max + 1, 8, red, blue));
    unsigned name = 0;
    ASSERT_TRUE(fulmina::loadPictureTexture(path.c_str(), &name));
    const Texture t = boundTexture();
    EXPECT_EQ(t.width, max);
    EXPECT_EQ(t.height, 8);
}

TEST_F(TextureLoader, AMissingOrUnreadableFileLeavesTheNameUntouched) {
    unsigned name = 4242;
    EXPECT_FALSE(fulmina::loadPictureTexture("C:\\no\\such\\folder\\Fulmina.bmp", &name));
    EXPECT_EQ(name, 4242u);
    const std::string garbage = file("fulmina_test_garbage.bmp");
    FILE* f = std::fopen(garbage.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("this is not a picture at all", f);
    std::fclose(f);
    EXPECT_FALSE(fulmina::loadPictureTexture(garbage.c_str(), &name));
    EXPECT_EQ(name, 4242u);
}

// The file cut to its first size bytes.
void cutTo(const std::string& path, std::size_t size) {
    const handles::KernelObject file =
        handles::fileHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    ASSERT_TRUE(file && SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()));
}

// A picture whose headers promise more rows than the file holds: the
// system's decoder would take the rest from the memory after the bytes.
TEST_F(TextureLoader, ABitmapCutShortGivesNoTexture) {
    const std::string cut = file("fulmina_test_cut.bmp");
    const std::size_t whole = 54 + 128 * 128 * 3;
    for (const std::size_t keep : {whole - 1, whole / 2, std::size_t{60}}) {
        writeBmp(cut, 128, 128, twoHalves(128, 128, red, blue));
        cutTo(cut, keep);
        unsigned name = 4242;
        EXPECT_FALSE(fulmina::loadPictureTexture(cut.c_str(), &name)) << keep << " bytes";
        EXPECT_EQ(name, 4242u);
    }
}

// A good picture in a file that is not the user's alone: being written by
// another program, or one of two names of a file. (Files of another account,
// or that anyone may write, are planted from outside Windows by the
// end-to-end tests: Wine makes every file it creates the user's, writable by
// the user alone.)
TEST_F(TextureLoader, AFileBeingWrittenOrWithAHardLinkIsNotRead) {
    const std::string path = file("fulmina_test_refused.bmp");
    const std::string link = file("fulmina_test_link.bmp");
    writeBmp(path, 64, 64, twoHalves(64, 64, red, blue));
    unsigned name = 4242;

    // Another program has it open for writing (sharing everything).
    {
        const handles::KernelObject writer = handles::fileHandle(
            CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        EXPECT_FALSE(fulmina::loadPictureTexture(path.c_str(), &name)) << "a file being written";
    }
    ASSERT_TRUE(fulmina::loadPictureTexture(path.c_str(), &name)) << "the same file, no one writing";

    // Another name of it.
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), path.c_str(), nullptr));
    unsigned linked = 4242;
    EXPECT_FALSE(fulmina::loadPictureTexture(path.c_str(), &linked)) << "a file with a hard link";
    EXPECT_FALSE(fulmina::loadPictureTexture(link.c_str(), &linked)) << "the hard link";
    EXPECT_EQ(linked, 4242u);
}

}  // namespace
