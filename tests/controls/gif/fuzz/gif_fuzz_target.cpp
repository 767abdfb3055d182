#include "tests/controls/gif/fuzz/gif_fuzz_target.h"

#include <vector>

#include "controls/gif/gif_decoder.h"
#include "controls/gif/gif_stream.h"
#include "controls/gif/gif_writer.h"

using namespace fulmina::gif;

namespace {
constexpr std::int64_t fuzzPixels = 1 << 20;  // per input, decoded or written
}

void fuzzGifOnce(const std::uint8_t* data, std::size_t size) {
    GifStream stream;
    if (parseGifStream(data, size, stream) == 0 || !fitsInMemory(stream)) return;
    LzwDecoder decoder;
    std::int64_t budget = fuzzPixels;
    for (std::size_t i = 0; i < stream.frames.size(); ++i) {
        const GifFrame& f = stream.frames[i];
        const std::int64_t pixels = std::int64_t{f.Width} * f.Height;
        if (pixels == 0) continue;
        if ((budget -= 2 * pixels) < 0) return;
        std::vector<std::uint8_t> frame(static_cast<std::size_t>(pixels), 0);
        const bool bottomUp = i % 2 == 1;
        const IndexTarget target{frame.data(), frame.size(), bottomUp ? (f.Height - 1) * std::ptrdiff_t{f.Width} : 0,
                                 bottomUp ? -std::ptrdiff_t{f.Width} : f.Width};
        if (decoder.decode(data, size, stream.chunks[i], f, target) == DecodeStatus::badTarget) __builtin_trap();
        const PaletteRow& colours = stream.palettes.at(static_cast<std::size_t>(f.PaletteIndex));
        const IndexSource source{frame.data() + target.origin, target.stride};
        const std::vector<std::uint8_t> file = writeFrameGif(source, f.Width, f.Height, colours, f.HasTransparency,
                                                             f.TransparentIndex);
        GifStream again;
        if (parseGifStream(file.data(), file.size(), again) != 1) __builtin_trap();
        std::vector<std::uint8_t> copy(frame.size(), 0xA5);
        if (decoder.decode(file.data(), file.size(), again.chunks[0], again.frames[0],
                           {copy.data(), copy.size(), 0, f.Width}) != DecodeStatus::complete)
            __builtin_trap();
        for (int y = 0; y < f.Height; ++y)
            for (int x = 0; x < f.Width; ++x)
                if (copy[static_cast<std::size_t>(y) * f.Width + x] != source.topLeft[y * source.stride + x])
                    __builtin_trap();
    }
}
