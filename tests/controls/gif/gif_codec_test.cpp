// The decoder and the writer against giflib as the oracle, on generated files
// of every code size, interlaced or not, with clear codes, a full table and a
// deferred clear; damaged streams; and the writer's bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "controls/gif/gif_decoder.h"
#include "controls/gif/gif_stream.h"
#include "controls/gif/gif_writer.h"
#include "tests/controls/gif/support/gif_builder.h"
#include "tests/controls/gif/support/giflib_oracle.h"

namespace {

using namespace fulmina::gif;
using namespace gifbuild;

Bytes randomPixels(std::size_t n, int colours, unsigned seed, int runs = 1) {
    std::mt19937 random(seed);
    Bytes out;
    while (out.size() < n) {
        const auto v = static_cast<std::uint8_t>(random() % static_cast<unsigned>(colours));
        const auto length = static_cast<std::size_t>(1 + random() % static_cast<unsigned>(runs));
        out.insert(out.end(), std::min(length, n - out.size()), v);
    }
    return out;
}

// Decodes frame i of a file into a tight top-down buffer.
struct Decoded {
    DecodeStatus status;
    Bytes pixels;
};
Decoded decodeFrame(const Bytes& file, std::size_t i = 0, std::uint8_t fill = 0xEE) {
    GifStream s;
    if (parseGifStream(file.data(), file.size(), s) <= static_cast<std::int32_t>(i)) return {DecodeStatus::badTarget, {}};
    const GifFrame& f = s.frames[i];
    Bytes pixels(static_cast<std::size_t>(f.Width) * f.Height, fill);
    LzwDecoder decoder;
    const auto status = decoder.decode(file.data(), file.size(), s.chunks[i], f, {pixels.data(), pixels.size(), 0, f.Width});
    return {status, pixels};
}

TEST(GifDecoder, MatchesGiflibOnEveryCodeSizeInterlacedOrNotWithClearsAndFullTables) {
    struct Case {
        int width, height, runs;
        LzwOptions lzw;
        const char* what;
    } cases[] = {
        {37, 23, 3, {}, "plain"},
        {64, 50, 1, {0, false}, "noise: the table fills and clears"},
        {200, 150, 1, {0, true}, "noise: a full table without a clear"},
        {61, 45, 2, {37, false}, "a clear code every 37 codes"},
        {1, 1, 1, {}, "one pixel"},
        {1, 97, 2, {}, "one column"},
    };
    for (int codeSize = 2; codeSize <= 8; ++codeSize)
        for (bool interlaced : {false, true})
            for (const Case& c : cases) {
                const std::string what = std::string(c.what) + ", code size " + std::to_string(codeSize) +
                                         (interlaced ? ", interlaced" : "");
                Bytes file = header(c.width, c.height, codeSize - 1);
                Image im{0, 0, c.width, c.height, -1, interlaced, codeSize};
                im.pixels = randomPixels(std::size_t(c.width) * c.height, 1 << codeSize, codeSize * 31 + c.width, c.runs);
                im.lzw = c.lzw;
                image(file, im);
                trailer(file);
                const auto expected = oracle::decode(file);
                ASSERT_TRUE(expected) << what << ": giflib refused the file";
                const Decoded ours = decodeFrame(file);
                EXPECT_EQ(ours.status, DecodeStatus::complete) << what;
                EXPECT_EQ(ours.pixels, (*expected)[0].indices) << what;
                if (!interlaced) {
                    EXPECT_EQ(ours.pixels, im.pixels) << what;
                }
            }
}

TEST(GifDecoder, WritesAtAnOffsetWithAStrideTopDownOrBottomUpAndNowhereElse) {
    Bytes file = header(8, 8, 3);
    Image im{3, 2, 5, 4, -1, true, 4};
    im.pixels = randomPixels(20, 16, 7, 2);
    image(file, im);
    const Bytes tight = decodeFrame(file).pixels;
    GifStream s;
    ASSERT_EQ(parseGifStream(file.data(), file.size(), s), 1);
    for (bool bottomUp : {false, true}) {
        // A 12-wide strip of 6 rows; the frame at column 4 of its top row.
        Bytes strip(12 * 6, 0xAA);
        const std::ptrdiff_t stride = bottomUp ? -12 : 12;
        const std::ptrdiff_t origin = bottomUp ? 5 * 12 + 4 : 4;
        LzwDecoder d;
        ASSERT_EQ(d.decode(file.data(), file.size(), s.chunks[0], s.frames[0], {strip.data(), strip.size(), origin, stride}),
                  DecodeStatus::complete);
        int written = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(strip[std::size_t(origin + y * stride + x)], tight[std::size_t(y * 5 + x)]);
        for (std::uint8_t v : strip) written += v != 0xAA;
        EXPECT_LE(written, 20);
        // A target the frame does not fit gets nothing.
        Bytes small(12 * 3, 0xAA);
        EXPECT_EQ(d.decode(file.data(), file.size(), s.chunks[0], s.frames[0], {small.data(), small.size(), origin, stride}),
                  DecodeStatus::badTarget);
        EXPECT_EQ(small, Bytes(12 * 3, 0xAA));
    }
}

TEST(GifDecoder, DamagedStreamsEndTheFrameAndKeepWhatCameBefore) {
    const Bytes pixels = randomPixels(40 * 30, 16, 99, 3);
    auto build = [&](LzwOptions lzw, std::function<void(Bytes&)> damage = nullptr) {
        Bytes data = gifbuild::lzw(pixels, 4, lzw);
        if (damage) damage(data);
        Bytes file = header(40, 30, 3);
        file.push_back(0x2C);
        put16(file, 0), put16(file, 0), put16(file, 40), put16(file, 30);
        file.push_back(0);
        file.push_back(4);
        subBlocks(file, data);
        trailer(file);
        return file;
    };
    auto agreesUpTo = [&](const Bytes& got) {
        std::size_t n = 0;
        while (n < got.size() && got[n] == pixels[n]) ++n;
        for (std::size_t i = n; i < got.size(); ++i)
            if (got[i] != 0xEE) return std::size_t(0);  // past the fault: untouched
        return n;
    };
    // Data after the end code is ignored.
    LzwOptions trailing;
    trailing.trailingCodes = {1, 2, 3, 4, 5};
    Decoded d = decodeFrame(build(trailing));
    EXPECT_EQ(d.status, DecodeStatus::complete);
    EXPECT_EQ(d.pixels, pixels);
    // Cut short: a prefix of the picture.
    d = decodeFrame(build({}, [](Bytes& b) { b.resize(b.size() / 2); }));
    EXPECT_EQ(d.status, DecodeStatus::incomplete);
    const std::size_t kept = agreesUpTo(d.pixels);
    EXPECT_GT(kept, 100u);
    EXPECT_LT(kept, pixels.size());
    // A code beyond the next free one.
    d = decodeFrame(build({}, [](Bytes& b) { b[b.size() / 2] = 0xFF, b[b.size() / 2 + 1] = 0xFF; }));
    EXPECT_EQ(d.status, DecodeStatus::corrupt);
    EXPECT_GT(agreesUpTo(d.pixels), 100u);
    // An end code too early.
    Bytes early = gifbuild::lzw(Bytes(pixels.begin(), pixels.begin() + 500), 4);
    d = decodeFrame(build({}, [&](Bytes& b) { b = early; }));
    EXPECT_EQ(d.status, DecodeStatus::incomplete);
    EXPECT_EQ(agreesUpTo(d.pixels), 500u);
    // Code sizes that cannot be.
    for (std::uint8_t size : {0, 1, 9, 12}) {
        Bytes bad = build({});
        GifStream s;
        parseGifStream(bad.data(), bad.size(), s);
        bad[std::size_t(s.chunks[0].Start) + 10] = size;
        EXPECT_EQ(decodeFrame(bad).status, DecodeStatus::corrupt) << int(size);
    }
}

// One image of LZW data in sub-blocks of the given size.
Bytes imageFile(int width, int height, int codeSize, const Bytes& data, std::size_t blockSize = 255,
                bool interlaced = false) {
    Bytes file = header(width, height, 7);
    file.push_back(0x2C);
    put16(file, 0), put16(file, 0), put16(file, width), put16(file, height);
    file.push_back(interlaced ? 0x40 : 0);
    file.push_back(static_cast<std::uint8_t>(codeSize));
    subBlocks(file, data, blockSize);
    trailer(file);
    return file;
}

TEST(GifDecoder, StringsAcrossSubBlocksRowEndsAndInterlacedPassesMatchGiflibAndStayInTheFrame) {
    struct Case {
        int width, height, runs, colours;
        std::size_t blockSize;
        bool interlaced;
        const char* what;
    } cases[] = {
        {40, 30, 200, 4, 1, false, "long strings over 1-byte sub-blocks"},
        {40, 30, 1, 256, 3, false, "noise over 3-byte sub-blocks"},
        {64, 16, 30, 8, 7, false, "strings across row ends, 7-byte sub-blocks"},
        {33, 20, 60, 16, 9, true, "interlaced passes ending mid-string"},
        {13, 13, 500, 2, 8, true, "one run longer than a pass"},
        {7, 50, 40, 8, 255, false, "rows narrower than a wide store"},
        {8, 9, 30, 8, 254, true, "rows as wide as a wide store"},
        {250, 4, 1000, 3, 255, false, "strings hundreds of bytes long"},
        {1, 200, 5, 2, 2, true, "one column"},
    };
    for (const Case& c : cases) {
        const Bytes pixels = randomPixels(std::size_t(c.width) * c.height, c.colours, unsigned(c.width * c.height), c.runs);
        const int codeSize = std::max(2, c.colours > 16 ? 8 : c.colours > 4 ? 4 : 2);
        const Bytes file = imageFile(c.width, c.height, codeSize, gifbuild::lzw(pixels, codeSize), c.blockSize, c.interlaced);
        const auto expected = oracle::decode(file);
        ASSERT_TRUE(expected) << c.what;
        // The frame at column 8, row 1 of a strip 16 wider and 2 higher.
        GifStream s;
        ASSERT_EQ(parseGifStream(file.data(), file.size(), s), 1) << c.what;
        const std::size_t stride = std::size_t(c.width) + 16;
        Bytes strip(stride * std::size_t(c.height + 2), 0xAA);
        LzwDecoder d;
        EXPECT_EQ(d.decode(file.data(), file.size(), s.chunks[0], s.frames[0],
                           {strip.data(), strip.size(), std::ptrdiff_t(stride + 8), std::ptrdiff_t(stride)}),
                  DecodeStatus::complete)
            << c.what;
        Bytes frame, outside;
        for (std::size_t y = 0; y < std::size_t(c.height + 2); ++y)
            for (std::size_t x = 0; x < stride; ++x) {
                const bool inFrame = y >= 1 && y <= std::size_t(c.height) && x >= 8 && x < std::size_t(c.width) + 8;
                (inFrame ? frame : outside).push_back(strip[y * stride + x]);
            }
        EXPECT_EQ(frame, (*expected)[0].indices) << c.what;
        EXPECT_EQ(outside, Bytes(outside.size(), 0xAA)) << c.what;
    }
}

TEST(GifDecoder, DataEndingAnywhereKeepsEveryPixelBeforeAndTouchesNoneAfter) {
    // Long runs: most codes are strings written with several wide stores.
    const int width = 64, height = 20;
    const Bytes pixels = randomPixels(std::size_t(width) * height, 4, 17, 300);
    LzwOptions noEnd;
    noEnd.endCode = false;
    const Bytes data = gifbuild::lzw(pixels, 2, noEnd);
    std::size_t keptBefore = 0;
    for (std::size_t cut = 1; cut <= data.size(); ++cut) {
        const Bytes file = imageFile(width, height, 2, Bytes(data.begin(), data.begin() + long(cut)), 5);
        const Decoded d = decodeFrame(file);
        std::size_t kept = 0;
        while (kept < pixels.size() && d.pixels[kept] == pixels[kept]) ++kept;
        ASSERT_EQ(Bytes(d.pixels.begin() + long(kept), d.pixels.end()), Bytes(pixels.size() - kept, 0xEE))
            << "cut after " << cut << " bytes";
        EXPECT_GE(kept, keptBefore) << "cut after " << cut << " bytes";
        EXPECT_EQ(d.status, kept == pixels.size() ? DecodeStatus::complete : DecodeStatus::incomplete) << cut;
        keptBefore = kept;
    }
    EXPECT_EQ(keptBefore, pixels.size());
}

Bytes written(const Bytes& pixels, int width, int height, bool transparent = false, std::uint8_t index = 0) {
    PaletteRow colours{};
    for (int i = 0; i < 256; ++i) colours[std::size_t(i)] = std::uint32_t(i) * 0x010203u;
    return writeFrameGif({pixels.data(), width}, width, height, colours, transparent, index);
}

TEST(GifWriter, AOnePixelFrameIsHeaderTableDescriptorAndFourBytesOfCodes) {
    const Bytes file = written({5}, 1, 1);
    ASSERT_EQ(file.size(), 13u + 768 + 11 + 5 + 2);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 13), (Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x87, 0, 0}));
    EXPECT_EQ(Bytes(file.begin() + 13 + 3, file.begin() + 13 + 6), (Bytes{1, 2, 3}));  // colour 1: 0x010203
    EXPECT_EQ(Bytes(file.begin() + 781, file.end()),
              (Bytes{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 8,  // descriptor, code size 8
                     4, 0x00, 0x0B, 0x04, 0x04,          // clear 256, pixel 5, end 257: 27 bits
                     0, 0x3B}));
}

