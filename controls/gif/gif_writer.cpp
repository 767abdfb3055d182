#include "controls/gif/gif_writer.h"

#include <cstring>

namespace fulmina::gif {

namespace {

constexpr int hashSize = 5003;
constexpr int hashShift = 4;  // doublings that take 5003 to 65536 or more: 8 - 4
constexpr int clearCode = 256;
constexpr int endCode = 257;
constexpr int maxBits = 12;

// The LZW code stream into 254-byte sub-blocks of the output.
class LzwEncoder {
public:
    explicit LzwEncoder(std::vector<std::uint8_t>& out) : out(out) {}

    void encode(const IndexSource& pixels, int width, int height) {
        clearTable();
        codeWidth = 9;
        maxCode = (1 << codeWidth) - 1;
        nextCode = 258;
        emit(clearCode);
        int ent = pixels.topLeft[0];
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* row = pixels.topLeft + y * pixels.stride;
            for (int x = y == 0 ? 1 : 0; x < width; ++x) ent = add(ent, row[x]);
        }
        emit(ent);
        emit(endCode);
        flush();
    }

private:
    void clearTable() { std::memset(hash, 0xFF, sizeof(hash)); }

    // The string ent followed by pixel c: its code when the table has it;
    // otherwise ent goes out, the string goes into the table, and c starts
    // the next one.
    int add(int ent, int c) {
        const std::int32_t fcode = (c << maxBits) + ent;
        int i = (c << hashShift) ^ ent;
        if (hash[i] == fcode) return code[i];
        if (hash[i] >= 0) {
            const int displacement = i == 0 ? 1 : hashSize - i;
            do {
                i -= displacement;
                if (i < 0) i += hashSize;
                if (hash[i] == fcode) return code[i];
            } while (hash[i] > 0);
        }
        emit(ent);
        code[i] = nextCode;
        hash[i] = fcode;
        if (nextCode > maxCode) {
            if (nextCode == 1 << maxBits) {
                emit(clearCode);
                clearTable();
                nextCode = 257;
                codeWidth = 9;
            } else {
                ++codeWidth;
            }
            maxCode = (1 << codeWidth) - 1;
        }
        ++nextCode;
        return c;
    }

    void emit(int value) {
        accumulator |= static_cast<std::uint32_t>(value) << bitCount;
        bitCount += codeWidth;
        while (bitCount >= 8) {
            packet[packetLength++] = static_cast<std::uint8_t>(accumulator & 0xFF);
            accumulator >>= 8;
            bitCount -= 8;
            if (packetLength == 254) writePacket();
        }
    }

    void flush() {
        if (bitCount > 0) {
            packet[packetLength++] = static_cast<std::uint8_t>(accumulator & 0xFF);
            accumulator = 0;
            bitCount = 0;
        }
        if (packetLength > 0) writePacket();
    }

    void writePacket() {
        out.push_back(static_cast<std::uint8_t>(packetLength));
        out.insert(out.end(), packet, packet + packetLength);
        packetLength = 0;
    }

    std::vector<std::uint8_t>& out;
    std::int32_t hash[hashSize];
    std::int32_t code[hashSize];
    std::uint8_t packet[254];
    int packetLength = 0;
    std::uint32_t accumulator = 0;
    int bitCount = 0;
    int codeWidth = 9;
    int maxCode = 511;
    int nextCode = 258;
};

void put16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

}  // namespace

std::vector<std::uint8_t> writeFrameGif(const IndexSource& pixels, int width, int height, const PaletteRow& colours,
                                        bool hasTransparency, std::uint8_t transparentIndex) {
    std::vector<std::uint8_t> out;
    if (pixels.topLeft == nullptr || width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return out;
    out.reserve(static_cast<std::size_t>(width) * height + 800);
    const char signature[] = "GIF89a";
    out.insert(out.end(), signature, signature + 6);
    put16(out, width);
    put16(out, height);
    out.push_back(0x87);  // a global table of 256 colours
    out.push_back(0);     // background
    out.push_back(0);     // aspect
    for (std::uint32_t colour : colours) {
        out.push_back(static_cast<std::uint8_t>(colour >> 16));
        out.push_back(static_cast<std::uint8_t>(colour >> 8));
        out.push_back(static_cast<std::uint8_t>(colour));
    }
    if (hasTransparency) {
        const std::uint8_t control[] = {0x21, 0xF9, 0x04, 0x01, 0, 0, transparentIndex, 0};
        out.insert(out.end(), control, control + sizeof(control));
    }
    out.push_back(0x2C);
    put16(out, 0);
    put16(out, 0);
    put16(out, width);
    put16(out, height);
    out.push_back(0);  // no local table, not interlaced
    out.push_back(8);  // LZW minimum code size
    LzwEncoder(out).encode(pixels, width, height);
    out.push_back(0);     // block terminator
    out.push_back(0x3B);  // trailer
    return out;
}

}  // namespace fulmina::gif
