#include "controls/gif/gif_decoder.h"

#include <algorithm>
#include <cstring>

namespace fulmina::gif {

namespace {

// Where the next pixel goes: row by row, or in the four passes of an
// interlaced image (every 8th row from 0, every 8th from 4, every 4th from
// 2, every 2nd from 1).
class RowCursor {
public:
    RowCursor(std::uint8_t* topLeft, std::ptrdiff_t stride, int width, int height, bool interlaced)
        : topLeft(topLeft), stride(stride), width(width), height(height), interlaced(interlaced) {
        row = topLeft;
    }

    bool done() const { return finished; }
    int room() const { return width - x; }
    std::uint8_t* here() const { return row + x; }
    void advance(int n) {
        x += n;
        if (x == width) nextRow();
    }

private:
    void nextRow() {
        x = 0;
        if (!interlaced) {
            if (++y >= height) finished = true;
        } else {
            static constexpr int start[4] = {0, 4, 2, 1};
            static constexpr int step[4] = {8, 8, 4, 2};
            y += step[pass];
            while (y >= height) {
                if (++pass == 4) {
                    finished = true;
                    return;
                }
                y = start[pass];
            }
        }
        row = topLeft + y * stride;
    }

    std::uint8_t* topLeft;
    std::uint8_t* row;
    std::ptrdiff_t stride;
    int width, height;
    bool interlaced;
    int x = 0, y = 0, pass = 0;
    bool finished = false;
};

}  // namespace

DecodeStatus LzwDecoder::decode(const std::uint8_t* file, std::size_t fileSize, const GifChunk& chunk,
                                const GifFrame& frame, const IndexTarget& target) {
    // The chunk, cut at the end of the file; offsets, never pointers past it.
    if (file == nullptr || chunk.Start < 0 || static_cast<std::size_t>(chunk.Start) >= fileSize)
        return DecodeStatus::badTarget;
    const std::size_t begin = static_cast<std::size_t>(chunk.Start);
    const std::size_t end = std::min<std::size_t>(fileSize, begin + static_cast<std::size_t>(std::max(chunk.Length, 0)));
    if (end - begin < 11 || file[begin] != 0x2C) return DecodeStatus::badTarget;
    const std::uint8_t packed = file[begin + 9];
    std::size_t at = begin + 10;
    if (packed & 0x80) at += std::size_t{3} << ((packed & 7) + 1);
    if (at >= end) return DecodeStatus::incomplete;
    const int minCodeSize = file[at++];
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

    data.clear();
    while (at < end && file[at] != 0) {
        const std::size_t n = std::min<std::size_t>(file[at], end - at - 1);
        data.insert(data.end(), file + at + 1, file + at + 1 + n);
        at += std::size_t{file[at]} + 1;
    }

    RowCursor out(target.buffer + target.origin, target.stride, width, height, (packed & 0x40) != 0);
    const int clear = 1 << minCodeSize;
    const int endCode = clear + 1;
    for (int i = 0; i < clear; ++i) {
        suffix[i] = first[i] = static_cast<std::uint8_t>(i);
        length[i] = 1;
        prefix[i] = 0;
    }
    int codeWidth = minCodeSize + 1;
    int next = clear + 2;
    int previous = -1;
    std::uint32_t bits = 0;
    int bitCount = 0;
    std::size_t in = 0;
    const std::size_t dataSize = data.size();

    while (!out.done()) {
        while (bitCount < codeWidth) {
            if (in == dataSize) return DecodeStatus::incomplete;
            bits |= std::uint32_t{data[in++]} << bitCount;
            bitCount += 8;
        }
        const int code = static_cast<int>(bits & ((1u << codeWidth) - 1));
        bits >>= codeWidth;
        bitCount -= codeWidth;

        if (code == clear) {
            codeWidth = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == endCode) return DecodeStatus::incomplete;
        if (previous < 0) {
            if (code > clear) return DecodeStatus::corrupt;  // a first code must be a pixel
        } else if (code > next || (code == next && next >= maxCodes)) {
            return DecodeStatus::corrupt;
        } else if (next < maxCodes) {
            // The new string: the previous one and the first pixel of this
            // one (of the previous one, when this is the string being made).
            prefix[next] = static_cast<std::uint16_t>(previous);
            first[next] = first[previous];
            suffix[next] = code == next ? first[previous] : first[code];
            length[next] = static_cast<std::uint16_t>(length[previous] + 1);
            ++next;
            if (next == (1 << codeWidth) && codeWidth < 12) ++codeWidth;
        }
        // A full table keeps its width until a clear code (a deferred clear).
        previous = code;

        int n = length[code];
        // A string is known last pixel first: written backwards in place
        // when it fits the row, else by way of the stack.
        if (n <= out.room()) {
            std::uint8_t* row = out.here();
            for (int i = n, c = code; i-- > 0; c = prefix[c]) row[i] = suffix[c];
            out.advance(n);
        } else {
            for (int i = n, c = code; i-- > 0; c = prefix[c]) stack[i] = suffix[c];
            const std::uint8_t* from = stack;
            while (n > 0 && !out.done()) {
                const int part = std::min(n, out.room());
                std::memcpy(out.here(), from, static_cast<std::size_t>(part));
                from += part;
                n -= part;
                out.advance(part);
            }
        }
    }
    return DecodeStatus::complete;  // anything after the last pixel is ignored
}

}  // namespace fulmina::gif
