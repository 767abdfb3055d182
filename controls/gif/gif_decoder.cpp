#include "controls/gif/gif_decoder.h"

#include <algorithm>
#include <cstring>

namespace fulmina::gif {

namespace {

void store8(std::uint8_t* p, std::uint64_t v) { std::memcpy(p, &v, 8); }

// The image data's bits, read from its sub-blocks where they lie in the
// file: a machine word at a time inside a sub-block (8 bytes, or 4 on a
// 32-bit processor), a byte at a time near its end or the end of the data.
class BitReader {
    using Word = std::size_t;
    static constexpr int wordBits = 8 * sizeof(Word);

public:
    BitReader(const std::uint8_t* firstSizeByte, const std::uint8_t* end)
        : at(firstSizeByte), blockEnd(firstSizeByte), end(end) {}

    // At least `need` bits (up to 12), unless the data ends first.
    bool have(int need) {
        if (count >= need) return true;
        if (blockEnd - at >= static_cast<std::ptrdiff_t>(sizeof(Word))) {
            Word word;
            std::memcpy(&word, at, sizeof(Word));
            bits |= word << count;
            at += (wordBits - 1 - count) >> 3;  // the whole bytes that fit
            count |= wordBits - 8;
            return true;
        }
        return refillByBytes(need);
    }
    unsigned take(int width, unsigned mask) {
        const unsigned v = static_cast<unsigned>(bits) & mask;
        bits >>= width;
        count -= width;
        return v;
    }

private:
    bool refillByBytes(int need) {
        while (count <= wordBits - 8) {
            if (at == blockEnd && !nextBlock()) break;
            if (at < blockEnd) {
                bits |= Word{*at++} << count;
                count += 8;
            }
        }
        return count >= need;
    }
    // Moves to the next sub-block; false at the terminator or the data's end.
    bool nextBlock() {
        if (blockEnd >= end || *blockEnd == 0) return false;
        at = blockEnd + 1;
        blockEnd = at + std::min<std::ptrdiff_t>(*blockEnd, end - at);
        return true;
    }

    const std::uint8_t* at;        // the next byte of the current sub-block
    const std::uint8_t* blockEnd;  // its end: the next sub-block's size byte
    const std::uint8_t* end;       // the end of the chunk, cut at the end of the file
    Word bits = 0;
    int count = 0;
};

// The row being written and where in it; the rows in order, or in the four
// passes of an interlaced image (every 8th row from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1).
class Rows {
public:
    Rows(std::uint8_t* topLeft, std::ptrdiff_t stride, int width, int height, bool interlaced)
        : row(topLeft), width(width), topLeft(topLeft), stride(stride), height(height), interlaced(interlaced) {}

    // Past the end of the row: false after the last one.
    bool next() {
        x = 0;
        if (!interlaced) {
            if (++y >= height) return false;
        } else {
            static constexpr int start[4] = {0, 4, 2, 1};
            static constexpr int step[4] = {8, 8, 4, 2};
            y += step[pass];
            while (y >= height) {
                if (++pass == 4) return false;
                y = start[pass];
            }
        }
        row = topLeft + y * stride;
        return true;
    }

