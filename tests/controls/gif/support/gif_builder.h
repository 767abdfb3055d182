#pragma once
// Builds GIF files byte by byte for the codec's tests, with an LZW encoder of
// its own (a plain dictionary, not the writer's hashed one) that can also
// make the streams real files contain: extra clear codes, a table left full
// without a clear, data after the end code.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace gifbuild {

using Bytes = std::vector<std::uint8_t>;

struct LzwOptions {
    int clearEvery = 0;         // a clear code after this many codes (0: never but when full)
    bool deferClear = false;    // a full table keeps coding at 12 bits without a clear
    bool endCode = true;        // the end code at the end
    Bytes trailingCodes;        // pixels coded after the end code
};

inline Bytes lzw(const Bytes& pixels, int minCodeSize, const LzwOptions& options = {}) {
    const int clear = 1 << minCodeSize, end = clear + 1;
    Bytes out;
    std::uint32_t acc = 0;
    int bits = 0, width = minCodeSize + 1, next = clear + 2, sinceClear = 0;
    bool afterClear = true;
    auto put = [&](int c) {
        acc |= static_cast<std::uint32_t>(c) << bits;
        bits += width;
        while (bits >= 8) {
            out.push_back(static_cast<std::uint8_t>(acc));
            acc >>= 8;
            bits -= 8;
        }
    };
    // A code, and the entry and width change the decoder makes on reading it.
    auto code = [&](int c) {
        put(c);
        ++sinceClear;
        if (afterClear) {
            afterClear = false;
        } else if (next < 4096) {
            ++next;
            if (next == (1 << width) && width < 12) ++width;
        }
    };
    std::map<std::pair<int, int>, int> table;
    auto clearTable = [&] {
        put(clear);
        table.clear();
        width = minCodeSize + 1;
        next = clear + 2;
        sinceClear = 0;
        afterClear = true;
    };
    clearTable();
    int ent = -1;
    for (std::uint8_t p : pixels) {
        if (ent < 0) {
            ent = p;
            continue;
        }
        auto it = table.find({ent, p});
        if (it != table.end()) {
            ent = it->second;
            continue;
        }
        code(ent);
        // The entry the decoder makes on the code after this one.
        if (next < 4096) table[{ent, p}] = next;
        ent = p;
        const bool full = next >= 4096;
        if ((full && !options.deferClear) || (options.clearEvery && sinceClear >= options.clearEvery)) {
            code(ent);
            clearTable();
            ent = -1;
        }
    }
    if (ent >= 0) code(ent);
    if (options.endCode) put(end);
    for (std::uint8_t p : options.trailingCodes) put(p);
    if (bits > 0) out.push_back(static_cast<std::uint8_t>(acc));
    return out;
}

inline void put16(Bytes& b, int v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

// Data as sub-blocks of up to 255 bytes, and the terminator.
inline void subBlocks(Bytes& b, const Bytes& data, std::size_t blockSize = 255) {
    for (std::size_t i = 0; i < data.size(); i += blockSize) {
        const std::size_t n = std::min(blockSize, data.size() - i);
        b.push_back(static_cast<std::uint8_t>(n));
        b.insert(b.end(), data.begin() + static_cast<long>(i), data.begin() + static_cast<long>(i + n));
    }
    b.push_back(0);
}

// A colour table of 2^(bits+1) entries, entry i = (i, 255 - i, i * 7 mod 256) + tint.
inline void colourTable(Bytes& b, int bits, int tint = 0) {
    for (int i = 0; i < (2 << bits); ++i) {
        b.push_back(static_cast<std::uint8_t>(i + tint));
        b.push_back(static_cast<std::uint8_t>(255 - i));
        b.push_back(static_cast<std::uint8_t>(i * 7 + tint));
    }
}

inline Bytes header(int width, int height, int globalBits = 7, const std::string& signature = "GIF89a") {
    Bytes b(signature.begin(), signature.end());
    put16(b, width);
    put16(b, height);
    b.push_back(static_cast<std::uint8_t>(globalBits >= 0 ? 0x80 | (globalBits & 7) : 0));
    b.push_back(0);
    b.push_back(0);
    if (globalBits >= 0) colourTable(b, globalBits);
    return b;
}

inline void graphicControl(Bytes& b, int disposal, int delay, int transparentIndex = -1) {
    const std::uint8_t packed = static_cast<std::uint8_t>(((disposal & 7) << 2) | (transparentIndex >= 0 ? 1 : 0));
    const Bytes ext = {0x21, 0xF9, 0x04, packed, static_cast<std::uint8_t>(delay & 0xFF),
                       static_cast<std::uint8_t>(delay >> 8),
                       static_cast<std::uint8_t>(transparentIndex >= 0 ? transparentIndex : 0x55), 0};
    b.insert(b.end(), ext.begin(), ext.end());
}

inline void netscape(Bytes& b, int loops, const std::string& identifier = "NETSCAPE2.0") {
    b.push_back(0x21);
    b.push_back(0xFF);
    b.push_back(static_cast<std::uint8_t>(identifier.size()));
    b.insert(b.end(), identifier.begin(), identifier.end());
    b.push_back(3);
    b.push_back(1);
    put16(b, loops);
    b.push_back(0);
}

struct Image {
    int left = 0, top = 0, width = 1, height = 1;
    int localBits = -1;  // no local table
    bool interlaced = false;
    int minCodeSize = 8;
    Bytes pixels;        // in the order they are coded (interlaced: pass order)
    LzwOptions lzw;
};

inline void image(Bytes& b, const Image& im) {
    b.push_back(0x2C);
    put16(b, im.left);
    put16(b, im.top);
    put16(b, im.width);
    put16(b, im.height);
    b.push_back(static_cast<std::uint8_t>((im.localBits >= 0 ? 0x80 | (im.localBits & 7) : 0) |
                                          (im.interlaced ? 0x40 : 0)));
    if (im.localBits >= 0) colourTable(b, im.localBits, 1);
    b.push_back(static_cast<std::uint8_t>(im.minCodeSize));
    Bytes pixels = im.pixels;
    if (pixels.empty()) pixels.assign(static_cast<std::size_t>(im.width) * im.height, 1);
    subBlocks(b, lzw(pixels, im.minCodeSize, im.lzw));
}

inline void trailer(Bytes& b) { b.push_back(0x3B); }

}  // namespace gifbuild
