// Which picture files the renderer hands to the system's decoder: BMP files
// built field by field, whole and with every kind of header that promises
// more than the file holds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/bmp_file.h"
#include "renderer/picture_check.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put(Bytes& b, std::size_t at, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The fields of a BMP file; bytes() lays it out with room for exactly what
// the fields ask (header, masks, colour table, rows), unless told otherwise.
struct Bmp {
    std::uint32_t headerSize = 40;
    std::int32_t width = 4, height = 3;
    std::uint32_t bits = 24, compression = 0, used = 0, planes = 1, imageSize = 0;
    std::int64_t offsetChange = 0, sizeChange = 0;
    std::int64_t fileSize = -1;  // the file header's count; -1: the file's own size
    std::size_t length = 0;      // the file's size when not 0, whatever the fields ask

    std::size_t tableBytes() const {
        const std::size_t entry = headerSize == 12 ? 3 : 4;
        const std::size_t colours = used != 0 ? used : (bits <= 8 ? std::size_t{1} << bits : 0);
        return (compression == 3 && headerSize == 40 ? 12 : 0) + colours * entry;
    }
    std::size_t pixelBytes() const {
        const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
        return stride * static_cast<std::size_t>(height < 0 ? -height : height);
    }
    Bytes bytes() const {
        const std::size_t offset = 14 + headerSize + tableBytes();
        Bytes b(length != 0 ? length
                            : static_cast<std::size_t>(static_cast<std::int64_t>(offset + pixelBytes()) + sizeChange),
                0x5A);
        b[0] = 'B';
        b[1] = 'M';
        put(b, 2, static_cast<std::uint32_t>(fileSize < 0 ? static_cast<std::int64_t>(b.size()) : fileSize), 4);
        put(b, 10, static_cast<std::uint32_t>(static_cast<std::int64_t>(offset) + offsetChange), 4);
        put(b, 14, headerSize, 4);
        if (headerSize == 12) {
            put(b, 18, static_cast<std::uint32_t>(width), 2);
            put(b, 20, static_cast<std::uint32_t>(height), 2);
            put(b, 22, planes, 2);
            put(b, 24, bits, 2);
            return b;
        }
        put(b, 18, static_cast<std::uint32_t>(width), 4);
        put(b, 22, static_cast<std::uint32_t>(height), 4);
        put(b, 26, planes, 2);
        put(b, 28, bits, 2);
        put(b, 30, compression, 4);
        put(b, 34, imageSize, 4);
        put(b, 46, used, 4);
        return b;
    }
};

Bmp with(void (*change)(Bmp&)) {
    Bmp b;
    change(b);
    return b;
}