TEST(GifWriter, TransparencyBringsAGraphicControlExtension) {
    const Bytes opaque = written({1, 2, 3, 4}, 2, 2);
    const Bytes clear = written({1, 2, 3, 4}, 2, 2, true, 3);
    ASSERT_EQ(clear.size(), opaque.size() + 8);
    EXPECT_EQ(Bytes(clear.begin() + 781, clear.begin() + 789), (Bytes{0x21, 0xF9, 4, 1, 0, 0, 3, 0}));
    EXPECT_EQ(opaque[781], 0x2C);
}

TEST(GifWriter, RoundTripsThroughGiflibAndOurDecoderAcrossEveryCodeWidth) {
    struct Case {
        int width, height, colours, runs;
    } cases[] = {{1, 1, 2, 1},   {1, 300, 256, 4}, {300, 1, 3, 2},  {16, 16, 256, 1},
                 {97, 33, 7, 5}, {40, 20, 256, 1},  // about 800 codes: past 512
                 {64, 40, 256, 1}, {90, 60, 256, 1},  // past 1024 and 2048
                 {300, 300, 256, 1}, {512, 512, 16, 40}, {800, 600, 256, 2}};
    for (const Case& c : cases) {
        const Bytes pixels = randomPixels(std::size_t(c.width) * c.height, c.colours, unsigned(c.width * 7 + c.height), c.runs);
        const Bytes file = written(pixels, c.width, c.height);
        const auto theirs = oracle::decode(file);
        ASSERT_TRUE(theirs) << c.width << "x" << c.height;
        EXPECT_EQ((*theirs)[0].indices, pixels) << c.width << "x" << c.height << " by giflib";
        const Decoded ours = decodeFrame(file);
        EXPECT_EQ(ours.status, DecodeStatus::complete);
        EXPECT_EQ(ours.pixels, pixels) << c.width << "x" << c.height;
    }
}

