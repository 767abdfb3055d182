// The GIF codec beside giflib, in one run: decoding every frame of a large
// animated GIF (300 frames of 480 x 270, local tables, transparency), writing
// a 1024 x 1024 frame, and the heap the scan and the decoding need.
#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "controls/gif/gif_decoder.h"
#include "controls/gif/gif_stream.h"
#include "controls/gif/gif_writer.h"

// Heap accounting for the codec's own allocations.
namespace {
std::size_t heapNow = 0, heapPeak = 0;
bool counting = false;
}  // namespace
void* operator new(std::size_t n) {
    void* p = std::malloc(n + 16);
    if (p == nullptr) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = n;
    if (counting) heapPeak = std::max(heapPeak, heapNow += n);
    return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
    if (p == nullptr) return;
    void* block = static_cast<char*>(p) - 16;
    if (counting) heapNow -= *static_cast<std::size_t*>(block);
    std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

double millisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <typename F>
double medianMillis(int runs, F work) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        t.push_back(millisSince(start));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

struct Memory {
    Bytes bytes;
    std::size_t at = 0;
};
int writeMemory(GifFileType* gif, const GifByteType* data, int n) {
    auto* m = static_cast<Memory*>(gif->UserData);
    m->bytes.insert(m->bytes.end(), data, data + n);
    return n;
}
int readMemory(GifFileType* gif, GifByteType* out, int n) {
    auto* m = static_cast<Memory*>(gif->UserData);
    const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), m->bytes.size() - m->at);
    std::memcpy(out, m->bytes.data() + m->at, take);
    m->at += take;
    return static_cast<int>(take);
}

ColorMapObject* colourMap(int shift) {
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = {static_cast<GifByteType>(i + shift), static_cast<GifByteType>(255 - i), static_cast<GifByteType>(i / 2)};
    return GifMakeMapObject(256, colours);
}

// Frames of drifting bands with speckle: compressible, not trivially.
Bytes frameIndices(int width, int height, int frame) {
    Bytes px(static_cast<std::size_t>(width) * height);
    std::uint32_t noise = 12345u + static_cast<std::uint32_t>(frame);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int band = ((x + frame * 3) / 6 + (y + frame) / 9) & 0x3F;
            px[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>((noise >> 28) == 0 ? noise >> 20 : band * 4);
        }
    return px;
}

Bytes makeAnimation(int frames, int width, int height) {
    Memory m;
    int error = 0;
    GifFileType* gif = EGifOpen(&m, writeMemory, &error);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 8, 0, nullptr);
    for (int f = 0; f < frames; ++f) {
        const GifByteType control[4] = {0x09, 4, 0, 7};  // disposal 2, transparent index 7, delay 4
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
        ColorMapObject* map = colourMap(f);
        EGifPutImageDesc(gif, 0, 0, width, height, false, map);
        const Bytes px = frameIndices(width, height, f);
        for (int y = 0; y < height; ++y)
            EGifPutLine(gif, const_cast<GifByteType*>(px.data() + static_cast<std::size_t>(y) * width), width);
        GifFreeMapObject(map);
    }
    EGifCloseFile(gif, &error);
    return m.bytes;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace fulmina::gif;
    const int frames = 300, width = 480, height = 270;
    const Bytes file = makeAnimation(frames, width, height);
    // For the Windows benchmark of the control: the same file on disk.
    if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
        FILE* out = std::fopen(argv[2], "wb");
        const bool ok = out != nullptr && std::fwrite(file.data(), 1, file.size(), out) == file.size();
        if (out != nullptr) std::fclose(out);
        return ok ? 0 : 1;
    }
    const std::size_t indices = std::size_t{frames} * width * height;
    std::printf("animated GIF: %d frames of %d x %d, %.1f MB; decoded indices %.1f MB\n", frames, width, height,
                file.size() / 1e6, indices / 1e6);

    // Ours: the scan, then every frame into one strip (frames side by side).
    Bytes strip(indices);
    auto ours = [&] {
        GifStream s;
        parseGifStream(file.data(), file.size(), s);
        LzwDecoder decoder;
        for (std::size_t i = 0; i < s.frames.size(); ++i)
            decoder.decode(file.data(), file.size(), s.chunks[i], s.frames[i],
                           {strip.data(), strip.size(), static_cast<std::ptrdiff_t>(i) * width,
                            std::ptrdiff_t{frames} * width});
    };
    auto theirs = [&] {
        Memory m{file, 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&m, readMemory, &error);
        DGifSlurp(gif);
        DGifCloseFile(gif, &error);
    };
    ours();  // warm
    const double oursMs = medianMillis(7, ours), theirsMs = medianMillis(7, theirs);
    std::printf("decode all frames: ours %.1f ms, giflib DGifSlurp %.1f ms (%.2fx; target: at least as fast)\n", oursMs,
                theirsMs, theirsMs / oursMs);

    counting = true;
    ours();
    counting = false;
    std::printf("heap of the scan and the decoding at their peak: %.3f MB beside %.1f MB of decoded indices\n",
                heapPeak / 1e6, indices / 1e6);

    // The writer on a 1024 x 1024 frame against giflib's encoder.
    const int side = 1024;
    const Bytes big = frameIndices(side, side, 5);
    PaletteRow colours{};
    Bytes oursFile;
    const double writeOurs = medianMillis(7, [&] {
        oursFile = writeFrameGif({big.data(), side}, side, side, colours, false, 0);
    });
    std::size_t theirSize = 0;
    const double writeTheirs = medianMillis(7, [&] {
        Memory m;
        int error = 0;
        GifFileType* gif = EGifOpen(&m, writeMemory, &error);
        ColorMapObject* map = colourMap(0);
        EGifPutScreenDesc(gif, side, side, 8, 0, map);
        EGifPutImageDesc(gif, 0, 0, side, side, false, nullptr);
        for (int y = 0; y < side; ++y)
            EGifPutLine(gif, const_cast<GifByteType*>(big.data() + static_cast<std::size_t>(y) * side), side);
        EGifCloseFile(gif, &error);
        GifFreeMapObject(map);
        theirSize = m.bytes.size();
    });
    std::printf("write a 1024 x 1024 frame: ours %.1f ms, %zu bytes; giflib EGifPutLine %.1f ms, %zu bytes "
                "(%.2fx as fast, %+.1f%% in size; target: at least as fast, no more than 5%% larger)\n",
                writeOurs, oursFile.size(), writeTheirs, theirSize, writeTheirs / writeOurs,
                100.0 * (double(oursFile.size()) - double(theirSize)) / double(theirSize));
    return 0;
}