TEST(PictureCheck, ABmpIsHandedOnOnlyWhenTheFileHoldsAllItsHeadersPromise_WithinAnyTexturesSize) {
    struct Case {
        const char* what;
        Bmp bmp;
        bool whole;
    };
    const std::vector<Case> cases = {
        {"24 bits", Bmp{}, true},
        {"1 bit, a full table", with([](Bmp& b) { b.bits = 1; }), true},
        {"4 bits", with([](Bmp& b) { b.bits = 4; }), true},
        {"8 bits", with([](Bmp& b) { b.bits = 8; }), true},
        {"8 bits, a table of 2", with([](Bmp& b) { b.bits = 8, b.used = 2; }), true},
        {"16 bits", with([](Bmp& b) { b.bits = 16; }), true},
        {"16 bits with masks", with([](Bmp& b) { b.bits = 16, b.compression = 3; }), true},
        {"32 bits", with([](Bmp& b) { b.bits = 32; }), true},
        {"32 bits with masks", with([](Bmp& b) { b.bits = 32, b.compression = 3; }), true},
        {"32 bits, the longest header", with([](Bmp& b) { b.bits = 32, b.headerSize = 124, b.compression = 3; }),
         true},
        {"rows top-down", with([](Bmp& b) { b.height = -3; }), true},
        {"core header, 8 bits", with([](Bmp& b) { b.headerSize = 12, b.bits = 8; }), true},
        {"core header, 24 bits", with([](Bmp& b) { b.headerSize = 12; }), true},
        {"its count of pixel bytes", with([](Bmp& b) { b.imageSize = 12 * 3; }), true},
        {"bytes after the rows", with([](Bmp& b) { b.sizeChange = 100; }), true},
        {"a file size of 0", with([](Bmp& b) { b.fileSize = 0; }), true},

        {"the last row one byte short", with([](Bmp& b) { b.sizeChange = -1; }), false},
        {"half the rows", with([](Bmp& b) { b.sizeChange = -18; }), false},
        {"a file size larger than the file", with([](Bmp& b) { b.fileSize = 14 + 40 + 36 + 1; }), false},
        {"a header size past the end", with([](Bmp& b) { b.headerSize = 124, b.sizeChange = -100; }), false},
        {"a header size of no header", with([](Bmp& b) { b.headerSize = 41; }), false},
        {"pixels offset past the end", with([](Bmp& b) { b.offsetChange = 10000; }), false},
        {"pixels offset into the header", with([](Bmp& b) { b.offsetChange = -4; }), false},
        {"a table past the end", with([](Bmp& b) { b.bits = 8, b.sizeChange = -1000; }), false},
        {"more colours than 8 bits tell", with([](Bmp& b) { b.bits = 8, b.used = 257; }), false},
        {"a huge table", with([](Bmp& b) { b.used = 0x40000000, b.length = 200; }), false},
        {"a count of pixel bytes past the end", with([](Bmp& b) { b.imageSize = 12 * 3 + 1; }), false},
        {"no width", with([](Bmp& b) { b.width = 0; }), false},
        {"no height", with([](Bmp& b) { b.height = 0; }), false},
        {"a negative width", with([](Bmp& b) { b.width = -4, b.length = 90; }), false},
        {"core header, no height", with([](Bmp& b) { b.headerSize = 12, b.height = 0; }), false},
        {"run-length coded", with([](Bmp& b) { b.bits = 8, b.compression = 1; }), false},
        {"masks at 24 bits", with([](Bmp& b) { b.compression = 3; }), false},
        {"7 bits", with([](Bmp& b) { b.bits = 7; }), false},
        {"two planes", with([](Bmp& b) { b.planes = 2; }), false},
        // Headers in 4 KiB that would need gigabytes, or overflow 32-bit
        // arithmetic (and, for the rows' stride, 64-bit).
        {"sides of 2^31 - 1", with([](Bmp& b) { b.width = b.height = 0x7FFFFFFF, b.bits = 32, b.length = 4096; }),
         false},
        {"65536 x 65536", with([](Bmp& b) { b.width = b.height = 65536, b.length = 4096; }), false},
        {"a height of -2^31", with([](Bmp& b) { b.height = -0x7FFFFFFF - 1, b.length = 4096; }), false},
        {"the most pixels, all there", with([](Bmp& b) { b.width = b.height = 4096, b.bits = 1; }), true},
        {"a row more, all there", with([](Bmp& b) { b.width = 4096, b.height = 4097, b.bits = 1; }), false},
    };
    for (const Case& c : cases) {
        const Bytes b = c.bmp.bytes();
        EXPECT_EQ(fulmina::isWholeBmp(b.data(), b.size()), c.whole) << c.what;
        EXPECT_EQ(fulmina::isDecodablePicture(b.data(), b.size()), c.whole) << c.what;
    }
}

TEST(PictureCheck, TheSaversOwnGlowFileIsWhole_OtherFormatsGoByTheirSignature) {
    const Bytes glow = bmp::file24FromRgb(128, 128, Bytes(128 * 128 * 3, 0x80));
    EXPECT_TRUE(fulmina::isDecodablePicture(glow.data(), glow.size()));
    const Bytes cut(glow.begin(), glow.end() - 1);
    EXPECT_FALSE(fulmina::isDecodablePicture(cut.data(), cut.size()));
    struct Case {
        std::string bytes;
        bool handedOn;
    };
    for (const Case& c : {Case{"\xFF\xD8\xFF\xE0 a JPEG", true}, Case{"GIF89a...", true}, Case{"GIF87a...", true},
                          Case{std::string("\0\0\1\0\1\0 an icon", 14), false},
                          Case{std::string("\1\0\0\0 a metafile", 15), false}, Case{"GIF90a", false},
                          Case{"BM", false}, Case{"", false}}) {
        const Bytes b(c.bytes.begin(), c.bytes.end());
        EXPECT_EQ(fulmina::isDecodablePicture(b.data(), b.size()), c.handedOn) << c.bytes;
    }
}

}  // namespace
