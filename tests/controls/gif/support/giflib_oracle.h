#pragma once
// giflib as the test oracle: what it decodes from a GIF in memory.
#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace oracle {

struct Image {
    int left, top, width, height;
    std::vector<std::uint8_t> indices;  // rows top-down, interlacing undone
};

// Every image, or nothing when giflib refuses the file.
inline std::optional<std::vector<Image>> decode(const std::vector<std::uint8_t>& file) {
    struct Source {
        const std::vector<std::uint8_t>* bytes;
        std::size_t at;
    } source{&file, 0};
    auto read = [](GifFileType* gif, GifByteType* out, int n) -> int {
        auto* s = static_cast<Source*>(gif->UserData);
        const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), s->bytes->size() - s->at);
        std::memcpy(out, s->bytes->data() + s->at, take);
        s->at += take;
        return static_cast<int>(take);
    };
    int error = 0;
    GifFileType* gif = DGifOpen(&source, read, &error);
    if (gif == nullptr) return std::nullopt;
    std::optional<std::vector<Image>> out;
    if (DGifSlurp(gif) == GIF_OK) {
        out.emplace();
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage& si = gif->SavedImages[i];
            const GifImageDesc& d = si.ImageDesc;
            out->push_back({d.Left, d.Top, d.Width, d.Height,
                            std::vector<std::uint8_t>(si.RasterBits, si.RasterBits + std::size_t(d.Width) * d.Height)});
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}

}  // namespace oracle
