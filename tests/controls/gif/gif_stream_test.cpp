// The scan of GIF files built byte by byte: what it accepts, what each frame
// records, where it stops, and when the whole load fails.
#include <gtest/gtest.h>

#include "controls/gif/gif_stream.h"
#include "tests/controls/gif/support/gif_builder.h"

namespace {

using namespace fulmina::gif;
using namespace gifbuild;

std::int32_t scan(const Bytes& b, GifStream& s) { return parseGifStream(b.data(), b.size(), s); }

Bytes threeFrames() {
    Bytes b = header(10, 10);
    for (int i = 0; i < 3; ++i) {
        graphicControl(b, 1, 10 * (i + 1));
        image(b, {0, 0, 4, 4});
    }
    trailer(b);
    return b;
}

TEST(GifStream, SignaturesInAnyLetterCaseAndNothingElse) {
    for (const char* sig : {"GIF89a", "gif87a", "GiF89A", "gIf87A"}) {
        Bytes b = header(4, 4, 7, sig);
        image(b, {});
        trailer(b);
        GifStream s;
        EXPECT_EQ(scan(b, s), 1) << sig;
    }
    for (const char* sig : {"GIF88a", "GIF89b", "JFIF89"}) {
        Bytes b = header(4, 4, 7, sig);
        image(b, {});
        GifStream s;
        EXPECT_EQ(scan(b, s), 0) << sig;
    }
    GifStream s;
    EXPECT_EQ(scan(Bytes{'G', 'I', 'F', '8', '9'}, s), 0);
    Bytes onlyTrailer = header(4, 4);
    trailer(onlyTrailer);
    EXPECT_EQ(scan(onlyTrailer, s), 0);
}

TEST(GifStream, TheHeaderGivesTheLogicalScreenAndEachChunkItsCodeSizeInterlacingAndData) {
    Bytes b = header(300, 2, 1, "gif87a");
    image(b, {0, 0, 3, 2, -1, false, 2});
    const std::size_t second = b.size();
    image(b, {1, 0, 2, 2, 2, true, 5});
    trailer(b);
    const GifHeader h = readGifHeader(b.data(), b.size());
    EXPECT_TRUE(h.valid);
    EXPECT_EQ((std::vector<int>{h.ScreenWidth, h.ScreenHeight}), (std::vector<int>{300, 2}));
    EXPECT_FALSE(readGifHeader(b.data(), 5).valid);
    EXPECT_FALSE(readGifHeader(Bytes{'G', 'I', 'F', '9', '0', 'a', 1, 0, 1, 0}.data(), 10).valid);
    GifStream s;
    ASSERT_EQ(scan(b, s), 2);
    EXPECT_EQ(s.chunks[1].Start, std::int32_t(second));
    // After the descriptor, the 8-entry local table and the code size byte.
    EXPECT_EQ(s.chunks[1].DataStart, std::int32_t(second + 10 + 24 + 1));
    EXPECT_EQ(b[std::size_t(s.chunks[1].DataStart) - 1], 5);
    EXPECT_EQ((std::vector<int>{s.chunks[0].CodeSize, s.chunks[0].Interlaced, s.chunks[1].CodeSize, s.chunks[1].Interlaced}),
              (std::vector<int>{2, 0, 5, 1}));
}

TEST(GifStream, FramesRecordRectangleDelayTableTransparencyAndDisposal) {
    Bytes b = header(8, 8, 1);
    graphicControl(b, 2, 7, 3);
    image(b, {2, 3, 4, 5, 2});
    graphicControl(b, 3, 0);
    image(b, {0, 0, 2, 2});
    trailer(b);
    GifStream s;
    ASSERT_EQ(scan(b, s), 2);
    const GifFrame& f = s.frames[0];
    EXPECT_EQ((std::vector<int>{f.Left, f.Top, f.Width, f.Height, f.Delay, f.PaletteIndex}),
              (std::vector<int>{2, 3, 4, 5, 70, 1}));
    EXPECT_EQ(f.HasTransparency, 1);
    EXPECT_EQ(f.TransparentIndex, 3);
    EXPECT_EQ(f.Disposal, 2);
    EXPECT_EQ(b[static_cast<std::size_t>(f.StreamStart)], 0x21) << "the frame starts at its extension";
    EXPECT_EQ(b[static_cast<std::size_t>(s.chunks[0].Start)], 0x2C);
    EXPECT_EQ(s.frames[1].PaletteIndex, 0);
    EXPECT_EQ(s.frames[1].Disposal, 3) << "restore-to-previous stays on a later image";
    // Tables: row 0 global (4 colours), row 1 the local table, entries beyond zero.
    ASSERT_EQ(s.palettes.size(), 2u);
    EXPECT_EQ(s.palettes[0][1], 0x01FE07u);
    EXPECT_EQ(s.palettes[1][1], 0x02FE08u);
    EXPECT_EQ(s.palettes[0][4], 0u);
    // A chunk holds descriptor to terminator.
    EXPECT_EQ(b[static_cast<std::size_t>(s.chunks[1].Start + s.chunks[1].Length - 1)], 0x00);
    EXPECT_EQ(b[static_cast<std::size_t>(s.chunks[1].Start + s.chunks[1].Length)], 0x3B);
}

TEST(GifStream, ExtensionRulesForDisposalTransparencyAndLoops) {
    struct Case {
        const char* what;
        int disposal;      // in the first image's extension
        int secondDisposal;
        int expectFirst;
    } cases[] = {
        {"bits 4 to 7 give 0", 5, 6, 0},
        {"restore-to-previous on the first image gives 0", 3, 3, 0},
        {"none", 1, 2, 1},
    };
    for (const Case& c : cases) {
        Bytes b = header(4, 4);
        graphicControl(b, c.disposal, 0);
        image(b, {});
        graphicControl(b, c.secondDisposal, 0);
        image(b, {});
        GifStream s;
        ASSERT_EQ(scan(b, s), 2) << c.what;
        EXPECT_EQ(s.frames[0].Disposal, c.expectFirst) << c.what;
        EXPECT_EQ(s.frames[1].Disposal, c.secondDisposal > 3 ? 0 : c.secondDisposal) << c.what;
    }
    // Without the flag the index byte is skipped; two extensions: the second counts.
    Bytes b = header(4, 4);
    graphicControl(b, 1, 5, 9);
    graphicControl(b, 2, 8);
    image(b, {});
    image(b, {});  // no extension: nothing carried over
    for (auto [loops, identifier, expected] : {std::tuple{0, "NETSCAPE2.0", 0}, {5, "NETSCAPE2.0", 5},
                                              {5, "netscape2.0", 5}, {5, "ANIMEXTS1.0", 0}}) {
        Bytes withLoops = b;
        netscape(withLoops, loops, identifier);
        image(withLoops, {});
        GifStream s;
        ASSERT_EQ(scan(withLoops, s), 3) << identifier;
        EXPECT_EQ(s.Loops, expected) << identifier << " " << loops;
        EXPECT_EQ(s.frames[0].HasTransparency, 0);
        EXPECT_EQ(s.frames[0].TransparentIndex, 0);
        EXPECT_EQ(s.frames[0].Disposal, 2);
        EXPECT_EQ(s.frames[0].Delay, 80);
        EXPECT_EQ(s.frames[1].Delay, 0);
        EXPECT_EQ(s.frames[1].StreamStart, s.chunks[1].Start);
    }
}

TEST(GifStream, TheCanvasIsTheUnionOfTheFramesFromTheOrigin) {
    Bytes b = header(500, 500);  // the logical screen does not count
    image(b, {10, 20, 30, 40});
    image(b, {100, 0, 5, 5});
    GifStream s;
    ASSERT_EQ(scan(b, s), 2);
    EXPECT_EQ(s.ActualWidth, 105);
    EXPECT_EQ(s.ActualHeight, 60);
}

TEST(GifStream, DataEndingEarlyKeepsTheFramesBeforeIt) {
    const Bytes full = threeFrames();
    GifStream s;
    ASSERT_EQ(scan(full, s), 3);
    const std::size_t third = static_cast<std::size_t>(s.chunks[2].Start);
    // Cut inside the third image's data: still three (its sub-blocks run out quietly).
    EXPECT_EQ(scan(Bytes(full.begin(), full.begin() + static_cast<long>(third) + 13), s), 3);
    EXPECT_GT(s.chunks[2].Start + s.chunks[2].Length, static_cast<int>(third) + 13);
    // Cut inside a fourth image's extension: three.
    Bytes four(full.begin(), full.end() - 1);
    graphicControl(four, 1, 1);
    EXPECT_EQ(scan(Bytes(four.begin(), four.end() - 4), s), 3);
    // Cut inside the third image's descriptor: two.
    EXPECT_EQ(scan(Bytes(full.begin(), full.begin() + static_cast<long>(third) + 5), s), 2);
}

TEST(GifStream, BlockBytesBetweenImages) {
    Bytes b = header(4, 4);
    image(b, {});
    b.push_back(0x00);  // skipped
    image(b, {});
    b.push_back(0x99);  // starts no block: the end
    image(b, {});
    GifStream s;
    EXPECT_EQ(scan(b, s), 2);
}

TEST(GifStream, AnImageWithoutAnyColourTableFailsTheWholeLoad) {
    Bytes b = header(4, 4, -1);
    image(b, {0, 0, 4, 4, 1});  // a local table
    image(b, {0, 0, 4, 4, 1});
    GifStream s;
    EXPECT_EQ(scan(b, s), 2);
    EXPECT_EQ(s.frames[1].PaletteIndex, 2);
    image(b, {});  // none at all
    EXPECT_EQ(scan(b, s), 0);
}

TEST(GifStream, NoMoreThanTheMostFrames) {
    Bytes b = header(1, 1, 0);
    Bytes one;
    image(one, {0, 0, 1, 1, -1, false, 2});
    for (int i = 0; i < maxFrames + 3; ++i) b.insert(b.end(), one.begin(), one.end());
    trailer(b);
    GifStream s;
    EXPECT_EQ(scan(b, s), maxFrames);
    EXPECT_EQ(s.chunks.size(), s.frames.size());
}

TEST(GifStream, MemoryLimitsRefuseHugeCanvasesAndStrips) {
    GifStream s;
    s.ActualWidth = 4000;
    s.ActualHeight = 4000;
    s.frames.resize(10, GifFrame{0, 0, 4000, 4000});
    EXPECT_TRUE(fitsInMemory(s));  // 16 Mpx canvas, 160 MB strip
    s.frames.resize(20, GifFrame{0, 0, 4000, 4000});
    EXPECT_FALSE(fitsInMemory(s)) << "a 320 MB strip";
    s.frames.resize(1);
    s.ActualWidth = s.ActualHeight = 65535 * 2;
    EXPECT_FALSE(fitsInMemory(s)) << "a canvas of 17 gigapixels";
}

}  // namespace
