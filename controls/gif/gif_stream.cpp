#include "controls/gif/gif_stream.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace fulmina::gif {

namespace {

// A cursor over the byte buffer. A read past the end fails (the scan's
// end-of-data error) and leaves the cursor where it was.
class ByteReader {
public:
    ByteReader(const std::uint8_t* bytes, std::size_t size) : bytes(bytes), size(size) {}

    std::size_t cursor = 0;

    bool byte(std::uint8_t& out) {
        if (cursor >= size) return false;
        out = bytes[cursor++];
        return true;
    }
    bool word(std::uint16_t& out) {
        if (size - std::min(cursor, size) < 2) return false;
        out = static_cast<std::uint16_t>(bytes[cursor] | (bytes[cursor + 1] << 8));
        cursor += 2;
        return true;
    }
    // n bytes, or n zero bytes (and no move) when fewer remain.
    void block(std::size_t n, std::uint8_t* out) {
        std::memset(out, 0, n);
        if (size - std::min(cursor, size) < n) return;
        std::memcpy(out, bytes + cursor, n);
        cursor += n;
    }
    bool colourTable(std::size_t entries, PaletteRow& row) {
        if (size - std::min(cursor, size) < entries * 3) return false;
        for (std::size_t i = 0; i < entries; ++i) {
            const std::uint8_t* rgb = bytes + cursor + i * 3;
            row[i] = (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2];
        }
        cursor += entries * 3;
        return true;
    }
    // Past the data sub-blocks and their terminator; never fails. Each step
    // moves on by at least one byte.
    void skipSubBlocks() {
        while (cursor < size) {
            const std::uint8_t length = bytes[cursor];
            if (length == 0) break;
            cursor += std::size_t{length} + 1;
        }
        cursor += 1;
    }

private:
    const std::uint8_t* bytes;
    std::size_t size;
};

bool sameText(const std::uint8_t* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(a[i]) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

class Scan {
public:
    Scan(const std::uint8_t* bytes, std::size_t size, GifStream& stream)
        : bytes(bytes), size(size), in(bytes, size), s(stream) {}

    std::int32_t run() {
        if (!readGifHeader(bytes, size).valid) return 0;
        // The logical screen's size, background and aspect are not used.
        in.cursor = 10;
        std::uint8_t packed = 0;
        if (!in.byte(packed)) return finish();
        in.cursor = 13;
        if (packed & 0x80) {
            localTables = 0;
            s.palettes.resize(1);
            if (!in.colourTable(std::size_t{1} << ((packed & 7) + 1), s.palettes[0])) return finish();
            hasGlobalTable = true;
        }
        for (;;) {
            std::uint8_t b = 0;
            if (!in.byte(b)) return finish();
            if (b == 0x00) continue;
            if (b == 0x21) {
                if (!extension()) return finish();
                continue;
            }
            if (b == 0x2C) {
                const Step step = image();
                if (step == Step::failLoad) return 0;
                if (step == Step::stop) return finish();
                continue;
            }
            return finish();  // the trailer, or a byte that starts no block
        }
    }

private:
    enum class Step { next, stop, failLoad };

    std::int32_t finish() {
        s.chunks.resize(s.frames.size());
        return static_cast<std::int32_t>(s.frames.size());
    }

    bool extension() {
        std::uint8_t label = 0;
        if (!in.byte(label)) return false;
        if (label == 0xFF) return applicationExtension();
        if (label == 0xF9) return graphicControl();
        in.skipSubBlocks();
        return true;
    }

    bool applicationExtension() {
        std::uint8_t n = 0;
        if (!in.byte(n)) return false;
        std::uint8_t identifier[255];
        in.block(n, identifier);
        if (n == 11 && sameText(identifier, "NETSCAPE2.0", 11)) {
            std::uint8_t sub = 0;
            if (!in.byte(sub)) return false;
            if (sub == 3) {
                in.cursor += 1;
                std::uint16_t loops = 0;
                if (!in.word(loops)) return false;
                s.Loops = loops;
            } else {
                in.cursor -= 1;
            }
        }
        in.skipSubBlocks();
        return true;
    }

    // The block is read at its fixed layout, whatever its size byte says.
    bool graphicControl() {
        pending = GifFrame{};
        pending.StreamStart = static_cast<std::int32_t>(in.cursor - 2);
        std::uint8_t ignored = 0, p = 0;
        if (!in.byte(ignored) || !in.byte(p)) return false;
        std::uint8_t disposal = (p >> 2) & 7;
        if (disposal > 3 || (disposal == 3 && s.frames.empty())) disposal = 0;
        pending.Disposal = disposal;
        std::uint16_t delay = 0;
        if (!in.word(delay)) return false;
        pending.Delay = delay * 10;
        pending.HasTransparency = p & 1;
        if (pending.HasTransparency) {
            if (!in.byte(pending.TransparentIndex)) return false;
        } else {
            in.cursor = static_cast<std::size_t>(pending.StreamStart) + 7;
        }
        in.skipSubBlocks();
        return true;
    }

    Step image() {
        GifChunk chunk;
        chunk.Start = static_cast<std::int32_t>(in.cursor - 1);
        if (pending.StreamStart == 0) pending.StreamStart = chunk.Start;
        std::uint16_t left = 0, top = 0, width = 0, height = 0;
        std::uint8_t q = 0;
        if (!in.word(left) || !in.word(top) || !in.word(width) || !in.word(height) || !in.byte(q)) return Step::stop;
        pending.Left = left;
        pending.Top = top;
        pending.Width = width;
        pending.Height = height;
        chunk.Interlaced = (q & 0x40) != 0;
        if (q & 0x80) {
            pending.PaletteIndex = localTables + 1;
            s.palettes.resize(static_cast<std::size_t>(pending.PaletteIndex) + 1);
            if (!in.colourTable(std::size_t{1} << ((q & 7) + 1), s.palettes[pending.PaletteIndex])) return Step::stop;
            localTables = pending.PaletteIndex;
        } else if (!hasGlobalTable) {
            return Step::failLoad;
        }
        if (!in.byte(chunk.CodeSize)) return Step::stop;
        chunk.DataStart = static_cast<std::int32_t>(in.cursor);
        in.skipSubBlocks();
        if (s.frames.size() >= static_cast<std::size_t>(maxFrames)) return Step::stop;
        chunk.Length = static_cast<std::int32_t>(in.cursor) - chunk.Start;
        if (chunk.Length >= 3) {
            s.frames.push_back(pending);
            s.chunks.push_back(chunk);
            s.ActualWidth = std::max(s.ActualWidth, pending.Left + pending.Width);
            s.ActualHeight = std::max(s.ActualHeight, pending.Top + pending.Height);
        }
        pending = GifFrame{};  // an extension applies to the one image after it
        return Step::next;
    }

    const std::uint8_t* bytes;
    std::size_t size;
    ByteReader in;
    GifStream& s;
    GifFrame pending;
    bool hasGlobalTable = false;
    std::int32_t localTables = 0;
};

}  // namespace

GifHeader readGifHeader(const std::uint8_t* bytes, std::size_t size) {
    GifHeader header;
    if (bytes == nullptr || size < 6 || !(sameText(bytes, "gif89a", 6) || sameText(bytes, "gif87a", 6))) return header;
    header.valid = true;
    if (size >= 10) {
        header.ScreenWidth = bytes[6] | (bytes[7] << 8);
        header.ScreenHeight = bytes[8] | (bytes[9] << 8);
    }
    return header;
}

std::int32_t parseGifStream(const std::uint8_t* bytes, std::size_t size, GifStream& stream) {
    stream = GifStream{};
    if (bytes == nullptr) return 0;
    // Positions are held in 32 bits.
    size = std::min<std::size_t>(size, 0x7FFFFFF0u);
    return Scan(bytes, size, stream).run();
}

bool fitsInMemory(const GifStream& stream) {
    const std::int64_t canvas = std::int64_t{stream.ActualWidth} * stream.ActualHeight;
    std::int64_t stripWidth = 0;
    for (const GifFrame& f : stream.frames) stripWidth += f.Width;
    return canvas <= maxCanvasPixels && stripWidth * stream.ActualHeight <= maxStripBytes;
}

}  // namespace fulmina::gif