    std::uint8_t* row;
    int x = 0;
    const int width;

private:
    std::uint8_t* topLeft;
    std::ptrdiff_t stride;
    int height;
    bool interlaced;
    int y = 0, pass = 0;
};

}  // namespace

DecodeStatus LzwDecoder::decode(const std::uint8_t* file, std::size_t fileSize, const GifChunk& chunk,
                                const GifFrame& frame, const IndexTarget& target) {
    // The chunk as the scan found it, cut at the end of the file.
    if (file == nullptr || chunk.Start < 0 || static_cast<std::size_t>(chunk.Start) >= fileSize ||
        file[chunk.Start] != 0x2C || chunk.DataStart <= chunk.Start)
        return DecodeStatus::badTarget;
    const std::size_t end =
        std::min<std::size_t>(fileSize, std::size_t(chunk.Start) + static_cast<std::size_t>(std::max(chunk.Length, 0)));
    if (static_cast<std::size_t>(chunk.DataStart) > end) return DecodeStatus::incomplete;
    const int minCodeSize = chunk.CodeSize;
    if (minCodeSize < 2 || minCodeSize > 8) return DecodeStatus::corrupt;

    // Every row inside the target: the first and the last bound them all.
    const int width = frame.Width, height = frame.Height;
    if (width <= 0 || height <= 0) return DecodeStatus::complete;
    if (target.buffer == nullptr) return DecodeStatus::badTarget;
    const std::int64_t size = static_cast<std::int64_t>(target.size);
    const std::int64_t firstRow = target.origin;
    const std::int64_t lastRow = firstRow + std::int64_t{height - 1} * target.stride;
    const std::int64_t rowGap = target.stride < 0 ? -std::int64_t{target.stride} : std::int64_t{target.stride};
    if (firstRow < 0 || lastRow < 0 || firstRow + width > size || lastRow + width > size ||
        (height > 1 && rowGap < width))
        return DecodeStatus::badTarget;

    BitReader in(file + chunk.DataStart, file + end);
    Rows out(target.buffer + target.origin, target.stride, width, height, chunk.Interlaced != 0);
    const unsigned clear = 1u << minCodeSize;
    for (unsigned i = 0; i < clear; ++i) table[i] = Entry{std::uint64_t{i} << 56, pack(1, 0, i)};
    int codeWidth = minCodeSize + 1;
    unsigned mask = (1u << codeWidth) - 1;
    unsigned next = clear + 2;
    // The 8 bytes of the row that end where the next string goes; those
    // inside the row are right.
    std::uint64_t last8 = 0;
    unsigned previous = 0;
    std::uint64_t ending = 0;
    std::uint32_t meta = 0;  // the string of the code, as its entry holds them

    unsigned code = clear;  // as if the data began with a clear code
    for (;;) {
        if (code - clear <= 1) {
            if (code != clear) return DecodeStatus::incomplete;  // an end code before the last pixel
            codeWidth = minCodeSize + 1;
            mask = (1u << codeWidth) - 1;
            next = clear + 2;
            while (code == clear) {
                if (!in.have(codeWidth)) return DecodeStatus::incomplete;
                code = in.take(codeWidth, mask);
            }
            if (code == clear + 1) return DecodeStatus::incomplete;
            if (code > clear) return DecodeStatus::corrupt;  // the first code after a clear is a pixel
            ending = table[code].ending;
            meta = table[code].meta;
        } else if (code > next) {
            return DecodeStatus::corrupt;
        } else if (next < maxCodes) {
            // The new string: the previous one and the first byte of this one
            // (of the previous one, when this is the string being made).
            const std::uint64_t storedEnding = table[code].ending;
            const std::uint32_t storedMeta = table[code].meta;
            const bool making = code == next;
            const std::uint64_t byte = (making ? meta : storedMeta) >> 24;
            const std::uint64_t madeEnding = (ending >> 8) | byte << 56;
            std::uint32_t madeMeta = meta + 1;
            if ((meta & 7) == 0) madeMeta = (madeMeta & ~0xFFF000u) | previous << 12;
            table[next] = Entry{madeEnding, madeMeta};
            ending = making ? madeEnding : storedEnding;
            meta = making ? madeMeta : storedMeta;
            if (++next == mask + 1 && codeWidth < 12) mask = (1u << ++codeWidth) - 1;
        } else {
            ending = table[code].ending;  // a full table keeps its width until a clear code (a deferred clear)
            meta = table[code].meta;
        }
        previous = code;

        // The string: its heads' last 8 bytes from its start, then its own
        // ending (after the row's bytes before it when it is shorter).
        const int n = static_cast<int>(meta & 0xFFF);
        last8 = ending | (n < 8 ? last8 >> (8 * n) : 0);
        unsigned link = (meta >> 12) & 0xFFF;
        const int room = out.width - out.x;
        if (n <= room && out.x + n >= 8) {
            std::uint8_t* at = out.row + out.x;
            for (int i = (n - 1) >> 3; i-- > 0; link = (table[link].meta >> 12) & 0xFFF)
                store8(at + 8 * i, table[link].ending);
            store8(at + n - 8, last8);
            out.x += n;
            if (n == room && !out.next()) return DecodeStatus::complete;
        } else {
            // Across a row end, or too near a row's start: by way of the
            // scratch buffer, a row at a time.
            std::uint8_t* const start = scratch + 8;
            for (int i = (n - 1) >> 3; i-- > 0; link = (table[link].meta >> 12) & 0xFFF)
                store8(start + 8 * i, table[link].ending);
            store8(start + n - 8, last8);
            const std::uint8_t* from = start;
            for (int left = n; left > 0;) {
                const int part = std::min(left, out.width - out.x);
                std::memcpy(out.row + out.x, from, static_cast<std::size_t>(part));
                from += part;
                left -= part;
                out.x += part;
                if (out.x == out.width && !out.next()) return DecodeStatus::complete;  // the rest is ignored
            }
        }

        if (!in.have(codeWidth)) return DecodeStatus::incomplete;
        code = in.take(codeWidth, mask);
    }
}

}  // namespace fulmina::gif
