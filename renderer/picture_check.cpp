#include "renderer/picture_check.h"

#include <cstring>

namespace fulmina {

namespace {

constexpr std::uint64_t fileHeaderSize = 14;
constexpr std::uint32_t coreHeaderSize = 12;
constexpr std::uint32_t rgb = 0, bitFields = 3;  // the compressions read

std::uint32_t u16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | p[1] << 8); }
std::uint32_t u32(const std::uint8_t* p) { return u16(p) | u16(p + 2) << 16; }
std::int64_t s32(const std::uint8_t* p) {
    const std::uint32_t v = u32(p);
    return v < 0x80000000u ? std::int64_t{v} : std::int64_t{v} - 0x100000000;
}

// What the headers say the pixels and the table before them take.
struct Layout {
    std::uint64_t width = 0, height = 0;
    std::uint32_t bits = 0, planes = 0;
    std::uint64_t tableBytes = 0;  // bit-field masks and colour table after the header
    std::uint64_t imageSize = 0;   // the header's own count of the pixel bytes, 0 for none
};

bool readCore(const std::uint8_t* info, Layout& l) {
    l.width = u16(info + 4);
    l.height = u16(info + 6);
    l.planes = u16(info + 8);
    l.bits = u16(info + 10);
    if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 24) return false;
    l.tableBytes = l.bits <= 8 ? (std::uint64_t{1} << l.bits) * 3 : 0;
    return true;
}

bool readInfo(const std::uint8_t* info, std::uint32_t headerSize, Layout& l) {
    const std::int64_t width = s32(info + 4), height = s32(info + 8);
    if (width <= 0 || height == 0) return false;
    l.width = static_cast<std::uint64_t>(width);
    l.height = static_cast<std::uint64_t>(height < 0 ? -height : height);  // negative: rows top-down
    l.planes = u16(info + 12);
    l.bits = u16(info + 14);
    const std::uint32_t compression = u32(info + 16), used = u32(info + 32);
    l.imageSize = u32(info + 20);
    if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 && l.bits != 32) return false;
    if (compression == bitFields) {
        if (l.bits != 16 && l.bits != 32) return false;
        if (headerSize == 40) l.tableBytes = 3 * 4;  // the masks follow; longer headers hold them
    } else if (compression != rgb) {
        return false;
    }
    // A table of more colours than the bits can tell, or a long one beside
    // direct colours, promises what no picture needs.
    const std::uint64_t most = l.bits <= 8 ? std::uint64_t{1} << l.bits : 256;
    if (used > most) return false;
    l.tableBytes += (used != 0 ? used : (l.bits <= 8 ? most : 0)) * 4;
    return true;
}

}  // namespace

bool isWholeBmp(const std::uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr || size < fileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const std::uint64_t fileSize = u32(bytes + 2), pixelOffset = u32(bytes + 10);
    const std::uint32_t headerSize = u32(bytes + 14);
    if (fileSize > size || headerSize > size - fileHeaderSize) return false;
    Layout l;
    const std::uint8_t* info = bytes + fileHeaderSize;
    const bool known = headerSize == coreHeaderSize
                           ? readCore(info, l)
                           : (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
                              headerSize == 124) &&
                                 readInfo(info, headerSize, l);
    if (!known || l.planes != 1 || l.width == 0 || l.height == 0) return false;
    // Each side is below 2^32, so the product cannot overflow.
    if (l.width * l.height > maxBmpPixels) return false;
    const std::uint64_t tableEnd = fileHeaderSize + headerSize + l.tableBytes;
    // The pixels start after the table: a decoder that ignores the offset and
    // takes them from the table's end reads no further than one that heeds it.
    if (pixelOffset < tableEnd || pixelOffset > size) return false;
    const std::uint64_t stride = (l.width * l.bits + 31) / 32 * 4;
    const std::uint64_t room = size - pixelOffset;
    return stride * l.height <= room && l.imageSize <= room;
}

bool isDecodablePicture(const std::uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr) return false;
    if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return isWholeBmp(bytes, size);
    const bool jpeg = size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
    const bool gif = size >= 6 && (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0);
    return jpeg || gif;
}

}  // namespace fulmina