// The writer's exact bytes, kept as a golden file: 5000 pixels of noise take
// the codes through every width and past a clear at a full table, so a change
// to the hash, the probing or the clear rule shows here.
TEST(GifWriter, NoiseThroughEveryCodeWidthGivesTheKeptBytes) {
    const Bytes file = written(randomPixels(5000, 256, 5), 100, 50);
    std::ifstream in(FULMINA_GIF_GOLDEN "/noise-100x50.gif", std::ios::binary);
    const Bytes golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (std::getenv("FULMINA_WRITE_GOLDEN") != nullptr)
        std::ofstream(FULMINA_GIF_GOLDEN "/noise-100x50.gif", std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<long>(file.size()));
    EXPECT_EQ(file, golden);
}

TEST(GifWriter, CodesWidenAfterEntries512And1024And2048AndClearAt4096) {
    // Noise of 256 colours: nearly every pixel pair is a new string, so the
    // n-th code makes entry 257 + n. Counting the bits tells the widths.
    const Bytes pixels = randomPixels(5000, 256, 5);
    const Bytes file = written(pixels, 100, 50);
    Bytes data;
    for (std::size_t at = 781 + 11; at < file.size() && file[at] != 0; at += std::size_t(file[at]) + 1)
        data.insert(data.end(), file.begin() + long(at) + 1, file.begin() + long(at) + 1 + file[at]);
    // Read the codes back with the widths the encoder should have used.
    std::size_t bit = 0;
    auto read = [&](int width) {
        int v = 0;
        for (int i = 0; i < width; ++i, ++bit) v |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
        return v;
    };
    EXPECT_EQ(read(9), 256);
    int next = 258, width = 9, clears = 0, codes = 0;
    bool firstAfterClear = true;
    while (bit + width <= data.size() * 8) {
        const int code = read(width);
        ++codes;
        if (code == 257) break;
        if (code == 256) {
            ++clears;
            EXPECT_EQ(width, 12) << "the clear at a full table is 12 bits";
            width = 9, next = 258, firstAfterClear = true;
            continue;
        }
        ASSERT_LE(code, next) << "code " << codes;
        if (firstAfterClear) {
            firstAfterClear = false;
        } else if (next < 4096 && ++next == (1 << width) && width < 12) {
            ++width;
        }
    }
    EXPECT_GE(clears, 1);
    EXPECT_GT(codes, 4000);
}

}  // namespace
